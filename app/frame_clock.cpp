// SPDX-License-Identifier: MIT
// app: the clocks of the frame loop.
//
// The game advances in fixed steps of 1/60 s; each idle call runs the steps the wall clock owes
// since the last one, so a slow machine keeps the game's pace and only draws fewer pictures. At
// most a quarter of a second is run at once: a stall (a dragged window, a message box) never
// makes the game jump.
#include "app/frame_clock.h"

#include "game/play_step.h"
#include "platform/clock.h"

// a call that comes a hair early on the pacing's schedule still owes its step
constexpr double kStepTolerance = 1e-3;

void beginFrameClock(int32_t nowMs)
{
    int32_t interval = 0;
    if (gFrameClockRunning) {
        // the millisecond count wraps after 24.8 days: take the difference modulo 2^32, where
        // it cannot overflow
        interval = int32_t(uint32_t(nowMs) - uint32_t(gDrawStartClock));
        if (interval < 0)
            interval = 0;
        if (interval > kMaxFrameIntervalMs)
            interval = kMaxFrameIntervalMs;
    }
    gFrameIntervalMs = interval;
    gDrawStartClock = nowMs;
    gFrameClockRunning = 1;
}

int32_t takeOwedSteps(double now)
{
    if (gStepClockLast < 0.0) {
        gStepClockLast = now;
        gStepClockOwed = 0.0;
        return 1;
    }
    double elapsed = now - gStepClockLast;
    gStepClockLast = now;
    if (elapsed < 0.0)
        elapsed = 0.0;
    if (elapsed > kMostOwedSeconds)
        elapsed = kMostOwedSeconds;
    gStepClockOwed += elapsed;
    int32_t steps = int32_t(gStepClockOwed / kStepSeconds + kStepTolerance);
    gStepClockOwed -= steps * kStepSeconds;
    return steps;
}

double pacedIdleStart(double previousStart, double now)
{
    if (previousStart < 0.0)
        return now;
    double earliest = previousStart + 1.0 / kIdleStepsPerSecond;
    return now < earliest ? earliest : now;
}

void paceIdleCall()
{
#ifdef __EMSCRIPTEN__
    // the page's idle comes with the browser's frames, whatever the display's rate, and cannot
    // wait: the steps owed are counted from now
    gIdleCallStart = platformSeconds();
#else
    // the steps are owed by the wall clock anyway; the wait keeps the loop from spinning
    double start = pacedIdleStart(gIdleCallStart, platformSeconds());
    platformSleepUntil(start);
    gIdleCallStart = start;
#endif
}
