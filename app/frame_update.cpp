// SPDX-License-Identifier: MIT
// app: the idle callback, the game's simulation. Paced to at most 60 calls a second; each call
// runs the fixed steps of play the wall clock owes (game/), then asks for one frame. The game
// ends here, at a step (recorded and replayed games with their summary line).
#include "app/app.h"
#include "app/frame_clock.h"
#include "app/play_session.h"
#include "game/play_step.h"
#include "platform/clock.h"
#include "platform/redisplay.h"

void onIdle()
{
    paceIdleCall();
    for (int32_t owed = takeOwedSteps(gIdleCallStart); owed > 0; --owed) {
        if (playEnded())
            break;
        runPlayStep();
    }
    if (playEnded())
        endPlay();
    // the tick stamps of the idle calls; the steps themselves run on the fixed step
    gTickPrev = gTickNow;
    gTickNow = tickToFloat(platformTickCount());
    requestRedisplay();
}
