// SPDX-License-Identifier: MIT
// player: the look direction from the camera angles, the look limits, pointer scaling, and
// hiding beside the station (stepping out on a key, walking back after its release).
#include "player/camera.h"

#include <cstdio>

#include "common/exact_math.h"
#include "common/house.h"

// the limits are fractions of the game's pi, not of full-precision pi
constexpr double kYawLimit = kGamePi / 6;        // either side of the home heading
constexpr double kPitchLimit = kGamePi / 3;
constexpr float kPitchMax = 1.0471973f;          // the f32 the pitch stops at
constexpr float kLookPointLift = 1.0f;           // look-at point above the station base
constexpr float kHideLimit = 1.5f;               // furthest step to either side
constexpr double kHideRate = 0.004;              // units per millisecond, out and back
constexpr float kHideDrop = 0.5f;                // the eye sinks half the sideways step

void updateLookVector()
{
    const double yaw = gCameraYaw, pitch = gCameraPitch, r = gLookRadius;
    gLookVector.x = float(vxCos(pitch) * vxCos(yaw) * r);
    gLookVector.y = float(vxSin(pitch) * r + kLookPointLift);
    gLookVector.z = float(vxSin(yaw) * vxCos(pitch) * r);
}

void clampLook()
{
    if (gHomeYaw - gCameraYaw >= kYawLimit)
        gCameraYaw = float(gHomeYaw - kYawLimit);
    else if (gCameraYaw - gHomeYaw >= kYawLimit)
        gCameraYaw = float(gHomeYaw + kYawLimit);

    if (gCameraPitch <= 0.0f)
        gCameraPitch = 0.0f;
    else if (gCameraPitch >= kPitchLimit)
        gCameraPitch = kPitchMax;
}

// a window not yet sized (or shrunk to nothing) gives no look movement rather than infinities
// that would stick in the camera angles
float pixelToViewX(int px, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return 0.0f;
    const double w = width, h = height;
    return float((2.0 * (px - (w - 1) / 2) / w) * (w / h));
}

float pixelToViewY(int py, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return 0.0f;
    const double h = height;
    return float(2.0 * (py - (h - 1) / 2) / h);
}

// a clock that ran backwards gives no step
static float hideStepTime(float dtTick)
{
    return dtTick > 0.0f ? dtTick : 0.0f;
}

// moves the eye sideways by t along minus the side vector and down by half of |t|;
// sinkSign says which way t's sign lowers the eye
static void shiftEye(float t, float sinkSign)
{
    gHideShift.x -= gSideVector.x * t;
    gHideShift.y += sinkSign * gUpVector.y * t * kHideDrop;
    gHideShift.z -= gSideVector.z * t;
}

void stepHideLeft(float dtTick)
{
    // a closed side (reached the limit, not yet back home) leaves the eye where the amount says
    // it is, so the walk back still ends at the station
    if (!gHideLeftOpen || gHideLeftAmount <= -kHideLimit) {
        gHideLeftOpen = 0;
        return;
    }
    const float t = float(hideStepTime(dtTick) * -kHideRate);
    gHideLeftAmount += t;
    if (gHideLeftAmount <= -kHideLimit) {
        // the step stops at the limit, and that step leaves the eye alone
        gHideLeftAmount = -kHideLimit;
        gHideLeftOpen = 0;
        return;
    }
    shiftEye(t, 1.0f);  // t < 0: to the player's left and down
}

void stepHideRight(float dtTick)
{
    if (!gHideRightOpen || gHideRightAmount >= kHideLimit) {
        gHideRightOpen = 0;
        return;
    }
    const float t = float(hideStepTime(dtTick) * kHideRate);
    gHideRightAmount += t;
    if (gHideRightAmount >= kHideLimit) {
        gHideRightAmount = kHideLimit;
        gHideRightOpen = 0;
        return;
    }
    shiftEye(t, -1.0f);  // t > 0: to the player's right and down
}

// The steps out and back differ in size and the ones that reach a limit do not move the eye,
// so the eye would end a little off the station after every lean; back home on both sides it
// stands on the station again.
static void settleOnStation()
{
    if (gHideLeftAmount == 0.0f && gHideRightAmount == 0.0f)
        gHideShift = Vec3{0, 0, 0};
}

static void returnFromLeft(float dtTick)
{
    if (gHideLeftAmount < 0.0f) {
        float s = float(dtTick * kHideRate);
        if (s > -gHideLeftAmount)
            s = -gHideLeftAmount;
        gHideLeftAmount += s;
        // the step that arrives home leaves the eye alone
        if (gHideLeftAmount < 0.0f)
            shiftEye(s, 1.0f);
        return;
    }
    gReturnFromLeft = 0;
    gHideLeftOpen = 1;
    gHideLeftAmount = 0.0f;
    settleOnStation();
}

static void returnFromRight(float dtTick)
{
    if (gHideRightAmount > 0.0f) {
        std::printf("%f\n", gHideRightAmount);
        float s = float(dtTick * kHideRate);
        if (s > gHideRightAmount)
            s = gHideRightAmount;
        gHideRightAmount -= s;
        if (gHideRightAmount > 0.0f)
            shiftEye(-s, -1.0f);
        return;
    }
    gReturnFromRight = 0;
    gHideRightOpen = 1;
    gHideRightAmount = 0.0f;
    settleOnStation();
}

// this station's view becomes the home the look is limited round and a turn comes back to
static void arriveHome()
{
    gHomePitch = gCameraPitch;
    gHomeYaw = gCameraYaw;
    gHomeStationAngle = gStationAngle;
}

void turnStation(double step, bool arrived)
{
    gStationAngle = float(gStationAngle + step);
    gCameraYaw = float(gCameraYaw + step);
    if (arrived)
        arriveHome();
    gPressPitch = gCameraPitch;
    gPressYaw = gCameraYaw;
    if (gCameraPitch <= 0.0f)
        gCameraPitch = 0.0f;
    updateLookVector();
}

void beginLeanReturn(bool fromLeft)
{
    if (fromLeft)
        gReturnFromLeft = 1;
    else
        gReturnFromRight = 1;
}

void restoreHomeCamera()
{
    gCameraYaw = gHomeYaw;
    gCameraPitch = gHomePitch;
    gStationAngle = gHomeStationAngle;
    beginLeanReturn(true);
    beginLeanReturn(false);
    updateLookVector();
}

void stepLeanReturn(float dtTick)
{
    if (dtTick < 0.0f)
        dtTick = 0.0f;
    if (gReturnFromLeft)
        returnFromLeft(dtTick);
    if (gReturnFromRight)
        returnFromRight(dtTick);
}
