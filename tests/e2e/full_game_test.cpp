// SPDX-License-Identifier: MIT
// A whole game played as a player would: every roll and egg of level 1 thrown until the level
// ends by itself, a throw of each kind in the later levels finished with the level key, the
// game-over screen, and the quit key. The game is recorded, and its recording replayed in a
// window and with none ends on the same summary line. The game is kept in the player's score
// table, ranked on its GAME OVER screen, listed by --scores and watched again by --replay-score.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

const char* gameBinary()
{
    const char* binary = std::getenv("VX_GAME");
    return binary ? binary : "vendettix";
}

// --scores' rows, the heading left out
std::vector<std::string> scoreRows(const std::string& output)
{
    std::vector<std::string> rows;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("Rank", 0) != 0 && !line.empty())
            rows.push_back(line);
    return rows;
}

// the summary line's score=
std::string scoreOf(const std::string& summary)
{
    size_t at = summary.find(" score=");
    if (at == std::string::npos)
        return "";
    return summary.substr(at + 7, summary.find(' ', at + 7) - at - 7);
}

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
    ASSERT_TRUE(game.waitForScreenshotInSteps(centreMessage, 600, &shot)) << "level 1 did not end";
    shot.save("full_game_level1_complete");
    EXPECT_GT(cyanPixels(shot, kScoreText), 40) << "the score is shown with the level's end";

    // levels 2 to 4: the turn, a throw of each kind, then the level key
    for (int level = 2; level <= 4; ++level) {
        ASSERT_TRUE(game.waitForScreenshotInSteps(playing, 1200)) << "level " << level << " did not start";
        throwOne(game);
        game.tapKey("F1");
        throwOne(game);
        game.tapKey("F1");
        game.tapKey("c");
        if (level < 4) {
            ASSERT_TRUE(game.waitForScreenshotInSteps(centreMessage, 600)) << "level " << level;
        }
    }

    // after level 4: "GAME OVER!!!" and the score in the centre, no bars
    ASSERT_TRUE(game.waitForScreenshotInSteps(centreMessage, 600, &shot));
    shot = game.screenshotAfterSteps(60);
    shot.save("full_game_over");
    EXPECT_GT(cyanPixels(shot, kCentreLineText), 80);
    EXPECT_GT(cyanPixels(shot, kScoreText), 40);
    EXPECT_GT(cyanPixels(shot, kRankText), 60) << "the first game kept is the best";
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

    // kept: listed first with its score, and watched again to the line it ended on
    CommandResult scores = game.runX({gameBinary(), "--scores"});
    EXPECT_EQ(scores.status, 0);
    std::vector<std::string> rows = scoreRows(scores.output);
    ASSERT_EQ(rows.size(), 1u) << scores.output;
    std::istringstream row(rows[0]);
    std::string rank, score, level;
    row >> rank >> score >> level;
    EXPECT_EQ(rank, "1");
    EXPECT_EQ(score, scoreOf(played)) << rows[0];
    EXPECT_EQ(level, "4") << "the last level played";
    CommandResult watched =
        game.runX({gameBinary(), "--replay-score", "1", "--headless"}, 120.0);
    EXPECT_EQ(watched.status, 0);
    EXPECT_EQ(summaryLine(watched.output), played);
    // a replay is never kept
    EXPECT_EQ(scoreRows(game.runX({gameBinary(), "--scores"}).output).size(), 1u);
}

}  // namespace
