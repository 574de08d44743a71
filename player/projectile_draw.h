// player: drawing of the rolls in flight, the eggs and their splats, and the owner's figure.
#pragma once
#include <cstdint>

#include "player/projectile_placement.h"

// a roll's shape and an egg are the same every time: while set they are compiled once and
// replayed, and those out of sight are left out; else each is drawn afresh. Both give the same
// pixels.
extern bool gProjectileListDrawing;
// how many rolls and eggs in flight the last drawRolls and drawEggs left out as out of sight
extern int32_t gRollsOutOfSight;
extern int32_t gEggsOutOfSight;

// the rolls in flight, as they fly at the given level
void drawRolls(int32_t level);
void drawRollModel(float radius, float length);
void drawEggs();
// the owner at her walk's angle (degrees) and radius; she faces the same way all round
void drawOwner(float walkAngle, int32_t walkStep, float walkRadius);
