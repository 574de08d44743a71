// SPDX-License-Identifier: MIT
// app: the play session: live, recorded or replayed input, and the game's end.
#include "app/play_session.h"

#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/app.h"
#include "app/score_keeping.h"
#include "app/window_memory.h"
#include "game/input_queue.h"
#include "game/play_step.h"
#include "game/play_summary.h"
#include "game/settings.h"
#include "platform/services.h"
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
    // a key goes in as the key its action has by default, so the log replays under any settings
    InputEvent bound = event;
    if (!sReplaying && translateBoundKey(&bound))
        queueInput(gStepCount, bound);
}

void startSettings(bool readFile, bool replaying)
{
    std::vector<std::string> problems;
    if (readFile)
        loadSettingsFile(&problems);
    else
        disableSettingsSave();
    // a replay never writes the player's file
    if (replaying)
        disableSettingsSave();
    for (const std::string& problem : problems)
        std::fprintf(stderr, "%s\n", problem.c_str());
    std::fflush(stderr);
    setSoundLevel(gSettings.volume, gSettings.mute);
    // the Look's settings are input, so a recording carries them; a replay takes its own
    const Settings defaults;
    if (!replaying &&
        (gSettings.sensitivity != defaults.sensitivity || gSettings.invert != defaults.invert)) {
        const int32_t scale = int32_t(std::lround(gSettings.sensitivity * kLookScaleUnits));
        queueInput(0, InputEvent{InputKind::Look, scale, gSettings.invert ? 1 : 0, 0, 0});
    }
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
