// SPDX-License-Identifier: MIT
// The real game paused by its window being unmapped, as iconifying does: "PAUSED" and how to
// resume in the middle, the picture standing still, a held lean key included, until the pause
// key. And a game paused at GAME OVER that still plays again with Enter.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
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

// the step at which the recording's first line of this event stands, -1 if none
long recordedStep(const std::string& recording, const std::string& event)
{
    std::ifstream in(recording);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        long step = -1;
        std::string rest;
        if (words >> step && std::getline(words, rest) && rest == " " + event)
            return step;
    }
    return -1;
}

// "PAUSED" under "Press Enter to play again", where GAME OVER puts it without a rank line
const Area kGameOverPausedText{245, 398, 355, 422};

TEST(Pause, PausedAtGameOverEnterStillStartsANewGame)
{
    E2eGame game;
    const std::string recording = game.runDir() + "/paused_game_over.replay";
    ASSERT_TRUE(game.start({"--record", recording, "--no-save"}));
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(game.waitForScreenshot(playing));
    // the level key four times: past the last level
    for (int level = 1; level <= 4; ++level)
        game.tapKey("c");
    ASSERT_TRUE(game.waitForScreenshot(centreMessage, 60.0)) << "no GAME OVER";
    game.tapKey("p");
    Screenshot paused;
    ASSERT_TRUE(game.waitForScreenshot(
        [](const Screenshot& s) { return cyanPixels(s, kGameOverPausedText) > 60; }, 60.0,
        &paused))
        << paused.save("game-over-not-paused");
    game.tapKey("Return");
    Screenshot again;
    EXPECT_TRUE(game.waitForScreenshot(playing, 60.0, &again)) << again.save("game-over-paused-enter");
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);

    // the game's own account: Enter took effect paused, after p, and a new first level ran on
    const long pausedAt = recordedStep(recording, "key 112");
    const long enterAt = recordedStep(recording, "key 13");
    ASSERT_GE(pausedAt, 0);
    EXPECT_GE(enterAt, pausedAt);
    const std::string played = summaryLine(game.stdoutText());
    EXPECT_NE(played.find(" level=1 score=0 rolls_left=10 eggs_left=10 strips=0 "),
              std::string::npos)
        << played;
    EXPECT_EQ(headlessSummary(game, recording), played);
}

}  // namespace
