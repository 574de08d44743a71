// game: drawing of the head-up display. The bars are flat polygons 2 units in front of the eye,
// drawn before the scene so the scene fails the depth test behind them; the texts are bitmap
// characters over the whole window, drawn after the scene.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

#include "game/game_state.h"
#include "game/hud.h"
#include "player/input.h"
#include "player/throwing.h"

namespace {

constexpr float kBarDepth = -0.0001f;

struct Colour {
    float r, g, b;
};
constexpr Colour kTimeBlue{0.0f, 0.0f, 0.5f};
constexpr Colour kPowerRed{1.0f, 0.0f, 0.0f};
constexpr Colour kSightBlue{0.0f, 0.0f, 1.0f};
constexpr Colour kTextCyan{0.0f, 1.0f, 1.0f};

void beginBar(Colour colour, float x, float y)
{
    glDisable(GL_LIGHTING);
    glColor3f(colour.r, colour.g, colour.b);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(x, y, -2.0f);
}

void endBar()
{
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void barPolygon(float left, float bottom, float right, float top)
{
    glBegin(GL_POLYGON);
    glVertex3f(left, bottom, kBarDepth);
    glVertex3f(left, top, kBarDepth);
    glVertex3f(right, top, kBarDepth);
    glVertex3f(right, bottom, kBarDepth);
    glEnd();
}

void drawText(float x, float y, const char* text)
{
    glRasterPos3f(x, y, 0.0f);
    for (const char* c = text; *c; ++c)
        glutBitmapCharacter(GLUT_BITMAP_TIMES_ROMAN_24, *c);
}

}  // namespace

void drawHudBars()
{
    if (gGameOver)
        return;

    beginBar(kTimeBlue, 0.0f, 0.0f);
    barPolygon(-kFullTimeBar, 0.95f, gTimeBar, 1.0f);
    endBar();

    beginBar(kPowerRed, -0.35f, -0.1f);
    barPolygon(0.0f, 0.92f, gThrowPower, 1.0f);
    // the outline marks the full range of the power
    glBegin(GL_LINE_STRIP);
    glVertex3f(0.0f, 0.92f, kBarDepth);
    glVertex3f(0.0f, 1.0f, kBarDepth);
    glVertex3f(0.7f, 1.0f, kBarDepth);
    glVertex3f(0.7f, 0.92f, kBarDepth);
    glVertex3f(0.0f, 0.92f, kBarDepth);
    glEnd();
    // the sight: a small wire sphere just below the centre of the view
    glTranslatef(0.35f, 0.0f, 0.0f);
    glColor3f(kSightBlue.r, kSightBlue.g, kSightBlue.b);
    glutWireSphere(0.04, 5, 2);
    endBar();

    if (gTurning)
        return;
    // the marker stands under the counter of the selected ammunition
    beginBar(kPowerRed, gEggSelected ? 0.58f : -1.08f, -0.18f);
    barPolygon(0.0f, 0.98f, 0.5f, 1.0f);
    endBar();
}

void drawHudText()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    // the texts lie over the whole window: a cover object right in front of the eye must not
    // swallow them
    glDisable(GL_DEPTH_TEST);

    if (gShowFps) {
        glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);
        drawText(0.03f, 0.03f, gFpsText);
    }

    char text[64];
    if (gLevelOver == 0) {
        glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);
        drawText(0.03f, 0.96f, "Time Left:");
        std::snprintf(text, sizeof text, "Level: %d", gLevel);
        drawText(0.85f, 0.96f, text);
        std::snprintf(text, sizeof text, "Rolls Left: %d", gRollsLeft);
        drawText(0.03f, 0.86f, text);
        std::snprintf(text, sizeof text, "Eggs Left: %d", gEggsLeft);
        drawText(0.75f, 0.86f, text);
        drawText(0.335f, 0.82f, "-<POWER BAR>-");
    } else if (gGameOver == 1) {
        glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);
        drawText(0.35f, 0.6f, "GAME OVER!!!");
        std::snprintf(text, sizeof text, "SCORE: %d", gScore);
        drawText(0.38f, 0.5f, text);
    } else if (gTurning == 1) {
        glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);
        std::snprintf(text, sizeof text, "LEVEL %i COMPLETE!", gLevel - 1);
        drawText(0.28f, 0.6f, text);
        std::snprintf(text, sizeof text, "SCORE: %d", gScore);
        drawText(0.38f, 0.5f, text);
    }

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}
