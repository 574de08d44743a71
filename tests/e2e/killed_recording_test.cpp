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

// the address of a global of the binary, from its symbol table, relative to where it is loaded
uint64_t symbolOffset(const std::string& binary, const std::string& symbol)
{
    std::FILE* nm = popen(("nm --defined-only '" + binary + "'").c_str(), "r");
    if (!nm)
        return 0;
    char line[512];
    uint64_t offset = 0;
    while (std::fgets(line, sizeof line, nm)) {
        std::istringstream words(line);
        std::string address, kind, name;
        if (words >> address >> kind >> name && name == symbol)
            offset = std::stoull(address, nullptr, 16);
    }
    pclose(nm);
    return offset;
}

// the game's gStepCount, read while the process is stopped; -1 when it cannot be read
int64_t stepsReached(pid_t pid, const std::string& binary)
{
    const uint64_t offset = symbolOffset(binary, "gStepCount");
    char* real = realpath(binary.c_str(), nullptr);
    const std::string exe = real ? real : binary;
    std::free(real);
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    uint64_t base = 0;
    while (std::getline(maps, line))
        if (line.size() > exe.size() && line.compare(line.size() - exe.size(), exe.size(), exe) == 0) {
            base = std::stoull(line.substr(0, line.find('-')), nullptr, 16);
            break;
        }
    if (offset == 0 || base == 0)
        return -1;
    std::ifstream mem("/proc/" + std::to_string(pid) + "/mem", std::ios::binary);
    mem.seekg(std::streamoff(base + offset));
    int64_t steps = -1;
    mem.read(reinterpret_cast<char*>(&steps), sizeof steps);
    return mem ? steps : -1;
}

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
    sleepFor(0.5);
    game.keyUp("a");
    // more than a second with no input: only the log's own lines say how far the game went
    sleepFor(2.5);

    const pid_t pid = game.gamePid();
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    const int64_t reached = stepsReached(pid, binary);
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
