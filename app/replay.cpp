// SPDX-License-Identifier: MIT
// app: a recorded game played back (see replay.h).
#include "app/replay.h"

#include <algorithm>

#include "app/app.h"
#include "game/input_queue.h"
#include "game/play_step.h"
#include "game/play_summary.h"
#include "game/settings.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"

namespace {

bool sReplaying = false;
bool sReplayStopped = false;  // the player asked the replay to end
int64_t sReplayEnd = 0;       // the replay has run when this many steps have
int64_t sReplayHold = -1;     // the replay stands still at this many steps; -1 runs it through

}  // namespace

void startReplay(const InputLog& log)
{
    sReplaying = true;
    sReplayStopped = false;
    sReplayEnd = log.reachedStep;
    if (!log.events.empty())
        sReplayEnd = std::max(sReplayEnd, log.events.back().step + 1);
    for (const QueuedInput& input : log.events)
        queueInput(input.step, input.event);
}

bool replaying()
{
    return sReplaying;
}

void holdReplayAt(int64_t step)
{
    sReplayHold = step;
}

bool replayHeld()
{
    return sReplaying && sReplayHold >= 0 && gStepCount >= sReplayHold && !playEnded();
}

void stopReplay()
{
    sReplayStopped = true;
}

bool playEnded()
{
    return gQuitRequested || sReplayStopped || (sReplaying && gStepCount >= sReplayEnd);
}

std::string replayHeadless(const InputLog& log, ReplayStepWatch watch, void* context)
{
    // a menu choice in the log changes the setting, never the player's file
    disableSettingsSave();
    assignStartingValues();
    if (!gWorld)
        buildWorld();  // the models without their drawing
    else
        gWorld->restoreLayout();  // a game replayed before knocked plants out
    addPlaceholderStreamer();
    startReplay(log);
    while (!playEnded() && !replayHeld()) {
        runPlayStep();
        if (watch)
            watch(gStepCount, context);
    }
    return playSummary();
}

void resetReplay()
{
    sReplaying = false;
    sReplayStopped = false;
    sReplayEnd = 0;
    sReplayHold = -1;
}
