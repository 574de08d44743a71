// SPDX-License-Identifier: MIT
// app: the shell's window state, and the one reset of every game global that tests start from.
#include "app/app.h"
#include "app/frame_clock.h"
#include "app/gamepad_input.h"
#include "app/play_session.h"
#include "game/game_state.h"

int32_t gWindowWidth;
int32_t gWindowHeight;
uint8_t gKeepTerrainTree;

void routeInputToBindings()
{
    setInputHandler(queueWindowInput);
}

void resetAllGlobals()
{
    gWindowWidth = gWindowHeight = 0;
    gYardOffset = 0.0f;
    gKeepTerrainTree = 0;
    resetFrameClock();
    resetPlaySession();
    resetGamepadInput();
    resetPlayState();
    routeInputToBindings();
}
