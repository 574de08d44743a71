// SPDX-License-Identifier: MIT
// game: the input queue. Every event the game acts on waits here with the step it takes effect
// at, so a game is fully determined by its list of inputs and their step numbers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "player/input.h"

class InputLogWriter;

struct QueuedInput {
    int64_t step;
    InputEvent event;
};

// in the order they came; a step earlier than one already queued is taken as that one
void queueInput(int64_t step, const InputEvent& event);
// applies, in order, every queued event due at or before this step
void applyDueInput(int64_t step);
size_t queuedInputCount();
// how many events have been applied since the reset, the swallowed ones included
int64_t appliedInputCount();
// every event applied from now on is written there as a line of the input log, and every 60th
// step as a `reached` line (null: none)
void recordInputTo(InputLogWriter* log);
void resetInputQueue();
