// game: one step of play. Rolls and eggs, the streamers and the player's camera move here; the
// rules decide what the step changes in the state of play.
#include "game/play_step.h"

#include "game/game_state.h"
#include "game/rules.h"
#include "player/camera.h"
#include "player/throwing.h"

static void stepFlights(float dt)
{
    updateRolls(dt, gLevel);
    // the query knocks a struck plant out, so each plant is scored once
    for (int32_t strikes = updateEggs(dt, gLevel); strikes > 0; --strikes)
        scorePlantStrike(gLevel);
}

void stepPlay(const StepTimes& times)
{
    // the one place a pause holds play: the clocks that feed the step may run on, nothing here
    // moves
    if (gPaused)
        return;
    updateOwnerSight();
    updateLevelClock(times.frameIntervalMs);

    // rolls and eggs hang still while the camera turns and after the game
    if (!gGameOver && !gTurning)
        stepFlights(times.flightSeconds);
    if (!gGameOver && gTurning)
        stepTurn();
    if (gCharging)
        stepPowerBar();
    stepLeanReturn(times.tickMs);
    stepOwnerWalk();
    // No fall-back end of the level at 31 level seconds: the level clock ends every level at 30,
    // and a level ended without a turn would leave play suspended until the level key.
    stepStreamers(times.tickMs);
}
