// SPDX-License-Identifier: MIT
// app: definitions of the frame loop's clock stamps.
#include "app/frame_clock.h"

float gTickNow;
float gTickPrev;
int32_t gDrawStartClock;
int32_t gDrawEndClock;
int32_t gFrameIntervalMs;
uint8_t gFrameClockRunning;
double gIdleCallStart = -1.0;
double gStepClockLast = -1.0;
double gStepClockOwed;

void resetFrameClock()
{
    gTickNow = gTickPrev = 0.0f;
    gDrawStartClock = gDrawEndClock = 0;
    gFrameIntervalMs = 0;
    gFrameClockRunning = 0;
    gIdleCallStart = -1.0;
    gStepClockLast = -1.0;
    gStepClockOwed = 0.0;
}
