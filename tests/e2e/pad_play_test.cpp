// SPDX-License-Identifier: MIT
// The game pad in the running game: a software pad plugged in after start-up and driven by a
// script (VX_VIRTUAL_PAD, tests/data/pad_play.pad) turns the view, throws two rolls and an egg,
// hides, pauses and resumes, and pulled out pauses the game; the game recorded meanwhile
// replays with no window to the same summary.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(PadPlay, AScriptedPadPlaysAndThePadGameReplaysToTheSameSummary)
{
    E2eGame game;
    const std::string recording = game.runDir() + "/pad-game.replay";
    game.setGameEnv("VX_VIRTUAL_PAD", testDataPath("pad_play.pad"));
    ASSERT_TRUE(game.start({"--record", recording}));
    ASSERT_TRUE(game.waitForWindow());
    // the script ends by pulling the pad out, some 9 s of play after the first frame; the
    // recording is written to FILE.part until the game ends
    const std::string partial = recording + ".part";
    ASSERT_TRUE(waitUntil([&] { return readText(partial).find(" padgone\n") != std::string::npos; },
                          600.0))
        << game.stderrText() << readText(partial);
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();

    const std::string log = readText(recording);
    // the pad's dead zone first, then what it did, each on its own line
    for (const char* line : {" paddeadzone 250\n", " padaxis 0 32767\n", " paddown 9\n",
                             " padup 9\n", " paddown 6\n", " paddown 3\n", " padgone\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << log;
    EXPECT_LT(log.find(" paddeadzone "), log.find(" padaxis "));
    const std::string summary = summaryLine(game.stdoutText());
    // two rolls and an egg thrown, the pause resumed between them
    EXPECT_NE(summary.find(" rolls_left=8 eggs_left=9 "), std::string::npos) << summary;
    EXPECT_EQ(summary, headlessSummary(game, recording));
}

}  // namespace
