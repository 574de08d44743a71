// SPDX-License-Identifier: MIT
// game: the input queue, applied at step boundaries.
#include "game/input_queue.h"

#include <deque>

#include "game/input_bindings.h"
#include "game/input_log.h"
#include "game/play_step.h"

static std::deque<QueuedInput> sQueue;
static InputLogWriter* sRecording = nullptr;
static int64_t sApplied = 0;

void queueInput(int64_t step, const InputEvent& event)
{
    // events keep their order: one can never take effect before an earlier one
    if (!sQueue.empty() && step < sQueue.back().step)
        step = sQueue.back().step;
    sQueue.push_back(QueuedInput{step, event});
}

void applyDueInput(int64_t step)
{
    // where the game is, so a log cut off later still replays to within a second of it
    if (sRecording && step > 0 && step % kStepsBetweenReachedLines == 0 && !gQuitRequested)
        sRecording->writeReached(step);
    // nothing after a quit: the game ends at this step
    while (!gQuitRequested && !sQueue.empty() && sQueue.front().step <= step) {
        QueuedInput due = sQueue.front();
        sQueue.pop_front();
        // the step it was applied at, so a late event replays where it took effect
        due.step = step;
        if (sRecording)
            sRecording->writeInput(due);
        ++sApplied;
        applyInput(due.event);
    }
}

size_t queuedInputCount()
{
    return sQueue.size();
}

int64_t appliedInputCount()
{
    return sApplied;
}

void recordInputTo(InputLogWriter* log)
{
    sRecording = log;
}

void resetInputQueue()
{
    sQueue.clear();
    sRecording = nullptr;
    sApplied = 0;
}
