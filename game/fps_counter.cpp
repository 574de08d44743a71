// SPDX-License-Identifier: MIT
// game: the frame-rate counter: frames drawn in the last interval of a little over a second.
#include <cstdio>

#include "game/hud.h"
#include "platform/clock.h"

void updateFpsCounterAt(float seconds)
{
    gFpsFrames += 1.0f;
    if (seconds - gFpsLastTime > 1.0f) {
        gFpsLastTime = seconds;
        std::snprintf(gFpsText, sizeof gFpsText, "Current Frames Per Second: %d", int(gFpsFrames));
        gFpsFrames = 0.0f;
    }
}

void updateFpsCounter()
{
    updateFpsCounterAt(float(double(float(platformTickCount())) * 0.001));
}
