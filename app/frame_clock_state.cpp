// app: definitions of the frame loop's clock stamps.
#include "app/frame_clock.h"

int32_t gDrawStartClock;
int32_t gFrameIntervalMs;
uint8_t gFrameClockRunning;
double gIdleCallStart = -1.0;
double gStepClockLast = -1.0;
double gStepClockOwed;

void resetFrameClock()
{
    gDrawStartClock = 0;
    gFrameIntervalMs = 0;
    gFrameClockRunning = 0;
    gIdleCallStart = -1.0;
    gStepClockLast = -1.0;
    gStepClockOwed = 0.0;
}
