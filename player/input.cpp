// SPDX-License-Identifier: MIT
// player: the keyboard and mouse callbacks, and the player's side of what they do: Look,
// the camera reset and the wireframe switch.
#include "player/input.h"

#include <cmath>

#include "player/camera.h"
#include "scene/world.h"

constexpr float kResetYaw = 1.570796f;  // pi/2 as the game stores it
constexpr float kEyeHeight = 1.5f;

static void (*sInputHandler)(const InputEvent&) = nullptr;

void setInputHandler(void (*handler)(const InputEvent& event))
{
    sInputHandler = handler;
}

static void deliver(InputKind kind, int32_t code, int32_t state, int x, int y)
{
    if (sInputHandler)
        sInputHandler(InputEvent{kind, code, state, x, y});
}

void onKeyboard(unsigned char key, int x, int y) { deliver(InputKind::KeyDown, key, 0, x, y); }
void onKeyboardUp(unsigned char key, int x, int y) { deliver(InputKind::KeyUp, key, 0, x, y); }
void onSpecial(int key, int x, int y) { deliver(InputKind::SpecialKey, key, 0, x, y); }
void onSpecialUp(int key, int x, int y) { deliver(InputKind::SpecialKeyUp, key, 0, x, y); }
void onMouse(int button, int state, int x, int y) { deliver(InputKind::Button, button, state, x, y); }
void onMotion(int x, int y) { deliver(InputKind::Drag, 0, 0, x, y); }
void onWindowStatus(int state) { deliver(InputKind::WindowStatus, state, 0, 0, 0); }

void toggleWireframe()
{
    if (gWorld)
        gWorld->toggleWireframe();
    gWireframe = gWireframe == 0 ? 1 : 0;
}

void toggleBirdsEyeView()
{
    gBirdsEyeView = !gBirdsEyeView;
}

void toggleFpsCounter()
{
    gShowFps = !gShowFps;
}

void startWithTogglesOff()
{
    gShowFps = 0;
    gWireframe = 0;
}

void resetCamera()
{
    gCameraPitch = 0.0f;
    gCameraYaw = kResetYaw;
    gHideShift = Vec3{0, 0, 0};
    gEyeLift = Vec3{0, kEyeHeight, 0};
    updateLookVector();
}

// the drag so far, from the press point to (gMouseX, gMouseY); y is flipped so that up is
// positive
static void measureDrag(int32_t width, int32_t height)
{
    const float top = float(height - 1);
    gYawDelta = pixelToViewX(int(std::trunc(gMouseX)), width, height) -
                pixelToViewX(int(std::trunc(gPressX)), width, height);
    gPitchDelta = pixelToViewY(int(std::trunc(top - gMouseY)), width, height) -
                  pixelToViewY(int(std::trunc(top - gPressY)), width, height);
    gYawDelta *= gLookScale;
    gPitchDelta *= gLookInverted ? -gLookScale : gLookScale;
}

// the angles are always the press angles plus the drag, so a drag never accumulates
static void lookFromPress()
{
    gCameraYaw = gPressYaw + gYawDelta;
    gCameraPitch = gPressPitch + gPitchDelta;
    clampLook();
    gYawDelta = gPitchDelta = 0.0f;
    updateLookVector();
}

void beginLook(int x, int y)
{
    gPressX = float(x);
    gPressY = float(y);
    gPressYaw = gCameraYaw;
    gPressPitch = gCameraPitch;
    gLooking = 1;
    clampLook();
    updateLookVector();
}

void followLook(int x, int y, int32_t width, int32_t height, bool release)
{
    gMouseX = float(x);
    gMouseY = float(y);
    measureDrag(width, height);
    if (!gLooking)
        return;
    if (release)
        gLooking = 0;
    lookFromPress();
}

void cancelLook()
{
    gLooking = 0;
}

void setLookSettings(float scale, bool inverted)
{
    gLookScale = scale;
    gLookInverted = inverted ? 1 : 0;
}

void turnLook(float yaw, float pitch)
{
    gCameraYaw += yaw;
    gCameraPitch += pitch;
    clampLook();
    updateLookVector();
}
