// SPDX-License-Identifier: MIT
// app: the play session: live, recorded or replayed input, and the game's end.
#include "app/play_session.h"

#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "app/score_keeping.h"
#include "app/window_memory.h"
#include "game/input_queue.h"
#include "game/play_step.h"
#include "game/play_summary.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"

static std::FILE* sRecording = nullptr;
static bool sReplaying = false;
static int64_t sReplayLastStep = -1;
static bool sKeepWindow = false;

bool startRecording(const std::string& path)
{
    sRecording = std::fopen(path.c_str(), "w");
    if (!sRecording)
        return false;
    writeInputLogHeader(sRecording);
    recordInputTo(sRecording);
    return true;
}

void startReplay(const InputLog& log, int64_t lastStep)
{
    sReplaying = true;
    sReplayLastStep = log.events.empty() ? -1 : log.events.back().step;
    if (lastStep > sReplayLastStep)
        sReplayLastStep = lastStep;
    for (const QueuedInput& input : log.events)
        queueInput(input.step, input.event);
}

bool playEnded()
{
    return gQuitRequested || (sReplaying && gStepCount > sReplayLastStep);
}

void keepWindowAtEnd()
{
    sKeepWindow = true;
}

void keepPlayersRecord()
{
    if (!sReplaying)
        finishKeepingScores();
    if (sKeepWindow)
        saveWindowState(currentWindow());
    sKeepWindow = false;
}

void endPlay()
{
    keepPlayersRecord();
    // a game played without --record or --replay keeps its console as it always was
    if (sRecording || sReplaying) {
        std::printf("%s\n", playSummary().c_str());
        std::fflush(stdout);
    }
    if (sRecording) {
        recordInputTo(nullptr);
        std::fclose(sRecording);
        sRecording = nullptr;
    }
    std::exit(0);
}

void queueWindowInput(const InputEvent& event)
{
    if (!sReplaying)
        queueInput(gStepCount, event);
}

std::string replayHeadless(const InputLog& log, int64_t lastStep)
{
    assignStartingValues();
    if (!gWorld)
        buildWorld();  // the models without their drawing
    addPlaceholderStreamer();
    startReplay(log, lastStep);
    while (!playEnded())
        runPlayStep();
    return playSummary();
}

void resetPlaySession()
{
    if (sRecording)
        std::fclose(sRecording);
    sRecording = nullptr;
    sReplaying = false;
    sReplayLastStep = -1;
    sKeepWindow = false;
    resetScoreKeeping();
}
