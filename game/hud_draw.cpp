// SPDX-License-Identifier: MIT
// game: drawing of the head-up display, over the scene. The bars keep the shapes they had as flat
// polygons 2 units in front of the eye under the game's 60 degree perspective, but seen through
// a square view of their own stretched over the whole window, as the texts' window fractions
// are; in a square window that is the frame's own projection, so they cover the same pixels.
// Nothing of the scene can hide them: they and the texts are drawn last, without depth test.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <string>

#include "game/controls.h"
#include "game/game_state.h"
#include "game/hud.h"
#include "game/rules.h"
#include "game/settings.h"
#include "player/input.h"
#include "player/throwing.h"

namespace {

constexpr float kBarDepth = -0.0001f;
constexpr double kHudFieldOfView = 60.0;  // the frame's
constexpr double kHudNear = 0.5;
constexpr double kHudFar = 73.0;
// below this many pixels either way the 24-point texts run into each other
constexpr int kSmallWindowSide = 320;

struct Colour {
    float r, g, b;
};
constexpr Colour kTimeBlue{0.0f, 0.0f, 0.5f};
constexpr Colour kPowerRed{1.0f, 0.0f, 0.0f};
constexpr Colour kSightBlue{0.0f, 0.0f, 1.0f};
constexpr Colour kTextCyan{0.0f, 1.0f, 1.0f};

struct WindowSize {
    int width, height;
};

WindowSize viewportSize()
{
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return WindowSize{viewport[2] > 0 ? viewport[2] : 1, viewport[3] > 0 ? viewport[3] : 1};
}

void* textFont(WindowSize window)
{
    if (window.width < kSmallWindowSide || window.height < kSmallWindowSide)
        return GLUT_BITMAP_TIMES_ROMAN_10;
    return GLUT_BITMAP_TIMES_ROMAN_24;
}

// the projection and model view pushed; endOverlay pops them
void beginOverlay()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
}

void endOverlay()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void beginModelView()
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
}

void beginBar(Colour colour, float x, float y)
{
    glColor3f(colour.r, colour.g, colour.b);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(x, y, -2.0f);
}

void endBar()
{
    glPopMatrix();
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

void drawText(void* font, float x, float y, const char* text)
{
    glRasterPos3f(x, y, 0.0f);
    for (const char* c = text; *c; ++c)
        glutBitmapCharacter(font, *c);
}

// a line centred across the window
void drawCentred(void* font, WindowSize window, float y, const char* text)
{
    int width = glutBitmapLength(font, reinterpret_cast<const unsigned char*>(text));
    drawText(font, 0.5f - 0.5f * float(width) / float(window.width), y, text);
}

// the controls' panel: dark, see-through, over the middle of the window under the HUD's texts
constexpr float kPanelLeft = 0.08f, kPanelRight = 0.92f;
constexpr float kPanelTop = 0.74f, kPanelBottom = 0.06f;
constexpr float kKeysColumn = 0.11f, kWhatColumn = 0.40f;

void* controlsFont(WindowSize window)
{
    if (window.width < kSmallWindowSide || window.height < kSmallWindowSide)
        return GLUT_BITMAP_HELVETICA_10;
    return window.width < 520 ? GLUT_BITMAP_HELVETICA_12 : GLUT_BITMAP_HELVETICA_18;
}

int fontPixels(void* font)
{
    if (font == GLUT_BITMAP_HELVETICA_10)
        return 13;
    return font == GLUT_BITMAP_HELVETICA_12 ? 16 : 24;
}

void drawPanel()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.1f, 0.75f);
    glBegin(GL_QUADS);
    glVertex2f(kPanelLeft, kPanelBottom);
    glVertex2f(kPanelRight, kPanelBottom);
    glVertex2f(kPanelRight, kPanelTop);
    glVertex2f(kPanelLeft, kPanelTop);
    glEnd();
    glDisable(GL_BLEND);
}

// the title, the controls as bound and how to go on, on the panel
void drawControls(void* titleFont, WindowSize window, const char* title)
{
    drawPanel();
    void* font = controlsFont(window);
    const float line = float(fontPixels(font)) / float(window.height);
    glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);
    const int titlePixels = titleFont == GLUT_BITMAP_TIMES_ROMAN_24 ? 24 : 10;
    float y = kPanelTop - 1.6f * float(titlePixels) / float(window.height);
    drawCentred(titleFont, window, y, title);
    y -= 1.2f * line;
    for (const ControlLine& control : controlLines()) {
        y -= line;
        glColor3f(1.0f, 1.0f, 0.6f);
        drawText(font, kKeysColumn, y, control.keys.c_str());
        glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);
        drawText(font, kWhatColumn, y, control.what.c_str());
    }
    y -= 1.8f * line;
    drawCentred(font, window, y, resumeHint(gHelpShown != 0).c_str());
}

// under whatever the centre shows, so it covers none of it
float pausedLine()
{
    if (gGameOver)
        return 0.3f;
    return gLevelOver ? 0.4f : 0.5f;
}

}  // namespace

void drawHudBars()
{
    if (gGameOver)
        return;
    const WindowSize window = viewportSize();
    beginOverlay();
    gluPerspective(kHudFieldOfView, 1.0, kHudNear, kHudFar);
    beginModelView();

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
    // round in any window: its width follows the window's height, as its height does
    glScalef(float(window.height) / float(window.width), 1.0f, 1.0f);
    glColor3f(kSightBlue.r, kSightBlue.g, kSightBlue.b);
    glutWireSphere(0.04, 5, 2);
    endBar();

    if (!gTurning) {
        // the marker stands under the counter of the selected ammunition
        beginBar(kPowerRed, gEggSelected ? 0.58f : -1.08f, -0.18f);
        barPolygon(0.0f, 0.98f, 0.5f, 1.0f);
        endBar();
    }
    endOverlay();
}

void drawHudText()
{
    const WindowSize window = viewportSize();
    void* font = textFont(window);
    beginOverlay();
    gluOrtho2D(0, 1, 0, 1);
    // the texts lie over the whole window: a cover object right in front of the eye must not
    // swallow them
    beginModelView();
    glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);

    if (gShowFps)
        drawText(font, 0.03f, 0.03f, gFpsText);

    char text[64];
    if (gLevelOver == 0) {
        drawText(font, 0.03f, 0.96f, "Time Left:");
        std::snprintf(text, sizeof text, "Level: %d", gLevel);
        drawText(font, 0.85f, 0.96f, text);
        std::snprintf(text, sizeof text, "Rolls Left: %d", gRollsLeft);
        drawText(font, 0.03f, 0.86f, text);
        std::snprintf(text, sizeof text, "Eggs Left: %d", gEggsLeft);
        drawText(font, 0.75f, 0.86f, text);
        drawText(font, 0.335f, 0.82f, "-<POWER BAR>-");
        if (gSettings.showScore) {
            // what the level's end would make of the strips now
            std::snprintf(text, sizeof text, "Score: %d", computeScore());
            drawText(font, 0.75f, 0.78f, text);
        }
    } else if (gGameOver == 1) {
        drawText(font, 0.35f, 0.6f, "GAME OVER!!!");
        std::snprintf(text, sizeof text, "SCORE: %d", gScore);
        drawText(font, 0.38f, 0.5f, text);
        drawCentred(font, window, 0.4f, "Press Enter to play again");
    } else if (gTurning == 1) {
        std::snprintf(text, sizeof text, "LEVEL %i COMPLETE!", gLevel - 1);
        drawText(font, 0.28f, 0.6f, text);
        std::snprintf(text, sizeof text, "SCORE: %d", gScore);
        drawText(font, 0.38f, 0.5f, text);
    }
    if (gHelpShown)
        drawControls(font, window, "HELP");
    else if (gPaused && !gLevelOver)
        drawControls(font, window, "PAUSED");
    else if (gPaused)
        drawCentred(font, window, pausedLine(), "PAUSED");

    endOverlay();
}
