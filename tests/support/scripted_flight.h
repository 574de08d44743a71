// SPDX-License-Identifier: MIT
// tests: a roll flying straight at the house with its streamer trailing, flown without the game's
// throw so a test or a bench can place it exactly.
#pragma once
#include "common/vec.h"

class PaperStreamer;
struct RollRecord;

struct ScriptedFlight {
    Vec3 position, velocity, side;
};

// one step of the flight, as the frame loop takes it before sinking and relaxing the streamer:
// the roll moves and falls, the streamer's first column follows it 0.15 to either side, and a
// roll at the ground stops
void flyScriptedRoll(ScriptedFlight& f, RollRecord& roll, PaperStreamer* s, float seconds);
