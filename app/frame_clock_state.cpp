// app: definitions of the frame loop's clock stamps.
#include "app/frame_clock.h"

float gTickNow;
float gTickPrev;
int32_t gDrawStartClock;
int32_t gDrawEndClock;
int32_t gFrameIntervalMs;
uint8_t gFrameClockRunning;
int32_t gLevelClockPendingMs;
double gIdleCallStart = -1.0;

void resetFrameClock()
{
    gTickNow = gTickPrev = 0.0f;
    gDrawStartClock = gDrawEndClock = 0;
    gFrameIntervalMs = 0;
    gFrameClockRunning = 0;
    gLevelClockPendingMs = 0;
    gIdleCallStart = -1.0;
}
