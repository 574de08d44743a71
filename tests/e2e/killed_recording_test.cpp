// SPDX-License-Identifier: MIT
// A recording killed with SIGKILL mid-game, after a throw and a lean and a while with no input:
// the file it leaves (FILE.part) replays with no window and ends within a second of play of the
// step the game had reached, which is read from the stopped game's own memory.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/types.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

int64_t summarySteps(const std::string& summary)
{
    size_t at = summary.find("steps=");
    return at == std::string::npos ? -1 : std::atoll(summary.c_str() + at + 6);
}

TEST(KilledRecording, ReplaysToWithinASecondOfWhereTheGameWas)
{
    const char* binary = std::getenv("VX_GAME");
    ASSERT_NE(binary, nullptr);
    E2eGame game;
    const std::string recording = game.runDir() + "/killed.replay";
    ASSERT_TRUE(game.start({"--record", recording}));
    ASSERT_TRUE(game.waitForWindow());
    game.movePointer(300, 330);
    ASSERT_TRUE(game.waitForScreenshot(playing));
    throwOne(game);
    game.keyDown("a");
    ASSERT_TRUE(game.waitForSteps(30));
    game.keyUp("a");
    // more than a second with no input: only the log's own lines say how far the game went
    ASSERT_TRUE(game.waitForSteps(150));

    const pid_t pid = game.gamePid();
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    const int64_t reached = game.stepCount();
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    ASSERT_TRUE(game.waitForExit(30.0));
    EXPECT_EQ(game.exitStatus(), 128 + SIGKILL);
    ASSERT_GT(reached, 120) << "the game's step count was not read";

    std::ifstream finished(recording);
    EXPECT_FALSE(finished.good()) << "only a game that ended is put in place";
    const std::string summary = headlessSummary(game, recording + ".part");
    ASSERT_FALSE(summary.empty()) << "the killed recording does not replay";
    const int64_t replayed = summarySteps(summary);
    EXPECT_LE(replayed, reached) << summary;
    EXPECT_GE(replayed, reached - 60) << summary;
}

}  // namespace
