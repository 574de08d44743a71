// SPDX-License-Identifier: MIT
// app: the starting values start-up gives the shared globals, and the placeholder streamer.
#include "app/app.h"
#include "common/house.h"
#include "game/game_state.h"
#include "player/camera.h"
#include "player/input.h"
#include "streamer/paper_streamer.h"

constexpr float kOwnerWalkRadius = 15.0f;

void assignStartingValues()
{
    placeCameraAtStart();
    gOwnerRadius = kOwnerWalkRadius;
    gSpinStep = 1;
    gYardOffset = float(kYardOffset);
    gShowFps = 0;
    gOwnerSeesPlayer = 0;
    gStreamerHouseCollision = 1;
    gWireframe = 0;
}

void addPlaceholderStreamer()
{
    // element 0 only keeps the score's baseline; it is never simulated or drawn
    PaperStreamer* placeholder = new PaperStreamer(Vec3{0.0f, 0.0f, 0.0f}, Vec3{0.0f, 0.0f, 0.3f});
    placeholder->landed = 1;
    placeholder->roll = -1;
    gStreamers.push_back(placeholder);
}
