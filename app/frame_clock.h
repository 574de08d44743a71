// SPDX-License-Identifier: MIT
// app: the frame loop's clocks. The wall clock owes the game its fixed steps; the display's
// process-clock stamps; the 60 Hz pacing of the idle calls.
#pragma once
#include <cstdint>

extern float gTickNow;          // tick counter at the end of the latest idle call, ms
extern float gTickPrev;         // the value of gTickNow before that
extern int32_t gDrawStartClock; // process clock at the start of the latest display call, ms
extern int32_t gDrawEndClock;   // process clock at the end of its drawing, before the swap, ms
extern int32_t gFrameIntervalMs;// wall time between the starts of the last two display calls,
                                // capped at kMaxFrameIntervalMs; 0 for the first frame
extern uint8_t gFrameClockRunning; // a display call has stamped gDrawStartClock
extern double gIdleCallStart;   // seconds at which the latest idle call went ahead; < 0 before
extern double gStepClockLast;   // seconds at which the steps owed were last counted; < 0 before
extern double gStepClockOwed;   // wall time not yet run as steps, seconds

constexpr int32_t kMaxFrameIntervalMs = 100;
constexpr double kIdleStepsPerSecond = 60.0;
// the most wall time one idle call runs: a stall beyond it is dropped, never caught up
constexpr double kMostOwedSeconds = 0.25;

// at the start of each display call: stamps gDrawStartClock and measures gFrameIntervalMs
void beginFrameClock(int32_t nowMs);
// how many fixed steps the wall clock owes at `now` (seconds) since the last count; the first
// count owes one
int32_t takeOwedSteps(double now);
// the moment an idle call that arrives at `now` may go ahead: 1/60 s after the previous one
// went ahead, or at once if that has passed (seconds)
double pacedIdleStart(double previousStart, double now);
// sleeps as pacedIdleStart says and records the start in gIdleCallStart
void paceIdleCall();
void resetFrameClock();
