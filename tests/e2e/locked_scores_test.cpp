// SPDX-License-Identifier: MIT
// Another program holding the score table locked from before the game starts until after its
// GAME OVER: the game plays on and draws meanwhile, shows its score waiting under GAME OVER,
// saves it once the lock goes (the rank line replaces the waiting one, with no key pressed) and
// quits at once.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "game/score_table.h"
#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

TEST(LockedScores, AGameOverALockedTablePlaysOnAndIsSavedOnceTheLockGoes)
{
    E2eGame game;
    const std::string folder = game.homeDir() + "/data/vendettix";
    ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
    const std::string path = folder + "/" + kScoreTableName;
    {
        ScoreTable made;
        std::string note;
        ASSERT_EQ(made.open(path, true, &note), ScoreTableState::Open) << note;
    }
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    const std::string recording = game.runDir() + "/locked.replay";
    ASSERT_TRUE(game.start({"--record", recording}));
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(game.waitForScreenshot(playing));
    // every level ended by the level key
    ASSERT_TRUE(skipEveryLevel(game));
    // GAME OVER drawn under the lock, its line saying the score waits
    Screenshot waiting;
    ASSERT_TRUE(game.waitForScreenshot(
        [](const Screenshot& s) { return centreMessage(s) && cyanPixels(s, kRankText) > 60; }, 60.0,
        &waiting))
        << "no GAME OVER with a line under it while the table is locked";
    waiting.save("locked_scores_waiting");
    ASSERT_TRUE(game.running());

    // the lock goes: the rank replaces the waiting line without a key pressed
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    Screenshot saved;
    ASSERT_TRUE(game.waitForScreenshot(
        [&](const Screenshot& s) { return cyanDifference(waiting, s, kRankText) > 60; }, 60.0,
        &saved))
        << "the line under GAME OVER never changed after the lock went";
    saved.save("locked_scores_saved");
    EXPECT_GT(cyanPixels(saved, kRankText), 60) << "the first game kept is the best";

    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);
    EXPECT_EQ(game.stderrText(), "");
    const std::string played = summaryLine(game.stdoutText());
    ASSERT_NE(played.find(" level=5 "), std::string::npos) << game.stdoutText();

    // kept, with the score the game ended on
    ScoreTable table;
    std::string note;
    ASSERT_EQ(table.open(path, false, &note), ScoreTableState::Open) << note;
    std::vector<RankedGame> kept = table.best(kBestShown);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NE(played.find(" score=" + std::to_string(kept[0].game.score) + " "), std::string::npos)
        << played;
}

}  // namespace
