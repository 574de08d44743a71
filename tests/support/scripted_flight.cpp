// SPDX-License-Identifier: MIT
// tests: the scripted roll flight.
#include "tests/support/scripted_flight.h"

#include "player/throwing.h"
#include "streamer/paper_streamer.h"

void flyScriptedRoll(ScriptedFlight& f, RollRecord& roll, PaperStreamer* s, float seconds)
{
    if (!roll.active)
        return;
    f.position = vecAdd(f.position, vecScale(f.velocity, seconds));
    f.velocity.y -= 9.8f * seconds;
    s->at(0, 0).position = vecAdd(f.position, vecScale(f.side, 0.15f));
    s->at(1, 0).position = vecSub(f.position, vecScale(f.side, 0.15f));
    if (f.position.y <= 0.0f)
        roll.active = 0;
}
