// SPDX-License-Identifier: MIT
// streamer: the container of every streamer and the strip's shared constants.
#include "streamer/paper_streamer.h"

#include <cstddef>

std::vector<PaperStreamer*> gStreamers;
uint32_t gStreamerHouseCollision = 0;  // start-up switches the house rule on
const float gSpringStrainScale = 1.7f;
const float gSpringForceScale = 0.0012f;

void addPlaceholderStreamer()
{
    // it is never simulated or drawn
    PaperStreamer* placeholder = new PaperStreamer(Vec3{0.0f, 0.0f, 0.0f}, Vec3{0.0f, 0.0f, 0.3f});
    placeholder->landed = 1;
    placeholder->roll = -1;
    gStreamers.push_back(placeholder);
}

void addStreamer(PaperStreamer* streamer)
{
    gStreamers.push_back(streamer);
}

void keepPlaceholderOnly()
{
    for (size_t i = 1; i < gStreamers.size(); ++i)
        delete gStreamers[i];
    if (!gStreamers.empty())
        gStreamers.resize(1);
}

void switchOnHouseCollision()
{
    gStreamerHouseCollision = 1;
}

void resetStreamerState()
{
    // streamers live for the whole run in the game; a reset (tests only) lets them go
    for (PaperStreamer* s : gStreamers)
        delete s;
    gStreamers.clear();
    gStreamerHouseCollision = 0;
}
