// SPDX-License-Identifier: MIT
// player: where the drawing puts a roll and a splat. Plain geometry, no drawing.
#pragma once
#include <cstdint>

#include "common/vec.h"

struct EggRecord;

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
