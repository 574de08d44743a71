// SPDX-License-Identifier: MIT
// A game kept with a score board set in the settings: the line under the rank says what became
// of it (here, played with the level key, that it was not sent), and the game ends as always.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

// a line under the rank: "Not sent: the level key was used"
const Area kBoardText{60, 428, 540, 458};

TEST(BoardNote, AKeptGamePlayedWithTheLevelKeySaysUnderGameOverThatItWasNotSent)
{
    E2eGame game;
    const std::string config = game.homeDir() + "/config/vendettix";
    ASSERT_EQ(std::system(("mkdir -p '" + config + "'").c_str()), 0);
    // no board listens there: nothing may be sent anyway
    std::ofstream(config + "/settings.ini") << "[board]\nurl = http://127.0.0.1:9\nplayer = Ann\n";

    ASSERT_TRUE(game.start({}));
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(game.waitForScreenshot(playing));
    ASSERT_TRUE(skipEveryLevel(game));
    Screenshot over;
    ASSERT_TRUE(game.waitForScreenshot(
        [](const Screenshot& s) {
            return centreMessage(s) && cyanPixels(s, kRankText) > 60 &&
                   cyanPixels(s, kBoardText) > 60;
        },
        60.0, &over))
        << "no line under the rank after GAME OVER";
    over.save("board_note_not_sent");

    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);
    EXPECT_EQ(game.stderrText(), "");
}

}  // namespace
