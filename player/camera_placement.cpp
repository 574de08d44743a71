// SPDX-License-Identifier: MIT
// player: the first-person camera's placement. The eye and the point looked at share the station
// base and the hiding shift; both stand on the ground height under the eye.
#include "player/camera_placement.h"

#include "common/exact_math.h"
#include "common/vec.h"
#include "player/camera.h"
#include "scene/world.h"

void placeCamera(const World* world)
{
    float baseX = float(vxCos(double(gStationAngle)) * kStationRadius);
    float baseZ = float(vxSin(double(gStationAngle)) * kStationRadius);

    gEye.x = baseX + gHideShift.x + gEyeLift.x;
    gEye.z = baseZ + gHideShift.z + gEyeLift.z;
    float ground = world ? world->groundHeight(gEye.x, gEye.z) : 0.0f;
    gEye.y = ground + gHideShift.y + gEyeLift.y;

    gLookAtPoint.x = baseX + gLookVector.x + gHideShift.x;
    gLookAtPoint.z = baseZ + gLookVector.z + gHideShift.z;
    gLookAtPoint.y = ground + gLookVector.y + gHideShift.y;
}

void updateViewVectors()
{
    gViewDir = vecSub(gLookVector, gEyeLift);
    gUpVector = Vec3{0.0f, 1.0f, 0.0f};
    gSideVector = vecNormalize(vecCross(gUpVector, gViewDir));
}

int32_t leanLeftForDrawing()
{
    return int32_t(double(gHideLeftAmount) - 0.99);
}

int32_t leanRightForDrawing()
{
    return int32_t(double(gHideRightAmount) + 0.99);
}
