// SPDX-License-Identifier: MIT
// The real game paused by its window being unmapped, as iconifying does: "PAUSED" and how to
// resume in the middle, the picture standing still, a held lean key included, until the pause
// key.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

// "PAUSED" centred, its baseline at 0.6 of the window's height, and the line under it
const Area kPausedText{245, 218, 355, 242};
const Area kResumeText{160, 250, 440, 274};

long differingPixels(const Screenshot& a, const Screenshot& b)
{
    long n = 0;
    for (size_t i = 0; i + 2 < a.rgb.size() && i + 2 < b.rgb.size(); i += 3)
        n += a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2];
    return n;
}

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
    EXPECT_GT(cyanPixels(paused, kResumeText), 100);
    // three whole seconds of the game's steps, A held for two of them: unpaused the bar would
    // lose three ticks and the player would step aside
    ASSERT_TRUE(game.waitForSteps(60));
    game.keyDown("a");
    Screenshot still = game.screenshotAfterSteps(132);
    EXPECT_GT(cyanPixels(still, kPausedText), 60);
    EXPECT_EQ(timeBarPixels(still), timeBarPixels(paused));
    EXPECT_EQ(differingPixels(still, paused), 0) << still.save("pause-held-lean");

    // resumed with A still held: the lean goes on
    game.tapKey("p");
    Screenshot resumed;
    ASSERT_TRUE(game.waitForScreenshotInSteps(
        [](const Screenshot& s) { return cyanPixels(s, kPausedText) == 0; }, 300, &resumed));
    EXPECT_TRUE(game.waitForScreenshotInSteps(
        [&](const Screenshot& s) { return differingPixels(s, paused) > 20000; }, 300))
        << "the held lean did not go on after the pause";
    game.keyUp("a");
    Screenshot after = game.screenshotAfterSteps(192);
    EXPECT_LT(timeBarPixels(after), timeBarPixels(paused)) << after.save("pause-after") << paused.save("pause-paused");

    game.tapKey("q");
    EXPECT_TRUE(game.waitForExit(60.0));
    EXPECT_EQ(game.exitStatus(), 0);
}

}  // namespace
