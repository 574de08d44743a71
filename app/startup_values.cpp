// SPDX-License-Identifier: MIT
// app: the starting values of a run. The shell sets its own; each floor below sets its own
// through a function of its own, so every global keeps one writer.
#include "app/app.h"
#include "common/house.h"
#include "game/rules.h"
#include "player/camera.h"
#include "player/input.h"
#include "streamer/paper_streamer.h"

float gYardOffset;

void assignStartingValues()
{
    placeCameraAtStart();
    startOwnerWalk();
    gYardOffset = float(kYardOffset);
    startWithTogglesOff();
    switchOnHouseCollision();
}
