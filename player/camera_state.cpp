// SPDX-License-Identifier: MIT
// player: definitions and start values of the camera, hiding and mouse-look state.
#include "player/camera.h"

float gCameraYaw;
float gCameraPitch;
float gStationAngle;
float gLookRadius;
float gHomeYaw;
float gHomePitch;
float gHomeStationAngle;
Vec3 gLookVector;
Vec3 gEyeLift;
Vec3 gHideShift;
Vec3 gUpVector;
Vec3 gViewDir;
Vec3 gSideVector;
Vec3 gEye;
Vec3 gLookAtPoint;

float gHideLeftAmount;
float gHideRightAmount;
uint8_t gHideLeftOpen;
uint8_t gHideRightOpen;
uint8_t gReturnFromLeft;
uint8_t gReturnFromRight;

float gMouseX, gMouseY;
float gPressX, gPressY;
float gPressYaw, gPressPitch;
float gYawDelta, gPitchDelta;
uint8_t gLooking;

void resetCameraState()
{
    gCameraYaw = gCameraPitch = 0.785398f;
    gHomeYaw = gHomePitch = 0.785398f;
    gStationAngle = gHomeStationAngle = 3.92699f;
    gLookRadius = 1.0f;
    // start-up computes the look vector and sets the eye lift
    gLookVector = gEyeLift = gHideShift = Vec3{0, 0, 0};
    gUpVector = Vec3{0, 1, 0};
    gViewDir = gSideVector = gEye = gLookAtPoint = Vec3{0, 0, 0};
    gHideLeftAmount = gHideRightAmount = 0.0f;
    gHideLeftOpen = gHideRightOpen = 1;
    gReturnFromLeft = gReturnFromRight = 0;
    gMouseX = gMouseY = gPressX = gPressY = 0.0f;
    gPressYaw = gPressPitch = gYawDelta = gPitchDelta = 0.0f;
    gLooking = 0;
}

void placeCameraAtStart()
{
    resetCameraState();
    gEyeLift = Vec3{0.0f, 1.5f, 0.0f};
    updateLookVector();
}

static const bool sInitialised = (resetCameraState(), true);
