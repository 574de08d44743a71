// SPDX-License-Identifier: MIT
// app: the display callback. One frame: camera, the scene, the HUD's bars and texts over it and
// the frame-rate counter, then the swap. It reads the state of play and changes none of it: the
// camera stands where the last step placed it.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include "app/app.h"
#include "player/camera_placement.h"
#include "app/frame_clock.h"
#include "game/game_state.h"
#include "game/hud.h"
#include "game/play_step.h"
#include "game/settings.h"
#include "platform/clock.h"
#include "player/camera.h"
#include "player/input.h"
#include "player/projectile_draw.h"
#include "player/throwing.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"
#include "streamer/streamer_draw.h"

void setFrameCamera()
{
    if (gBirdsEyeView)
        gluLookAt(0.0, kBirdsEyeHeight, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0);
    else
        gluLookAt(gEye.x, gEye.y, gEye.z, gLookAtPoint.x, gLookAtPoint.y, gLookAtPoint.z,
                  0.0, 1.0, 0.0);
}

// hidden by the near plane in the first-person view; marks the player from above
static void drawPlayerMarker()
{
    glPushMatrix();
    glTranslatef(gEye.x, gEye.y, gEye.z);
    glutSolidSphere(0.3, 4, 4);
    glPopMatrix();
}

// rolls, eggs and the owner are hidden while the camera turns and after the game
static bool projectilesHidden()
{
    return gGameOver || gTurning;
}

static void drawScene(const SceneParts& parts)
{
    drawPlayerMarker();
    if (!projectilesHidden())
        parts.rolls(gLevel);
    // the placeholder at index 0 is never drawn
    if (gStreamers.size() > 1)
        parts.streamers(gStreamers.data() + 1, gStreamers.size() - 1, gWireframe != 0);

    glPushMatrix();
    glTranslatef(-gYardOffset, 0.0f, -gYardOffset);
    if (gWorld) {
        // from 40 above the house the camera stands outside the sky dome, right over the moon,
        // which would fill the view; the yard is seen without them
        parts.world(*gWorld, gOwnerSeesPlayer, gLevel, leanLeftForDrawing(), leanRightForDrawing(),
                    !gBirdsEyeView);
    }
    glPopMatrix();

    // the assist: where a roll thrown now at the bar's power would come down, by its own flight
    if (gSettings.landingMarker && !gEggSelected && !gLevelOver && !projectilesHidden())
        drawLandingMarker(
            rollTouchPoint(gThrowPower, gViewDir, gLevel, float(kStepSeconds), kStepMs));
    if (!projectilesHidden()) {
        parts.eggs();
        if (gSpinEnabled)
            drawOwner(gSpinAngle, gSpinStep, gOwnerRadius);
    }
}

void drawFrame(const SceneParts& parts)
{
    beginFrameClock(platformProcessClockMs());

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    setFrameCamera();
    drawScene(parts);
    glPopMatrix();

    // over the finished scene, so nothing near the eye hides them
    drawHudBars();
    drawHudText();
    updateFpsCounter();
    gDrawEndClock = platformProcessClockMs();
    glutSwapBuffers();
    noteFrameShown();
}

void onDisplay()
{
    static const SceneParts kBatched{
        drawRolls, drawStreamers,
        [](World& world, bool ownerSees, int32_t level, int32_t left, int32_t right, bool sky) {
            world.draw(ownerSees, level, left, right, sky);
        },
        drawEggs};
    drawFrame(kBatched);
}
