// SPDX-License-Identifier: MIT
// tests: stepPlay with the full-scan streamer step.
#include "tests/support/literal_step.h"

#include <cstddef>
#include <cstdint>

#include "game/game_state.h"
#include "game/play_step.h"
#include "game/rules.h"
#include "player/camera.h"
#include "player/throwing.h"
#include "streamer/paper_streamer.h"
#include "tests/support/full_scan_streamer.h"

void stepPlayFullScan()
{
    if (gPaused)
        return;
    updateOwnerSight();
    updateLevelClock(kStepMs);
    if (!gGameOver && !gTurning) {
        updateRolls(float(kStepSeconds), gLevel);
        for (int32_t strikes = updateEggs(float(kStepSeconds), gLevel); strikes > 0; --strikes)
            scorePlantStrike(gLevel);
    }
    if (!gGameOver && gTurning)
        stepTurn();
    if (gCharging)
        stepPowerBar();
    stepLeanReturn(kStepMs);
    stepOwnerWalk();
    for (size_t i = 1; i < gStreamers.size(); ++i)
        sinkStreamer(gStreamers[i], kStepMs, rollFlying(gStreamers[i]->roll));
    for (size_t i = 1; i < gStreamers.size(); ++i) {
        PaperStreamer* s = gStreamers[i];
        if (updateStreamerFullScan(s, kStepMs, rollFlying(s->roll)))
            stopRoll(s->roll);
    }
}
