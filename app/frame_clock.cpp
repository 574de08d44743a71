// app: the clocks of the frame loop.
//
// The level clock and the flights advance by the wall time from the start of one display call to
// the start of the next, not by the time spent drawing: otherwise the game would run slower the
// faster the machine draws. The interval is capped so that a stall (a dragged window, a message
// box) cannot swallow a level second. gDrawStartClock and gDrawEndClock still bracket each frame.
#include "app/frame_clock.h"

#include "platform/clock.h"

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
    gLevelClockPendingMs += interval;
    gDrawStartClock = nowMs;
    gFrameClockRunning = 1;
}

int32_t takeLevelClockInterval()
{
    int32_t pending = gLevelClockPendingMs;
    gLevelClockPendingMs = 0;
    return pending;
}

float flightStepSeconds()
{
    return float(double(gFrameIntervalMs) * 0.001);
}

float tickStepMs()
{
    return gTickNow - gTickPrev;
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
    // the power bar, the turn and the owner's walk step once per call: at most 60 a second keeps
    // their speed the same on any machine fast enough
    double start = pacedIdleStart(gIdleCallStart, platformSeconds());
    platformSleepUntil(start);
    gIdleCallStart = start;
}
