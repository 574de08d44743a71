// SPDX-License-Identifier: MIT
// player: the first-person camera, the look drag and hiding beside the station. Plain globals,
// owned here, reset by resetCameraState().
#pragma once
#include <cstdint>

#include "common/house.h"
#include "common/vec.h"

extern float gCameraYaw;          // heading of the look direction, radians
extern float gCameraPitch;        // elevation of the look direction
// the player stands on this circle round the house; the station base is at gStationAngle on it
constexpr double kStationRadius = kYardOffset;

extern float gStationAngle;       // the player's position angle on the circle round the house
extern float gLookRadius;
extern float gHomeYaw;            // camera values saved when the player arrived at the station
extern float gHomePitch;
extern float gHomeStationAngle;
extern Vec3 gLookVector;          // look-at point relative to the station base
extern Vec3 gEyeLift;             // eye relative to the station base
extern Vec3 gHideShift;           // offset of eye and look-at point from hiding
extern Vec3 gUpVector;
extern Vec3 gViewDir;             // gLookVector - gEyeLift: where the player looks and throws
extern Vec3 gSideVector;          // points to the player's left
extern Vec3 gEye;
extern Vec3 gLookAtPoint;

extern float gHideLeftAmount;     // 0 down to -1.5
extern float gHideRightAmount;    // 0 up to +1.5
extern uint8_t gHideLeftOpen;     // stepping that way may still grow the amount
extern uint8_t gHideRightOpen;
extern uint8_t gReturnFromLeft;   // walking back from that side
extern uint8_t gReturnFromRight;

extern float gMouseX, gMouseY;    // last pointer position, pixels, y from the top
extern float gPressX, gPressY;    // pointer at the left-button press
extern float gPressYaw, gPressPitch;
extern float gYawDelta, gPitchDelta;
extern uint8_t gLooking;          // the left button is held for Look

void updateLookVector();
void clampLook();
// a pointer position in a window of the given size, in the look's normalised units
float pixelToViewX(int px, int32_t width, int32_t height);
float pixelToViewY(int py, int32_t width, int32_t height);
// one step aside, dtTick milliseconds after the last
void stepHideLeft(float dtTick);
void stepHideRight(float dtTick);
// the walk back after a lean key is released: one step, dtTick in milliseconds
void stepLeanReturn(float dtTick);
// the camera's writers for the rules: the turn between levels and the way back home
// one step of the turn to the next station; on arrival the view becomes the home of the level
void turnStation(double step, bool arrived);
// the camera back to where the level began, and any lean walked back
void restoreHomeCamera();
// the walk back from a lean to that side starts (the lean key was let go)
void beginLeanReturn(bool fromLeft);
void resetCameraState();
// the camera as a game starts: at the first station, eye at standing height, looking at the house
void placeCameraAtStart();
