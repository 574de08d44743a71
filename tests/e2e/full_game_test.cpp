// SPDX-License-Identifier: MIT
// A whole game played as a player would: every roll and egg of level 1 thrown until the level
// ends by itself, a throw of each kind in the later levels finished with the level key, the
// game-over screen, and the quit key. The game is recorded, and its recording replayed in a
// window and with none ends on the same summary line.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

TEST(FullGame, FromTheFirstThrowToGameOverAndQuit)
{
    E2eGame game;
    const std::string recording = game.runDir() + "/full_game.replay";
    ASSERT_TRUE(game.start({"--record", recording}));
    ASSERT_TRUE(game.waitForWindow());
    game.movePointer(300, 330);  // aim just below the sight at the house
    ASSERT_TRUE(game.waitForScreenshot(playing));

    // level 1: all ten rolls, then all ten eggs; the level ends at the next whole second
    for (int i = 0; i < 10; ++i)
        throwOne(game);
    game.tapKey("F1");
    for (int i = 0; i < 10; ++i)
        throwOne(game);
    game.tapKey("F1");
    Screenshot shot;
    ASSERT_TRUE(game.waitForScreenshot(centreMessage, 60.0, &shot)) << "level 1 did not end";
    shot.save("full_game_level1_complete");
    EXPECT_GT(cyanPixels(shot, kScoreText), 40) << "the score is shown with the level's end";

    // levels 2 to 4: the turn, a throw of each kind, then the level key
    for (int level = 2; level <= 4; ++level) {
        ASSERT_TRUE(game.waitForScreenshot(playing, 60.0)) << "level " << level << " did not start";
        throwOne(game);
        game.tapKey("F1");
        throwOne(game);
        game.tapKey("F1");
        game.tapKey("c");
        if (level < 4) {
            ASSERT_TRUE(game.waitForScreenshot(centreMessage, 60.0)) << "level " << level;
        }
    }

    // after level 4: "GAME OVER!!!" and the score in the centre, no bars
    ASSERT_TRUE(game.waitForScreenshot(centreMessage, 60.0, &shot));
    waitUntil([] { return false; }, 1.0);
    shot = game.screenshot();
    shot.save("full_game_over");
    EXPECT_GT(cyanPixels(shot, kCentreLineText), 80);
    EXPECT_GT(cyanPixels(shot, kScoreText), 40);
    long barPixels = 0;  // the red power bar and blue time bar stand at the top when shown
    for (int y = 35; y < 100; ++y)
        for (int x = 40; x < 560; ++x) {
            const uint8_t* p = shot.at(x, y);
            // pure red, or the time bar's exact half blue
            barPixels += (p[0] > 200 && p[1] < 40 && p[2] < 40) || (p[0] == 0 && p[1] == 0 && p[2] >= 126 && p[2] <= 128);
        }
    EXPECT_EQ(barPixels, 0);

    ASSERT_TRUE(game.running());
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);
    const std::string played = summaryLine(game.stdoutText());
    ASSERT_NE(played.find(" level=5 "), std::string::npos) << game.stdoutText();

    EXPECT_EQ(headlessSummary(game, recording), played);
    E2eGame replay;
    ASSERT_TRUE(replay.start({"--replay", recording}));
    ASSERT_TRUE(replay.waitForExit(300.0)) << "the replay did not end by itself";
    EXPECT_EQ(replay.exitStatus(), 0) << replay.stderrText();
    EXPECT_EQ(summaryLine(replay.stdoutText()), played);
}

}  // namespace
