// SPDX-License-Identifier: MIT
// game: the frame-rate counter's state.
#include "game/hud.h"

float gFpsFrames;
float gFpsLastTime;
char gFpsText[64];

void resetHudState()
{
    gFpsFrames = 0.0f;
    gFpsLastTime = 0.0f;
    gFpsText[0] = '\0';
}
