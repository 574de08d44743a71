// SPDX-License-Identifier: MIT
// tests: random but valid input logs (see game_log_generator.h).
#include "tests/support/game_log_generator.h"

#include <algorithm>
#include <vector>

#include "game/input_log.h"

namespace {

// splitmix64: a fixed sequence for a seed, the same on every machine
class Sequence {
public:
    explicit Sequence(uint64_t seed) : state_(seed) {}
    uint64_t next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // lo..hi, both included
    int64_t range(int64_t lo, int64_t hi) { return lo + int64_t(next() % uint64_t(hi - lo + 1)); }
    bool chance(int percent) { return range(0, 99) < percent; }

private:
    uint64_t state_;
};

class LogBuilder {
public:
    void add(int64_t step, InputKind kind, int32_t code = 0, int32_t state = 0, int32_t x = 0,
             int32_t y = 0)
    {
        step = std::max(step, last_);
        last_ = step;
        text_ += inputLogLine(QueuedInput{step, InputEvent{kind, code, state, x, y}});
    }
    int64_t last() const { return last_; }
    std::string finish(int64_t end)
    {
        return text_ + endLogLine(std::max(end, last_));
    }

private:
    std::string text_ = std::string(kInputLogHeader) + "\n";
    int64_t last_ = 0;
};

constexpr int32_t kWidth = 600, kHeight = 600;

struct Player {
    Sequence& rng;
    LogBuilder& log;
    int64_t at;        // the step the next action starts at
    int levelsAdvanced = 0;

    int32_t x() { return int32_t(rng.range(0, kWidth - 1)); }
    int32_t y() { return int32_t(rng.range(0, kHeight - 1)); }

    void throwOne()
    {
        const int32_t px = x(), py = y();
        log.add(at, InputKind::Button, kButtonRight, kButtonDown, px, py);
        at += rng.range(2, 45);  // the power bar swings meanwhile
        log.add(at, InputKind::Button, kButtonRight, 1, px, py);
        at += rng.range(5, 60);
    }
    void look()
    {
        int32_t px = x(), py = y();
        log.add(at, InputKind::Button, kButtonLeft, kButtonDown, px, py);
        for (int64_t n = rng.range(1, 8); n > 0; --n) {
            at += rng.range(1, 6);
            px = int32_t(std::clamp<int64_t>(px + rng.range(-60, 60), 0, kWidth - 1));
            py = int32_t(std::clamp<int64_t>(py + rng.range(-40, 40), 0, kHeight - 1));
            log.add(at, InputKind::Drag, 0, 0, px, py);
        }
        at += rng.range(1, 5);
        log.add(at, InputKind::Button, kButtonLeft, 1, px, py);
        at += rng.range(1, 30);
    }
    void changeWeapon()
    {
        if (rng.chance(70))
            log.add(at, InputKind::SpecialKey, kKeyF1);
        else {
            log.add(at, InputKind::PadDown, kPadY);  // the pad's weapon button
            log.add(at + rng.range(1, 20), InputKind::PadUp, kPadY);
        }
        at += rng.range(1, 40);
    }
    void hide()
    {
        const int32_t key = rng.chance(50) ? 'a' : 'd';
        log.add(at, InputKind::KeyDown, key);
        at += rng.range(5, 150);
        if (rng.chance(30))
            throwOne();  // a throw from hiding does nothing
        log.add(at, InputKind::KeyUp, key);
        at += rng.range(1, 60);
    }
    void pause()
    {
        switch (rng.range(0, 3)) {
        case 0:
            log.add(at, InputKind::KeyDown, 'p');
            at += rng.range(1, 200);
            log.add(at, InputKind::KeyDown, 'p');
            break;
        case 1:
            log.add(at, InputKind::Menu, 1);
            at += rng.range(1, 200);
            log.add(at, InputKind::Menu, 1);
            break;
        case 2:  // the window hidden or covered, then shown again
            log.add(at, InputKind::WindowStatus, int32_t(rng.chance(50) ? kWindowHidden
                                                                        : kWindowFullyCovered));
            at += rng.range(1, 200);
            log.add(at, InputKind::WindowStatus, 1);
            at += rng.range(0, 20);
            log.add(at, InputKind::KeyDown, 'p');  // resumes if the window paused the game
            break;
        default:  // the help, then away
            log.add(at, InputKind::KeyDown, 'h');
            at += rng.range(1, 120);
            log.add(at, InputKind::KeyDown, 'h');
            break;
        }
        at += rng.range(1, 40);
    }
    // the turn to the next station; after the fourth, GAME OVER and a new game
    void advance()
    {
        log.add(at, InputKind::KeyDown, 'c');
        at += rng.range(60, 400);
        if (++levelsAdvanced >= 4) {
            playAgain();
            levelsAdvanced = 0;
        }
    }
    void playAgain()
    {
        switch (rng.range(0, 3)) {
        case 0: log.add(at, InputKind::KeyDown, kKeyEnter); break;
        case 1: log.add(at, InputKind::KeyDown, 'n'); break;
        case 2: log.add(at, InputKind::Menu, 7); break;
        default: log.add(at, InputKind::PadDown, kPadA); log.add(at + 3, InputKind::PadUp, kPadA); break;
        }
        at += rng.range(1, 90);
    }
    void pad()
    {
        switch (rng.range(0, 5)) {
        case 0: {  // the stick's Look
            const int32_t axis = int32_t(rng.range(0, 3));
            log.add(at, InputKind::PadAxis, axis, 0, int32_t(rng.range(kPadAxisMin, kPadAxisMax)));
            at += rng.range(1, 60);
            log.add(at, InputKind::PadAxis, axis, 0, 0);
            break;
        }
        case 1:  // the trigger's throw
            log.add(at, InputKind::PadAxis, kPadRightTrigger, 0, int32_t(rng.range(20000, kPadAxisMax)));
            at += rng.range(2, 45);
            log.add(at, InputKind::PadAxis, kPadRightTrigger, 0, 0);
            break;
        case 2: {  // a button: leans, the weapon, pause, the d-pad
            const int32_t button = int32_t(rng.range(0, kPadButtonCount - 1));
            log.add(at, InputKind::PadDown, button);
            at += rng.range(1, 90);
            log.add(at, InputKind::PadUp, button);
            break;
        }
        case 3:
            log.add(at, InputKind::PadDeadzone, int32_t(rng.range(0, 900)));
            break;
        case 4:  // pulled out: the game pauses; p resumes
            log.add(at, InputKind::PadGone);
            at += rng.range(1, 60);
            log.add(at, InputKind::KeyDown, 'p');
            break;
        default:
            log.add(at, InputKind::PadDown, kPadRightShoulder);
            at += rng.range(1, 10);
            log.add(at, InputKind::PadUp, kPadRightShoulder);
            break;
        }
        at += rng.range(1, 40);
    }
    // the rest of what a player does: the view toggles, the window's size, the assists
    void other()
    {
        switch (rng.range(0, 5)) {
        case 0: log.add(at, InputKind::KeyDown, int32_t("emf"[rng.range(0, 2)])); break;
        case 1:
            log.add(at, InputKind::Reshape, 0, 0, int32_t(rng.range(160, 1920)),
                    int32_t(rng.range(120, 1080)));
            break;
        case 2: log.add(at, InputKind::Menu, int32_t(rng.range(3, 6))); break;
        case 3: log.add(at, InputKind::SpecialKey, kKeyHome); break;
        case 4: log.add(at, InputKind::KeyDown, 'l'); break;
        default: {  // any other key, q aside (it ends the game)
            int32_t key = int32_t(rng.range(32, 126));
            log.add(at, InputKind::KeyDown, key == 'q' || key == 'Q' ? 'z' : key);
            break;
        }
        }
        at += rng.range(1, 40);
    }
};

}  // namespace

const char* gameLogKindName(GameLogKind kind)
{
    static const char* const names[kGameLogKindCount] = {
        "mixed", "throws", "looks", "weapons", "hiding", "pauses", "play-again", "pad"};
    return int(kind) < kGameLogKindCount ? names[int(kind)] : "?";
}

std::string generateGameLog(uint64_t seed, GameLogKind kind, int64_t steps)
{
    steps = std::max<int64_t>(steps, 600);
    Sequence rng(seed * 0x100000001B3ull + uint64_t(kind) + 1);
    LogBuilder log;
    log.add(0, InputKind::Reshape, 0, 0, kWidth, kHeight);
    log.add(0, InputKind::WindowStatus, 1);
    if (rng.chance(30))
        log.add(0, InputKind::Look, int32_t(rng.range(250, 4000)), int32_t(rng.range(0, 1)));
    Player player{rng, log, rng.range(10, 60)};
    // the kind's own input weighs 6 against the others' 1 (throws 3, so strips keep coming)
    const int kinds = kGameLogKindCount - 1;
    while (player.at < steps) {
        int64_t pick = rng.range(0, 99);
        GameLogKind act;
        if (kind != GameLogKind::Mixed && pick < 55)
            act = kind;
        else if (pick < 75)
            act = GameLogKind::Throws;
        else
            act = GameLogKind(1 + rng.range(0, kinds - 1));
        switch (act) {
        case GameLogKind::Throws: player.throwOne(); break;
        case GameLogKind::Looks: player.look(); break;
        case GameLogKind::Weapons: player.changeWeapon(); break;
        case GameLogKind::Hiding: player.hide(); break;
        case GameLogKind::Pauses: player.pause(); break;
        case GameLogKind::PlayAgain:
            // the turns to GAME OVER, then a new game
            player.advance();
            break;
        case GameLogKind::Pad: player.pad(); break;
        default: player.other(); break;
        }
        if (rng.chance(4))
            player.other();
    }
    // most games end on q, as a player ends one; the others where the recording stopped
    if (rng.chance(60)) {
        log.add(player.at, InputKind::KeyDown, 'q');
        return log.finish(log.last());
    }
    return log.finish(player.at + rng.range(0, 120));
}
