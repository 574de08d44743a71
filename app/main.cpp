// SPDX-License-Identifier: MIT
// app: the entry point; everything else lives in the libraries.
#include <csignal>
#include <cstdio>

#include "app/app.h"
#include "app/board_client.h"
#include "app/command_line.h"
#include "app/data_directory.h"
#include "app/gamepad_input.h"
#include "app/play_session.h"
#include "app/score_keeping.h"
#include "app/timedemo.h"
#include "app/window_memory.h"
#include "game/hud.h"
#include "game/score_table.h"
#include "game/settings.h"

int main(int argc, char** argv)
{
    CommandLine commandLine = parseCommandLine(argc, argv);
    if (commandLine.action == LaunchAction::ShowScores)
        return printBestScores();
    if (commandLine.action == LaunchAction::Submit) {
        std::vector<std::string> problems;
        loadSettingsFile(&problems);
        for (const std::string& problem : problems)
            std::fprintf(stderr, "%s\n", problem.c_str());
        return submitKeptGame(commandLine.submitRank);
    }
    if (commandLine.action != LaunchAction::Play)
        return answerCommandLine(commandLine);

    std::vector<char*> glutArgv;
    for (std::string& arg : commandLine.glutArgs)
        glutArgv.push_back(arg.data());
    glutArgv.push_back(nullptr);
    const int glutArgc = int(commandLine.glutArgs.size());
    if (commandLine.timedemoFloor)
        return runTimedemoFloor(glutArgc, glutArgv.data(), commandLine.window);

    // a bad replay is refused before any window opens; both files are named from where the
    // player stands, before the data directory becomes the current one. A timedemo is a replay.
    const std::string& replayPath =
        commandLine.timedemoPath.empty() ? commandLine.replayPath : commandLine.timedemoPath;
    InputLog replay;
    if (!replayPath.empty()) {
        std::string error;
        if (!readInputLog(replayPath, &replay, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
        const std::string note = simulationVersionNote(replayPath, replay);
        if (!note.empty())
            std::fprintf(stderr, "%s\n", note.c_str());
    }
    // the test aid's script, named from where the player stands too
    std::string padScriptError;
    if (!readVirtualPadFromEnvironment(&padScriptError)) {
        std::fprintf(stderr, "%s\n", padScriptError.c_str());
        return 2;
    }
    FinishedGame kept;
    if (commandLine.replayRank > 0) {
        std::string error;
        if (!loadKeptGame(commandLine.replayRank, &replay, &error, &kept)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    const bool replaying = !replayPath.empty() || commandLine.replayRank > 0;
    // a reader gone from a pipe we record or print the summary into is a failed write, not
    // the end of the game
    if (!commandLine.recordPath.empty() || replaying) {
        std::signal(SIGPIPE, SIG_IGN);
        // a file size limit (ulimit -f) reached is a failed write too
        std::signal(SIGXFSZ, SIG_IGN);
    }
    if (!commandLine.recordPath.empty()) {
        std::string error;
        RecordStart started = startRecording(commandLine.recordPath, &error);
        if (started != RecordStart::Started) {
            std::fprintf(stderr, "vendettix: %s\n", error.c_str());
            return started == RecordStart::Refused ? 2 : 1;
        }
    }
    if (!enterDataDirectory())
        return 1;
    // a kept game that replays to another game is not shown as the player's
    if (commandLine.replayRank > 0) {
        std::string error;
        if (!keptGameReplaysToItsEnd(commandLine.replayRank, replay, kept, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }

    startSettings(!commandLine.noSave && !commandLine.headless, replaying);

    holdReplayAt(commandLine.stopAtStep);
    if (commandLine.headless) {
        std::printf("%s\n", replayHeadless(replay).c_str());
        // the strips go with the globals, so a leak checker sees a clean end
        resetAllGlobals();
        return 0;
    }
    if (replaying)
        startReplay(replay);
    // a replay watched says so; a timedemo's picture stays the one it measures
    if (replaying && commandLine.timedemoPath.empty())
        showReplayMark();
    // a timedemo measures the window it is given and keeps nothing
    if (!commandLine.timedemoPath.empty())
        return runTimedemo(glutArgc, glutArgv.data(), commandLine.window);
    if (!replaying && !commandLine.noSave) {
        startKeepingScores();
        keepInputLogInMemory();
    }
    if (!commandLine.noSave) {
        if (!commandLine.windowSet)
            loadWindowState(&commandLine.window);
        keepWindowAtEnd();
    }
    return runGame(glutArgc, glutArgv.data(), commandLine.window);
}
