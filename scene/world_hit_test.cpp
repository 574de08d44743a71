// SPDX-License-Identifier: MIT
// scene: whether a thrown item has struck one of the level's plants or the house.
#include <algorithm>
#include <cmath>

#include "common/house.h"
#include "scene/world.h"

namespace {

// the projectiles fly in the house-centred frame; the World's placements are in the yard frame
// (kYardOffset)
constexpr double kPlantRadius = 0.8;
constexpr double kPlantCentreLift = 0.22;  // the sphere sits on the pot, a little above its base

// the house is two boxes, its walls: the main block, and the porch along its +z side
constexpr float kHouseHalfWidth = house::walls::kHalfWidth;
constexpr float kHouseHeight = house::walls::kMainHeight;
constexpr float kHouseBack = house::walls::kBackZ;
constexpr float kHouseFront = house::walls::kFrontZ;
constexpr float kPorchHeight = house::walls::kPorchHeight;
constexpr float kPorchFront = house::walls::kPorchZ;

}  // namespace

int32_t World::hitTest(Vec3 point, int32_t level, bool probeOnly)
{
    // plants first: an egg on a plant against the wall still scores the plant
    int last = std::min<int>(kLastPlant, int(placements.size()) - 1);
    for (int i = kFirstPlant; i <= last; ++i) {
        Placement& plant = *placements[i];
        if (plant.group != level || !plant.visible)
            continue;
        double dx = plant.position.x - kYardOffset - point.x;
        double dy = plant.position.y + kPlantCentreLift - point.y;
        double dz = plant.position.z - kYardOffset - point.z;
        if (std::sqrt(dx * dx + dy * dy + dz * dz) < kPlantRadius) {
            if (!probeOnly)
                plant.visible = false;  // knocked out for the rest of the game
            return 1;
        }
    }

    bool withinWidth = -kHouseHalfWidth < point.x && point.x < kHouseHalfWidth;
    if (withinWidth && 0.0f < point.y && point.y < kHouseHeight && kHouseBack < point.z &&
        point.z < kHouseFront)
        return 2;
    if (withinWidth && 0.0f < point.y && point.y < kPorchHeight && kHouseFront < point.z &&
        point.z < kPorchFront)
        return 2;
    return 0;
}
