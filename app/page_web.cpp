// SPDX-License-Identifier: MIT
// app: what the page (app/web/page.js) reads of the running game.
#include <emscripten.h>

#include "game/play_step.h"

// the fixed steps run so far, for the page's vx.steps()
extern "C" EMSCRIPTEN_KEEPALIVE double vx_step_count()
{
    return double(gStepCount);
}
