// SPDX-License-Identifier: MIT
// app: a recorded game played back, in the window or with no window at all. Nothing here opens a
// window or links a display library: vendettix-replay is built on it alone.
#pragma once
#include <cstdint>
#include <string>

#include "game/input_log.h"

// the log's events are queued at their steps and the window's own input is ignored; the game
// ends after the log's last step
void startReplay(const InputLog& log);
// a replay was started and not reset
bool replaying();
// the player asked the replay to end where it is (q, Escape or the menu's Exit in the window)
void stopReplay();
// the replay stands still once this many steps have run, its picture kept until the player ends
// it; a step at or after its end changes nothing
void holdReplayAt(int64_t step);
// a replay held by holdReplayAt has reached its step: no more steps are run
bool replayHeld();
// q or the menu's Exit took effect, or the replay has run its last step or was stopped by the
// player
bool playEnded();
// called after each step of a headless replay, with the step count
using ReplayStepWatch = void (*)(int64_t stepCount, void* context);
// the whole replay with no window, no GL and no sound, as fast as the machine goes, from the
// starting values (the yard's plants standing again after an earlier game); returns the summary
// line. Needs the data directory. A replay never writes the player's settings.
std::string replayHeadless(const InputLog& log, ReplayStepWatch watch = nullptr,
                           void* context = nullptr);
void resetReplay();
