// SPDX-License-Identifier: MIT
// board: the verdict on a game, from its log replayed by the display-free replayer in a child
// process with limits on its CPU time, memory and wall time.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "board/store.h"

constexpr int64_t kLongestVerifiedSteps = 20LL * 60 * 60;  // 20 minutes of play

struct ReplayerOptions {
    // the program and its first arguments; the log's file name is added last
    std::vector<std::string> command;
    int cpuSeconds = 20;
    int64_t memoryBytes = 1024LL * 1024 * 1024;  // 0 for no limit
    int wallSeconds = 45;
};

// "CMD ARGS" split at spaces
std::vector<std::string> splitCommand(const std::string& text);

// the log read and checked here, before any replay: false with the rejection in *verdict
// when the reader refuses it ("LINE: message") or it is longer than 20 minutes of play
bool readSubmittedLog(const std::string& log, Verdict* verdict);

// false when the replay gave no verdict (it ran over its wall time, or the replayer failed on
// its own account, as with no data to play with): the game is left for another try, and
// verdict->reason says what happened
bool judgeGame(const std::string& log, const ReplayerOptions& options, Verdict* verdict);

// the numbers of a line "summary: steps=N level=L score=S ..." (the last such line of the
// text); false when there is none
bool readSummary(const std::string& output, int64_t* steps, int64_t* level, int64_t* score);
