// SPDX-License-Identifier: MIT
// streamer: the container of every streamer and the strip's shared constants.
#include "streamer/paper_streamer.h"

std::vector<PaperStreamer*> gStreamers;
uint32_t gStreamerHouseCollision = 0;  // start-up switches the house rule on
const float gSpringStrainScale = 1.7f;
const float gSpringForceScale = 0.0012f;

void resetStreamerState()
{
    // streamers live for the whole run in the game; a reset (tests only) lets them go
    for (PaperStreamer* s : gStreamers)
        delete s;
    gStreamers.clear();
    gStreamerHouseCollision = 0;
}
