// SPDX-License-Identifier: MIT
// The real game paused by its window being unmapped, as iconifying does: "PAUSED" in the middle,
// the time bar standing still until the pause key.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

// "PAUSED" centred, its baseline at half the window's height
const Area kPausedText{245, 278, 355, 302};

// the time bar's row, under "Time Left:"
long timeBarPixels(const Screenshot& s)
{
    long n = 0;
    for (int y = 42; y <= 52; ++y)
        for (int x = 0; x < s.width; ++x) {
            const uint8_t* p = s.at(x, y);
            n += p[0] < 40 && p[1] < 40 && p[2] > 100 && p[2] < 160;
        }
    return n;
}

TEST(Pause, UnmappingTheWindowPausesTheGameUntilThePauseKey)
{
    E2eGame game;
    ASSERT_FALSE(game.display().empty()) << "the virtual X server did not start";
    ASSERT_TRUE(startThroughMessageBoxes(game, nullptr)) << game.stderrText();
    const std::string id = std::to_string(game.window().id);
    ASSERT_EQ(game.runX({"xdotool", "windowunmap", "--sync", id}).status, 0);
    ASSERT_EQ(game.runX({"xdotool", "windowmap", "--sync", id}).status, 0);

    Screenshot paused;
    ASSERT_TRUE(game.waitForScreenshot(
        [](const Screenshot& s) { return cyanPixels(s, kPausedText) > 60; }, 60.0, &paused))
        << "no PAUSED after the window came back";
    EXPECT_TRUE(playing(paused));
    // three whole seconds: unpaused the bar would lose three ticks
    sleepFor(3.2);
    Screenshot still = game.screenshot();
    EXPECT_GT(cyanPixels(still, kPausedText), 60);
    EXPECT_EQ(timeBarPixels(still), timeBarPixels(paused));

    game.tapKey("p");
    ASSERT_TRUE(game.waitForScreenshot(
        [](const Screenshot& s) { return cyanPixels(s, kPausedText) == 0; }, 30.0));
    sleepFor(3.2);
    EXPECT_LT(timeBarPixels(game.screenshot()), timeBarPixels(paused));

    game.tapKey("q");
    EXPECT_TRUE(game.waitForExit(60.0));
    EXPECT_EQ(game.exitStatus(), 0);
}

}  // namespace
