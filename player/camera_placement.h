// SPDX-License-Identifier: MIT
// player: where the camera stands each step, from the station, the hiding shift and the ground.
#pragma once
#include <cstdint>

class World;

constexpr float kBirdsEyeHeight = 40.0f;

// gEye and gLookAtPoint from the station, the hiding shift and the ground under the eye; without
// a world the ground is flat at 0
void placeCamera(const World* world);
// gViewDir, gUpVector and gSideVector, which throwing and hiding use
void updateViewVectors();
// the lean amounts as the world's drawing takes them: non-zero from a lean of 0.01 on
int32_t leanLeftForDrawing();
int32_t leanRightForDrawing();
