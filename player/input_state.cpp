// SPDX-License-Identifier: MIT
// player: definitions and start values of the display toggles and the Look's settings.
#include "player/input.h"

uint8_t gBirdsEyeView;
uint8_t gShowFps;
uint32_t gWireframe;
float gLookScale;
uint8_t gLookInverted;

void resetInputState()
{
    gBirdsEyeView = 0;
    gShowFps = 0;
    gWireframe = 0;
    gLookScale = 1.0f;
    gLookInverted = 0;
}

static const bool sInitialised = (resetInputState(), true);
