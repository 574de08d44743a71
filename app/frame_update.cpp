// app: the idle callback, the game's simulation step. Paced to at most 60 calls a second; each
// call advances, in this order, the flights, the turn, the power bar, the walk back from a lean,
// the owner's walk and the streamers, then stamps the tick clock and asks for a frame.
#include <cstddef>

#include "app/app.h"
#include "app/frame_clock.h"
#include "game/game_state.h"
#include "game/rules.h"
#include "platform/clock.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/throwing.h"
#include "streamer/paper_streamer.h"

void stepOwnerWalk()
{
    if (!gSpinEnabled)
        return;
    gSpinAngle += float(gSpinStep);
    // the wrap comes when the sum passes 360, so the angle reads 359, 360, 0, 1
    if (gSpinAngle > 360.0f)
        gSpinAngle = 0.0f;
    else if (gSpinAngle < 0.0f)
        gSpinAngle = 360.0f;
}

// the placeholder at index 0 is never simulated
static void stepStreamers(float dtTick)
{
    for (std::size_t i = 1; i < gStreamers.size(); ++i)
        sinkStreamer(gStreamers[i], dtTick);
    for (std::size_t i = 1; i < gStreamers.size(); ++i)
        updateStreamer(gStreamers[i]);
}

void onIdle()
{
    paceIdleCall();

    // rolls and eggs hang still while the camera turns and after the game
    if (!gGameOver && !gTurning) {
        updateRolls(flightStepSeconds());
        updateEggs(flightStepSeconds());
    }
    if (!gGameOver && gTurning)
        stepTurn();
    if (gCharging)
        stepPowerBar();
    stepLeanReturn(tickStepMs());
    stepOwnerWalk();
    // No fall-back end of the level at 31 level seconds: the level clock ends every level at 30,
    // and a level ended without a turn would leave play suspended until the level key.
    stepStreamers(tickStepMs());

    gTickPrev = gTickNow;
    gTickNow = tickToFloat(platformTickCount());
    requestRedisplay();
}
