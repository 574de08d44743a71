// SPDX-License-Identifier: MIT
// player: where the drawing puts a roll and a splat.
#include "player/projectile_placement.h"

#include "common/house.h"
#include "player/throwing.h"

constexpr double kDegreesPerRadian = 57.29579143313326;  // 180 / kGamePi

double rollHeadingDegrees(Vec3 direction, int32_t level)
{
    Vec3 heading = vecNormalize(Vec3{direction.x, 0.0f, direction.z});
    double angle = vecAngle(Vec3{1, 0, 0}, heading) * kDegreesPerRadian;
    // the angle has no sign; from the stations of levels 1 and 2 the house lies towards +z
    return level <= 2 ? -angle : angle;
}

SplatPlacement splatPlacement(const EggRecord& egg)
{
    using namespace house::splat;
    const Vec3& at = egg.position;
    const Vec3& before = egg.previousPosition;
    if (before.z < kBackWallZ)
        return {1, true, Vec3{before.x, before.y, kBackSplatZ}, false};
    if (at.x < -kSideWallX)
        return {2, true, Vec3{-kSideSplatX, before.y, before.z}, true};
    if (at.x > kSideWallX)
        return {3, true, Vec3{kSideSplatX, before.y, before.z}, true};
    if (at.z > kPorchFrontZ)
        return {4, true, Vec3{before.x, before.y, kPorchSplatZ}, false};
    if (at.z > kMainFrontZ)
        return {5, true, Vec3{before.x, before.y, kMainSplatZ}, false};
    return {6, false, Vec3{0, 0, 0}, false};
}
