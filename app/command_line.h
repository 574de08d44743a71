// SPDX-License-Identifier: MIT
// app: the game's command line. Our own options are long ones; a few of GLUT's X options are
// still accepted and handed on to glutInit. Anything else is refused, so a typo never starts a
// game the player did not ask for.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/window_options.h"

enum class LaunchAction {
    Play,
    ShowHelp,     // usage on standard output, status 0
    ShowVersion,  // name and version on standard output, status 0
    ShowScores,   // the ten best games on standard output, status 0
    Submit,       // a kept game sent to the shared board, its verdict on standard output
    BadUsage,     // the error and the usage on standard error, status 2
};

struct CommandLine {
    LaunchAction action = LaunchAction::Play;
    WindowOptions window;
    std::vector<std::string> glutArgs;  // the program name, then the X options for glutInit
    std::string error;                  // what was wrong, for BadUsage
    std::string recordPath;             // --record: the input log to write
    std::string replayPath;             // --replay: the input log to play back
    bool headless = false;              // --headless: the replay with no window
    int replayRank = 0;                 // --replay-score: the kept game of this rank, 1 the best
    int64_t stopAtStep = -1;            // --stop-at: the replay stands still after this step
    int submitRank = 0;                 // --submit: the kept game of this rank
    bool noSave = false;                // --no-save: the player's files neither read nor written
    bool windowSet = false;             // the window's size, place or full screen was given
    std::string timedemoPath;           // --timedemo: the input log to play as fast as it goes
    bool timedemoFloor = false;         // --timedemo-floor: the renderer's floor alone
};

CommandLine parseCommandLine(int argc, const char* const* argv);
void writeUsage(std::FILE* out);
// for anything but Play: answers on the console and returns the exit status
int answerCommandLine(const CommandLine& commandLine);
