// SPDX-License-Identifier: MIT
// player: definitions and start values of the display toggles.
#include "player/input.h"

uint8_t gBirdsEyeView;
uint8_t gShowFps;
uint32_t gWireframe;

void resetInputState()
{
    gBirdsEyeView = 0;
    gShowFps = 0;
    gWireframe = 0;
}

static const bool sInitialised = (resetInputState(), true);
