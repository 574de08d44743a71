// player: the keyboard and mouse callbacks. They only change globals; the next idle and display
// calls pick the changes up.
#include "player/input.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdlib>

#include "app/app.h"
#include "game/game_state.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/throwing.h"
#include "scene/world.h"

constexpr int32_t kGameOverLevel = 5;
constexpr float kFullTimeBar = 0.98f;
constexpr float kResetYaw = 1.570796f;  // pi/2 as the game stores it
constexpr float kEyeHeight = 1.5f;

// during a turn, between levels and after the game, the player can neither hide nor look
static bool inputFrozen()
{
    return gLevelOver || gTurning || gGameOver;
}

// Advance Turn: ends the level at once without scoring it and starts the turn to the next
// station from the home angles
static void advanceTurn()
{
    // there is no level after the last one
    if (gLevel < kGameOverLevel)
        gLevel += 1;
    gTurning = 1;
    gLevelOver = 1;
    gTimeBar = kFullTimeBar;
    gThrowPower = 0.0f;
    if (gLevel == kGameOverLevel)
        gGameOver = 1;
    gCameraYaw = gHomeYaw;
    gCameraPitch = gHomePitch;
    gStationAngle = gHomeStationAngle;
    updateLookVector();
    gReturnFromLeft = gReturnFromRight = 1;
    requestRedisplay();
}

static void toggleWireframe()
{
    if (gWorld)
        gWorld->toggleWireframe();
    gWireframe = gWireframe == 0 ? 1 : 0;
}

void onKeyboard(unsigned char key, int, int)
{
    switch (key) {
    // a held key repeats its press and is released once (the shell asks X for that)
    case 'A': case 'a':
        if (inputFrozen())
            return;
        stepHideLeft();
        requestRedisplay();
        return;
    case 'D': case 'd':
        if (inputFrozen())
            return;
        stepHideRight();
        requestRedisplay();
        return;
    case 'C': case 'c':
        advanceTurn();
        return;
    // the toggles show with the next frame the idle loop draws
    case 'E': case 'e':
        gBirdsEyeView = !gBirdsEyeView;
        return;
    case 'F': case 'f':
        gShowFps = !gShowFps;
        return;
    case 'H': case 'h':
        printHelp();
        return;
    case 'Q': case 'q':
        std::exit(0);
    case 'l':
        gOwnerSeesPlayer = !gOwnerSeesPlayer;
        return;
    case 'm':
        toggleWireframe();
        return;
    default:
        return;
    }
}

void onKeyboardUp(unsigned char key, int, int)
{
    if (inputFrozen())
        return;
    if (key == 'A' || key == 'a') {
        gReturnFromLeft = 1;
        requestRedisplay();
    } else if (key == 'D' || key == 'd') {
        gReturnFromRight = 1;
        requestRedisplay();
    }
}

// the camera straight at the house's side wall from the first station, eye back on the station
static void resetCamera()
{
    gCameraPitch = 0.0f;
    gCameraYaw = kResetYaw;
    gHideShift = Vec3{0, 0, 0};
    gEyeLift = Vec3{0, kEyeHeight, 0};
    updateLookVector();
}

void onSpecial(int key, int, int)
{
    if (key == GLUT_KEY_F1) {
        gEggSelected = !gEggSelected;
        requestRedisplay();
    } else if (key == GLUT_KEY_HOME) {
        resetCamera();
        requestRedisplay();
    }
}

// the drag so far, from the press point to (gMouseX, gMouseY); y is flipped so that up is
// positive
static void measureDrag()
{
    const float top = float(gWindowHeight - 1);
    gYawDelta = pixelToViewX(int(std::trunc(gMouseX))) - pixelToViewX(int(std::trunc(gPressX)));
    gPitchDelta = pixelToViewY(int(std::trunc(top - gMouseY))) -
                  pixelToViewY(int(std::trunc(top - gPressY)));
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

static void onLeftButton(int state, int x, int y)
{
    if (inputFrozen()) {
        // a release still ends the Look, or a later drag would steer from a stale press
        if (state == GLUT_UP)
            gLooking = 0;
        return;
    }
    if (state == GLUT_DOWN) {
        gPressX = float(x);
        gPressY = float(y);
        gPressYaw = gCameraYaw;
        gPressPitch = gCameraPitch;
        gLooking = 1;
        clampLook();
        updateLookVector();
    } else {
        gMouseX = float(x);
        gMouseY = float(y);
        measureDrag();
        if (gLooking) {
            gLooking = 0;
            lookFromPress();
        }
    }
    requestRedisplay();
}

void onMouse(int button, int state, int x, int y)
{
    if (button == GLUT_LEFT_BUTTON)
        onLeftButton(state, x, y);
    else if (button == GLUT_RIGHT_BUTTON)
        onThrowButton(state == GLUT_DOWN ? 1 : 0);
    // the middle button belongs to the menu
}

void onMotion(int x, int y)
{
    if (inputFrozen())
        return;
    gMouseX = float(x);
    gMouseY = float(y);
    measureDrag();
    if (gLooking)
        lookFromPress();
    requestRedisplay();
}
