// player: drawing of the rolls in flight, the eggs and their splats, and the owner's figure.
#pragma once
#include <cstdint>

#include "common/vec.h"

struct EggRecord;
struct RollRecord;

// how many rolls and eggs in flight the last drawRolls and drawEggs left out as out of sight
extern int32_t gRollsOutOfSight;
extern int32_t gEggsOutOfSight;

// a roll's shape and an egg are the same every time: they are compiled once and replayed, and
// those out of sight are left out
void drawRolls();
void drawRollModel(float radius, float length);
void drawEggs();

// the pieces drawRolls and drawEggs are made of, the shapes drawn afresh: the transform (and
// colour) of one roll or egg in flight, then its shape; the splat of an egg that struck a wall
void placeRoll(const RollRecord& roll);
void drawRollShape();
void placeEgg(const EggRecord& egg);
void drawEggShape();
void drawSplat(const EggRecord& egg);
// draws the owner and, right after, decides whether she sees the player
void drawOwner();

// the turn about y, in degrees, that lays a roll flying along direction across its flight at
// the given level (the unsigned angle to +x, negated for the stations that look towards +z)
double rollHeadingDegrees(Vec3 direction, int32_t level);

// where a splat goes on the wall an egg struck: the first rule (1..6) that applies to the egg,
// the corner of the splat, and whether it lies on a wall facing x (turned 90 degrees)
struct SplatPlacement {
    int rule;
    bool translated;  // rule 6 leaves the splat untranslated
    Vec3 corner;
    bool facesX;
};
SplatPlacement splatPlacement(const EggRecord& egg);
