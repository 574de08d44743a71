// SPDX-License-Identifier: MIT
// tests: playing the real game as a player would.
#include "tests/support/e2e_play.h"

#include <cstdlib>
#include <chrono>
#include <thread>

const Area kTimeLeftText{15, 2, 130, 30};
const Area kRollsLeftText{15, 62, 198, 92};
const Area kEggsLeftText{448, 62, 598, 92};
const Area kCentreLineText{160, 215, 440, 246};
const Area kScoreText{220, 275, 380, 306};
const Area kRankText{100, 396, 500, 426};
const Area kReplayMarkText{470, 560, 599, 590};

namespace {

constexpr int kRightButton = 3;

bool isCyan(const uint8_t* p) { return p[0] < 60 && p[1] > 200 && p[2] > 200; }

}  // namespace

void sleepFor(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

long cyanPixels(const Screenshot& shot, const Area& a)
{
    long n = 0;
    for (int y = a.y0; y <= a.y1 && y < shot.height; ++y)
        for (int x = a.x0; x <= a.x1 && x < shot.width; ++x)
            n += isCyan(shot.at(x, y));
    return n;
}

long cyanDifference(const Screenshot& a, const Screenshot& b, const Area& area)
{
    long n = 0;
    for (int y = area.y0; y <= area.y1 && y < a.height && y < b.height; ++y)
        for (int x = area.x0; x <= area.x1 && x < a.width && x < b.width; ++x)
            n += isCyan(a.at(x, y)) != isCyan(b.at(x, y));
    return n;
}

bool playing(const Screenshot& s) { return cyanPixels(s, kTimeLeftText) > 40; }

bool centreMessage(const Screenshot& s)
{
    return cyanPixels(s, kCentreLineText) > 80 && cyanPixels(s, kTimeLeftText) == 0;
}

testing::AssertionResult skipEveryLevel(E2eGame& game)
{
    for (int level = 1; level <= 4; ++level) {
        game.tapKey("c");
        if (!game.waitForScreenshot(centreMessage))
            return testing::AssertionFailure() << "level " << level << " did not end";
        if (level < 4 && !game.waitForScreenshot(playing))
            return testing::AssertionFailure() << "level " << level + 1 << " did not start";
    }
    return testing::AssertionSuccess();
}

void throwOne(E2eGame& game, double holdSeconds)
{
    game.mouseDown(kRightButton);
    // the power bar swings with the game's steps
    if (!game.waitForSteps(int64_t(holdSeconds * 60.0)))
        sleepFor(holdSeconds);
    game.mouseUp(kRightButton);
}

bool throwAndSeeCounterChange(E2eGame& game, const Area& counter, double playSeconds)
{
    const int64_t steps = int64_t(playSeconds * 60.0);
    Screenshot before;
    if (!game.waitForScreenshotInSteps(playing, steps, &before))
        return false;
    throwOne(game);
    // a digit of the counter changes; ten cyan pixels is far below any digit's difference
    return game.waitForScreenshotInSteps(
        [&](const Screenshot& s) { return playing(s) && cyanDifference(before, s, counter) > 10; },
        steps);
}

unsigned long findMessageBox(E2eGame& game, std::string* title)
{
    for (const char* name : {"Error", "Warning"})
        if (unsigned long id = game.findWindow(name)) {
            if (title)
                *title = name;
            return id;
        }
    return 0;
}

namespace {

// focus follows the pointer on a bare X server: point into the box, then press Return (its OK)
bool dismissBox(E2eGame& game, unsigned long id)
{
    // a box just mapped may not take keys yet, so Return is pressed again until it goes
    for (int attempt = 0; attempt < 20; ++attempt) {
        WindowInfo box = game.windowInfo(id);
        if (!box.viewable)
            return attempt > 0;
        game.movePointerOnScreen(box.x + box.width / 2, box.y + box.height / 2);
        game.tapKey("Return");
        if (waitUntil([&] { return !game.windowInfo(id).viewable; }, 5.0, 0.1))
            return true;
    }
    return false;
}

}  // namespace

bool startThroughMessageBoxes(E2eGame& game, std::vector<std::string>* boxTitles,
                              double timeoutSeconds)
{
    if (!game.start() || !game.waitForWindow(timeoutSeconds))
        return false;
    // the window opens before the models are read; the first frame is drawn after them
    bool drawn = false;
    waitUntil(
        [&] {
            if (!game.running())
                return true;
            std::string title;
            if (unsigned long id = findMessageBox(game, &title)) {
                if (dismissBox(game, id) && boxTitles)
                    boxTitles->push_back(title);
                return false;
            }
            Screenshot shot = game.screenshot();
            drawn = !shot.empty() && playing(shot);
            return drawn;
        },
        timeoutSeconds, 0.2);
    if (drawn)
        game.movePointer(300, 330);  // just below the sight, at the house
    return drawn && game.running();
}

std::string crashReport(const std::string& text)
{
    for (const char* marker : {"AddressSanitizer", "LeakSanitizer", "runtime error:",
                               "UndefinedBehaviorSanitizer", "terminate called", "Segmentation"}) {
        size_t at = text.find(marker);
        if (at != std::string::npos)
            return text.substr(at > 200 ? at - 200 : 0, 2000);
    }
    return "";
}

std::string testDataPath(const std::string& name)
{
    const char* dir = std::getenv("VX_SOURCE_DIR");
    return std::string(dir ? dir : ".") + "/tests/data/" + name;
}

std::string summaryLine(const std::string& stdoutText)
{
    size_t at = stdoutText.rfind("summary: ");
    if (at == std::string::npos || (at > 0 && stdoutText[at - 1] != '\n'))
        return "";
    return stdoutText.substr(at, stdoutText.find('\n', at) - at);
}

std::string headlessSummary(E2eGame& game, const std::string& replayPath,
                            const std::vector<std::string>& more)
{
    const char* binary = std::getenv("VX_GAME");
    if (!binary)
        return "";
    std::vector<std::string> args{binary, "--replay", replayPath, "--headless"};
    args.insert(args.end(), more.begin(), more.end());
    CommandResult run = game.runX(args, 120.0);
    return run.status == 0 ? summaryLine(run.output) : "";
}
