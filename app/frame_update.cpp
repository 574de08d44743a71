// SPDX-License-Identifier: MIT
// app: the idle callback, the game's simulation. Paced to at most 60 calls a second; each call
// runs the fixed steps of play the wall clock owes (game/), then asks for one frame, unless the
// picture is held and nothing changed it. The game ends here, at a step (recorded and replayed
// games with their summary line).
#include "app/app.h"
#include "app/frame_clock.h"
#include "app/gamepad_input.h"
#include "app/play_session.h"
#include "app/score_keeping.h"
#include "game/input_queue.h"
#include "game/play_step.h"
#include "platform/clock.h"
#include "platform/redisplay.h"

void onIdle()
{
    paceIdleCall();
    serviceGamepads();
    const bool heldBefore = pictureHeld();
    const int64_t appliedBefore = appliedInputCount();
    for (int32_t owed = takeOwedSteps(gIdleCallStart); owed > 0; --owed) {
        if (playEnded() || replayHeld())
            break;
        runPlayStep();
        noteGameProgress();
    }
    if (playEnded() || windowGone())
        endPlay();
    refreshGameMenu();
    // the tick stamps of the idle calls; the steps themselves run on the fixed step
    gTickPrev = gTickNow;
    gTickNow = tickToFloat(platformTickCount());
    // paused or after GAME OVER a frame costs as much as in play, for the same picture; the one
    // that first shows the held state is drawn
    if (!heldBefore || !pictureHeld() || appliedInputCount() != appliedBefore)
        requestRedisplay();
}
