// SPDX-License-Identifier: MIT
// player: drawing of the rolls in flight, the eggs and their splats, and the owner's figure.
#pragma once
#include <cstdint>

#include "player/projectile_placement.h"

struct RollRecord;

// how many rolls and eggs in flight the last drawRolls and drawEggs left out as out of sight
extern int32_t gRollsOutOfSight;
extern int32_t gEggsOutOfSight;

// the rolls in flight, as they fly at the given level. A roll's shape and an egg are the same
// every time: they are compiled once and replayed, and those out of sight are left out
void drawRolls(int32_t level);
void drawRollModel(float radius, float length);
void drawEggs();

// the pieces drawRolls and drawEggs are made of, the shapes drawn afresh: the transform (and
// colour) of one roll or egg in flight, then its shape; the splat of an egg that struck a wall
void placeRoll(const RollRecord& roll, int32_t level);
void drawRollShape();
void placeEgg(const EggRecord& egg);
void drawEggShape();
void drawSplat(const EggRecord& egg);
// the landing marker: a small bright ball in a ring, where a roll thrown now would come down
void drawLandingMarker(Vec3 at);
// the owner at her walk's angle (degrees) and radius; she faces the same way all round
void drawOwner(float walkAngle, int32_t walkStep, float walkRadius);
