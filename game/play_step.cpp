// SPDX-License-Identifier: MIT
// game: one step of play. Rolls and eggs, the streamers and the player's camera move here; the
// rules decide what the step changes in the state of play.
#include "game/play_step.h"

#include "game/game_state.h"
#include "game/input_bindings.h"
#include "game/input_queue.h"
#include "game/pad_bindings.h"
#include "game/rules.h"
#include "player/camera.h"
#include "player/camera_placement.h"
#include "player/throwing.h"
#include "scene/world.h"

int64_t gStepCount;
uint8_t gQuitRequested;
uint8_t gStripsMoving;

static void stepFlights(float dt)
{
    updateRolls(dt, gLevel);
    // the query knocks a struck plant out, so each plant is scored once
    for (int32_t strikes = updateEggs(dt, gLevel); strikes > 0; --strikes)
        scorePlantStrike(gLevel);
}

void stepPlay()
{
    // the one place a pause holds play: the clocks that feed the step may run on, nothing here
    // moves
    if (gPaused)
        return;
    updateOwnerSight();
    updateLevelClock(kStepMs);

    // rolls and eggs hang still while the camera turns and after the game
    if (!gGameOver && !gTurning)
        stepFlights(float(kStepSeconds));
    if (!gGameOver && gTurning)
        stepTurn();
    if (gCharging)
        stepPowerBar();
    stepLeanReturn(kStepMs);
    stepOwnerWalk();
    // No fall-back end of the level at 31 level seconds: the level clock ends every level at 30,
    // and a level ended without a turn would leave play suspended until the level key.
    gStripsMoving = stepStreamers(kStepMs);
}

bool pictureHeld()
{
    return gPaused || (gGameOver && !gStripsMoving);
}

void runPlayStep()
{
    if (gQuitRequested)
        return;
    applyDueInput(gStepCount);
    if (gQuitRequested)
        return;
    stepHeldKeys(kStepMs);
    stepPadLook();
    stepPlay();
    // the throw leaves along this view, and the picture is drawn from it
    placeCamera(gWorld);
    updateViewVectors();
    ++gStepCount;
}

void resetPlayStep()
{
    gStepCount = 0;
    gQuitRequested = 0;
    gStripsMoving = 0;
}
