// SPDX-License-Identifier: MIT
// The real game's window: where it opens, and the ways out: the quit key, the menu, the window
// closed under the game.
#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cctype>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int kMiddleButton = 2;
constexpr int kLeftButton = 1;

void startGame(E2eGame& game)
{
    ASSERT_FALSE(game.display().empty()) << "the virtual X server did not start";
    ASSERT_TRUE(game.start()) << "cannot start the game named by VX_GAME";
    ASSERT_TRUE(game.waitForWindow()) << "no window; the game said:\n" << game.stderrText();
}

// a line of the walk-back trace: a number printed as "%f", e.g. "0.734000"
bool hasTraceLine(const std::string& text)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t dot = line.find('.');
        if (dot == std::string::npos || dot == 0 || line.size() - dot != 7)
            continue;
        bool digits = true;
        for (size_t i = line[0] == '-' ? 1 : 0; i < line.size(); ++i)
            digits = digits && (i == dot || std::isdigit(static_cast<unsigned char>(line[i])));
        if (digits)
            return true;
    }
    return false;
}

}  // namespace

TEST(Window, OpensAt100x100With600x600AndQuitsOnQ)
{
    E2eGame game;
    startGame(game);
    WindowInfo w = game.queryWindow();
    EXPECT_EQ(w.x, 100);
    EXPECT_EQ(w.y, 100);
    EXPECT_EQ(w.width, 600);
    EXPECT_EQ(w.height, 600);

    // the scene is drawn: the lit ground or the moon is somewhere in the first frames
    Screenshot shot;
    EXPECT_TRUE(game.waitForScreenshot([](const Screenshot& s) { return s.litPixels() > 1000; },
                                       120.0, &shot))
        << shot.save("window-first-frame");
    ASSERT_TRUE(game.running());

    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(60.0));
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
}

// started on the full screen, F11 brings the window the options asked for, and F11 again the
// whole screen
TEST(Window, FullScreenStartThenF11OpensTheWindowTheOptionsAskedFor)
{
    E2eGame game;
    ASSERT_FALSE(game.display().empty()) << "the virtual X server did not start";
    ASSERT_TRUE(game.start({"--fullscreen", "-geometry", "640x480+150+120"}));
    ASSERT_TRUE(game.waitForWindow()) << game.stderrText();
    WindowInfo w;
    auto isWhole = [&] {
        w = game.queryWindow();
        return w.x == 0 && w.y == 0 && w.width == 1280 && w.height == 1024;
    };
    auto isAsked = [&] {
        w = game.queryWindow();
        return w.x == 150 && w.y == 120 && w.width == 640 && w.height == 480;
    };
    EXPECT_TRUE(waitUntil(isWhole, 60.0, 0.2)) << w.x << "," << w.y << " " << w.width << "x" << w.height;
    game.tapKey("F11");
    EXPECT_TRUE(waitUntil(isAsked, 60.0, 0.2)) << w.x << "," << w.y << " " << w.width << "x" << w.height;
    game.tapKey("F11");
    EXPECT_TRUE(waitUntil(isWhole, 60.0, 0.2)) << w.x << "," << w.y << " " << w.width << "x" << w.height;
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(60.0));
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
}

TEST(Window, MenuEntryExitOnTheMiddleButtonEndsTheGame)
{
    E2eGame game;
    startGame(game);
    game.movePointer(300, 300);
    game.click(kMiddleButton);

    // freeglut shows its menu as a window of its own with the pointer at its upper-left corner
    unsigned long menuId = 0;
    ASSERT_TRUE(waitUntil([&] { return (menuId = game.findWindow("freeglut menu")) != 0; }, 60.0,
                          0.2))
        << "the menu did not open";
    WindowInfo menu = game.windowInfo(menuId);
    EXPECT_NEAR(menu.x, 100 + 300, 2);
    EXPECT_NEAR(menu.y, 100 + 300, 2);
    // "Exit" is the last of its seven entries during play: choose it
    const int entry = menu.height / 7;
    game.movePointerOnScreen(menu.x + menu.width / 2, menu.y + menu.height - entry / 2);
    game.click(kLeftButton);

    ASSERT_TRUE(game.waitForExit(60.0)) << "the game did not end";
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
}

// a held key: the X server repeats it, and the game must see presses and one release, so the
// walk back from a lean (which traces the right lean's amount on the console) starts only when
// the key comes up
TEST(Window, HeldLeanKeyWalksBackOnlyAfterItsRelease)
{
    E2eGame game;
    startGame(game);
    Screenshot shot;
    ASSERT_TRUE(game.waitForScreenshot([](const Screenshot& s) { return s.litPixels() > 1000; },
                                       120.0, &shot));
    game.keyDown("d");
    // long past the server's repeat delay, so a dozen repeats arrive
    waitUntil([] { return false; }, 2.0);
    std::string whileHeld = game.stdoutText();
    game.keyUp("d");
    EXPECT_FALSE(hasTraceLine(whileHeld)) << "walked back while the key was held";
    EXPECT_TRUE(waitUntil([&] { return hasTraceLine(game.stdoutText()); }, 600.0))
        << "no walk back after the release";
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(60.0));
    EXPECT_EQ(game.exitStatus(), 0);
}

// a model that cannot be read is reported in a box that waits for OK, and start-up goes on
TEST(Window, StartUpGoesOnAfterTheModelLoadersMessageBox)
{
    E2eGame game;
    ASSERT_TRUE(game.removeAsset("bench.3DS"));
    ASSERT_TRUE(game.start());
    ASSERT_TRUE(game.dismissMessageBox("Error", 180.0)) << game.stderrText();
    EXPECT_NE(game.stderrText().find("bench.3DS"), std::string::npos);
    ASSERT_TRUE(game.waitForWindow()) << game.stderrText();
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(60.0));
    EXPECT_EQ(game.exitStatus(), 0);
}

// the first throw opens the sound device; SDL must not have taken the signals over by then
TEST(Window, TermAfterAThrowEndsTheGameAtOnce)
{
    E2eGame game;
    startGame(game);
    ASSERT_TRUE(throwAndSeeCounterChange(game, kRollsLeftText)) << "the roll was not thrown";
    pid_t pid = game.gamePid();
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    ASSERT_TRUE(game.waitForExit(30.0)) << "SIGTERM did not end the game";
    EXPECT_EQ(game.exitStatus(), 128 + SIGTERM);
    // nothing of its process group is left
    EXPECT_TRUE(kill(-pid, 0) != 0 && errno == ESRCH);
}

// the window destroyed while the game is paused (so nothing is being drawn into it): the game
// ends as q ends it, its recording whole and in place, its summary at the step of its end line
TEST(Window, ClosingTheWindowEndsTheGameAsQDoes)
{
    E2eGame game;
    const std::string recording = game.runDir() + "/closed.replay";
    ASSERT_TRUE(game.start({"--record", recording}));
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(game.waitForScreenshot(playing));
    game.tapKey("p");
    ASSERT_TRUE(game.waitForSteps(30));
    ASSERT_EQ(game.runX({"xdotool", "windowclose", std::to_string(game.window().id)}).status, 0);
    ASSERT_TRUE(game.waitForExit(30.0)) << "a game without its window stays";
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
    EXPECT_EQ(game.stderrText().find("X Error"), std::string::npos) << game.stderrText();
    const std::string summary = summaryLine(game.stdoutText());
    ASSERT_FALSE(summary.empty()) << game.stdoutText();

    std::ifstream in(recording);
    std::string line, last;
    while (std::getline(in, line))
        last = line;
    const std::string steps = summary.substr(summary.find("steps=") + 6);
    EXPECT_EQ(last, steps.substr(0, steps.find(' ')) + " end") << summary;
}

// the window as it was left: its size and place at the next start, full screen too, and F11 from
// there goes back to the size and place it had; the command line's window wins over the kept one
TEST(Window, OpensAsItWasLeft)
{
    E2eGame game;
    startGame(game);
    const std::string id = std::to_string(game.window().id);
    game.runX({"xdotool", "windowsize", id, "800", "500"});
    game.runX({"xdotool", "windowmove", id, "40", "60"});
    auto at = [&game](int x, int y, int width, int height) {
        return waitUntil([&] {
            WindowInfo w = game.queryWindow();
            return w.x == x && w.y == y && w.width == width && w.height == height;
        }, 30.0, 0.2);
    };
    ASSERT_TRUE(at(40, 60, 800, 500));
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(60.0));
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();

    startGame(game);
    EXPECT_TRUE(at(40, 60, 800, 500)) << game.queryWindow().width;
    game.tapKey("F11");
    ASSERT_TRUE(at(0, 0, 1280, 1024)) << "not full screen";
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(60.0));

    startGame(game);
    EXPECT_TRUE(at(0, 0, 1280, 1024)) << "left full screen, opens full screen";
    game.tapKey("F11");
    EXPECT_TRUE(at(40, 60, 800, 500)) << "F11 goes back to the window it was";
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(60.0));

    ASSERT_TRUE(game.start({"--size", "300x300"}));
    ASSERT_TRUE(game.waitForWindow());
    EXPECT_TRUE(at(100, 100, 300, 300));
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(60.0));
    EXPECT_EQ(game.stderrText(), "");

    // --no-save neither reads the kept window nor keeps its own
    ASSERT_TRUE(game.start({"--no-save"}));
    ASSERT_TRUE(game.waitForWindow());
    EXPECT_TRUE(at(100, 100, 600, 600));
    game.runX({"xdotool", "windowmove", std::to_string(game.window().id), "7", "9"});
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(60.0));
    startGame(game);
    EXPECT_TRUE(at(100, 100, 300, 300));
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(60.0));
}
