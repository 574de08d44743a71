// SPDX-License-Identifier: MIT
// The real game driven with X input: a left-button drag turns and raises the view, holding `a`
// hides the player behind the cover and releasing it walks back, and `h` prints the help screen
// and pauses with the controls in the window;
// a settings file rebinds the hiding key and its bad lines are reported while the game plays.
#include "tests/support/e2e_harness.h"

#include "player/help.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

constexpr int kLeftButton = 1;
// the HUD bars and texts stay put on screen while the scene moves; compare below them
constexpr double kHudFraction = 0.25;

struct Shift {
    int dx = 0, dy = 0;   // how far the scene moved on screen: right and down are positive
    double residual = 0;  // mean grey difference left after the shift
};

double grey(const Screenshot& s, int x, int y)
{
    const uint8_t* p = s.at(x, y);
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
}

// the mean difference between before(x, y) and after(x + dx, y + dy) below the HUD
double differenceAt(const Screenshot& before, const Screenshot& after, int dx, int dy)
{
    const int top = int(before.height * kHudFraction);
    double sum = 0;
    long count = 0;
    for (int y = top; y < before.height; y += 3) {
        const int ay = y + dy;
        if (ay < top || ay >= after.height)
            continue;
        for (int x = 0; x < before.width; x += 3) {
            const int ax = x + dx;
            if (ax < 0 || ax >= after.width)
                continue;
            sum += std::abs(grey(before, x, y) - grey(after, ax, ay));
            ++count;
        }
    }
    // a shift that leaves too little overlap proves nothing
    if (count < long(before.width) * before.height / 40)
        return std::numeric_limits<double>::max();
    return sum / double(count);
}

// the screen shift that best lines the two pictures up: first along x, then along y
Shift sceneShift(const Screenshot& before, const Screenshot& after, int range)
{
    Shift best;
    best.residual = std::numeric_limits<double>::max();
    for (int dx = -range; dx <= range; dx += 2) {
        const double d = differenceAt(before, after, dx, 0);
        if (d < best.residual)
            best = Shift{dx, 0, d};
    }
    for (int dy = -range; dy <= range; dy += 2) {
        const double d = differenceAt(before, after, best.dx, dy);
        if (d < best.residual)
            best = Shift{best.dx, dy, d};
    }
    return best;
}

bool isGreen(const uint8_t* p) { return p[1] > p[0] && p[1] > p[2]; }
// the lit walls and windows of the house
bool isWarm(const uint8_t* p) { return p[0] > 120 && p[0] > p[2] + 30; }

// the share of the window's central square whose pixels pass the test
double centreShare(const Screenshot& s, bool (*test)(const uint8_t*))
{
    long hits = 0, count = 0;
    for (int y = s.height / 4; y < s.height * 3 / 4; y += 3)
        for (int x = s.width / 4; x < s.width * 3 / 4; x += 3, ++count)
            hits += test(s.at(x, y)) ? 1 : 0;
    return count ? double(hits) / double(count) : 0.0;
}

class LookAndHide : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(game.display().empty()) << "the virtual X server did not start";
        game.setGameEnv("LC_ALL", "C.UTF-8");
        ASSERT_TRUE(game.start()) << "cannot start the game named by VX_GAME";
        ASSERT_TRUE(game.waitForWindow()) << "no window; the game said:\n" << game.stderrText();
        ASSERT_TRUE(game.waitForScreenshot(
            [](const Screenshot& s) { return s.litPixels() > 1000; }, 120.0))
            << "nothing drawn";
        game.movePointer(300, 300);
    }
    void TearDown() override { game.stopGame(); }

    // a picture of the scene once the game has run half a second since the last input, and so
    // drawn frames after it
    Screenshot settledShot() { return game.screenshotAfterSteps(30); }

    // a left-button drag from the window's centre by (dx, dy) pixels
    void drag(int dx, int dy)
    {
        game.movePointer(300, 300);
        game.mouseDown(kLeftButton);
        for (int step = 1; step <= 4; ++step)
            game.movePointer(300 + dx * step / 4, 300 + dy * step / 4);
        game.mouseUp(kLeftButton);
    }

    E2eGame game;
};

TEST_F(LookAndHide, DragRightTurnsTheViewRightAndDragUpRaisesIt)
{
    const Screenshot start = settledShot();
    ASSERT_FALSE(start.empty());

    // 30 px on a 600 px window turns the view by 0.1 rad: about 50 px of picture
    drag(30, 0);
    const Screenshot turned = settledShot();
    const Shift s = sceneShift(start, turned, 120);
    EXPECT_LT(s.dx, -20) << "turning right moves the scene left; " << start.save("drag-start")
                         << " " << turned.save("drag-turned");
    EXPECT_LE(std::abs(s.dy), 6);

    drag(0, -30);
    const Screenshot raised = settledShot();
    const Shift r = sceneShift(turned, raised, 120);
    EXPECT_GT(r.dy, 20) << "looking up moves the scene down; " << raised.save("drag-raised");
    EXPECT_LE(std::abs(r.dx), 6);
}

TEST_F(LookAndHide, HoldingAHidesBehindTheCoverAndReleasingComesBack)
{
    const Screenshot start = settledShot();
    ASSERT_FALSE(start.empty());
    EXPECT_GT(centreShare(start, isWarm), 0.1) << "the lit house faces the station";

    // the player steps aside every step the key is held, whatever the keyboard's repeat; the
    // lean reaches its limit in 23 steps
    game.keyDown("a");
    Screenshot aside;
    // aside on the left at level 1 the player crouches behind the bush, which fills the view
    const bool hidden = game.waitForScreenshotInSteps(
        [](const Screenshot& s) { return centreShare(s, isGreen) > 0.8; }, 300, &aside);
    game.keyUp("a");
    EXPECT_TRUE(hidden) << start.save("hide-start") << " " << aside.save("hide-aside");
    EXPECT_LT(centreShare(aside, isWarm), 0.02);

    // after the release the player walks back onto the station: the same view as at the start
    Screenshot back;
    EXPECT_TRUE(game.waitForScreenshotInSteps(
        [&](const Screenshot& s) {
            const Shift b = sceneShift(start, s, 40);
            return b.dx == 0 && b.dy == 0 && centreShare(s, isWarm) > 0.1;
        },
        300, &back))
        << back.save("hide-back");
}

// the time bar: the band under "Time Left:" where the 600-pixel window draws it (rows 42 to 52;
// the rows above hold only texts, which stand still until the level ends)
bool sameTopBand(const Screenshot& a, const Screenshot& b)
{
    if (a.width != b.width || a.height != b.height)
        return false;
    for (int y = 42; y <= 52 && y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int c = 0; c < 3; ++c)
                if (a.at(x, y)[c] != b.at(x, y)[c])
                    return false;
    return true;
}

// the help's key names, pale yellow, in the left column of the controls' panel
long keyNamePixels(const Screenshot& s)
{
    long count = 0;
    for (int y = s.height / 4; y < s.height * 3 / 4; ++y)
        for (int x = s.width / 10; x < s.width * 2 / 5; ++x) {
            const uint8_t* p = s.at(x, y);
            count += (p[0] > 200 && p[1] > 200 && p[2] > 90 && p[2] < 190) ? 1 : 0;
        }
    return count;
}

TEST_F(LookAndHide, HelpKeyPrintsTheHelpScreenAndPausesWithTheControlsInTheWindow)
{
    const Screenshot playing = settledShot();
    EXPECT_LT(keyNamePixels(playing), 20);
    const size_t before = game.stdoutText().size();
    game.tapKey("h");
    ASSERT_TRUE(game.waitForStdout("M \xE2\x80\x93 Toggle between Wireframe/Filled mode", 600.0))
        << game.stdoutText();
    // the console's help is the one it always was, byte for byte (the terminal adds its CR)
    std::string out = game.stdoutText().substr(before);
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    char* expected = nullptr;
    size_t size = 0;
    std::FILE* memory = open_memstream(&expected, &size);
    writeHelp(memory, HelpEncoding::Utf8);
    std::fclose(memory);
    EXPECT_EQ(out, std::string(expected, size));
    std::free(expected);

    Screenshot help;
    ASSERT_TRUE(game.waitForScreenshotInSteps(
        [](const Screenshot& s) { return keyNamePixels(s) > 200; }, 120, &help))
        << help.save("help-in-window");
    // paused: the time bar stands still for three seconds of the game's steps
    const Screenshot later = game.screenshotAfterSteps(180);
    EXPECT_TRUE(sameTopBand(help, later)) << later.save("help-later");
    EXPECT_GT(keyNamePixels(later), 200);

    // h again: the panel goes and the clock runs on
    game.tapKey("h");
    Screenshot resumed;
    EXPECT_TRUE(game.waitForScreenshotInSteps(
        [&](const Screenshot& s) { return keyNamePixels(s) < 20 && !sameTopBand(later, s); },
        180, &resumed))
        << resumed.save("help-resumed");
    EXPECT_TRUE(game.running());
}

// the settings file of this game alone, in a config folder inside its run directory
class Rebound : public LookAndHide {
protected:
    void SetUp() override
    {
        const std::string config = game.runDir() + "/config";
        ::mkdir(config.c_str(), 0700);
        ::mkdir((config + "/vendettix").c_str(), 0700);
        std::ofstream(config + "/vendettix/settings.ini")
            << "# bound by hand\n[keys]\nhide_left = j\nhide_up = k\n[sound]\nvolume = loud\n";
        game.setGameEnv("XDG_CONFIG_HOME", config);
        LookAndHide::SetUp();
    }
};

TEST_F(Rebound, HoldingTheBoundKeyHidesTheOldKeyDoesNotAndBadLinesAreReported)
{
    const Screenshot start = settledShot();
    ASSERT_FALSE(start.empty());
    EXPECT_GT(centreShare(start, isWarm), 0.1);
    const std::string said = game.stderrText();
    EXPECT_NE(said.find("settings.ini:4: unknown setting \"hide_up\" in [keys]"),
              std::string::npos) << said;
    EXPECT_NE(said.find("settings.ini:6: bad value \"loud\" for volume"), std::string::npos)
        << said;

    // a is no longer the hiding key: held as long as a lean takes, the view stays on the house
    game.keyDown("a");
    const Screenshot stayed = game.screenshotAfterSteps(90);
    game.keyUp("a");
    EXPECT_EQ(sceneShift(start, stayed, 40).dx, 0) << stayed.save("rebound-a");
    EXPECT_GT(centreShare(stayed, isWarm), 0.1) << stayed.save("rebound-a");

    game.keyDown("j");
    Screenshot aside;
    const bool hidden = game.waitForScreenshotInSteps(
        [](const Screenshot& s) { return centreShare(s, isGreen) > 0.8; }, 300, &aside);
    game.keyUp("j");
    EXPECT_TRUE(hidden) << aside.save("rebound-j");
    EXPECT_TRUE(game.running());
}

}  // namespace
