// app: the idle callback, the game's simulation step. Paced to at most 60 calls a second; each
// call runs one step of play (game/), then stamps the tick clock and asks for a frame.
#include "app/app.h"
#include "app/frame_clock.h"
#include "game/play_step.h"
#include "platform/clock.h"
#include "platform/redisplay.h"

void onIdle()
{
    paceIdleCall();

    // the level clock reads the process clock here, where the last frame's drawing ended
    gDrawEndClock = platformProcessClockMs();
    stepPlay(StepTimes{takeLevelClockInterval(), flightStepSeconds(), tickStepMs()});

    gTickPrev = gTickNow;
    gTickNow = tickToFloat(platformTickCount());
    requestRedisplay();
}
