// SPDX-License-Identifier: MIT
// game: drawing of the head-up display, over the scene. The bars keep the shapes they had as flat
// polygons 2 units in front of the eye under the game's 60 degree perspective, but seen through
// a square view of their own stretched over the whole window, as the texts' window fractions
// are; in a square window that is the frame's own projection, so they cover the same pixels.
// Nothing of the scene can hide them: they and the texts are drawn last, without depth test.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

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

int textWidth(void* font, const char* text)
{
    return glutBitmapLength(font, reinterpret_cast<const unsigned char*>(text));
}

// the play texts' rows and the bars' edges, as fractions of the window (the bars' from their
// polygons 2 units in front of the eye under the 60 degree view)
constexpr float kTopRow = 0.96f;
constexpr float kCounterRow = 0.86f;
constexpr float kPowerLabelRow = 0.82f;
constexpr float kScoreRow = 0.78f;  // the assist's, under the eggs' counter
constexpr float kTimeBarBottom = 0.9114f;
constexpr float kPowerBarBottom = 0.8551f;
constexpr float kPowerBarLeft = 0.3484f;
constexpr float kLevelColumn = 0.85f;
constexpr float kEggsColumn = 0.75f;
constexpr float kLeftColumn = 0.03f;
constexpr float kPowerLabelColumn = 0.335f;
constexpr float kLevelCompleteColumn = 0.28f;
constexpr float kScoreColumn = 0.38f;      // the level complete screen's "SCORE: %d"
constexpr float kCentreTitleRow = 0.6f;    // "LEVEL %i COMPLETE!" or "GAME OVER!!!"
constexpr float kCentreScoreRow = 0.5f;
constexpr float kScorePartsRow = 0.55f;    // between the two, clear of the sight under them

// Do the 24-point texts fit at their fractions? Each stays in the window, a row's texts keep
// apart, and none reaches into the bars: the counters stay under the time bar and left of the
// power bar, its label under it. The counters' underline, the ammunition marker, is meant to
// touch them.
bool largeTextsFit(WindowSize window, const char* level, const char* rolls, const char* eggs,
                   const char* centre)
{
    void* font = GLUT_BITMAP_TIMES_ROMAN_24;
    const float w = float(window.width), h = float(window.height);
    const float rise = float(kLargeFontRise);
    auto right = [&](float column, const char* text) { return column * w + textWidth(font, text); };
    const bool rowsFit = kTopRow * h + rise <= h && kCounterRow * h + rise <= kTimeBarBottom * h &&
                         kPowerLabelRow * h + rise <= kPowerBarBottom * h;
    const bool columnsFit = right(kLeftColumn, "Time Left:") < kLevelColumn * w &&
                            right(kLevelColumn, level) <= w &&
                            right(kLeftColumn, rolls) < kPowerBarLeft * w &&
                            right(kEggsColumn, eggs) <= w &&
                            right(kPowerLabelColumn, "-<POWER BAR>-") <= w;
    bool centreFits = right(kLevelCompleteColumn, centre) <= w;
    const std::string resume = resumeHint(false);
    for (const char* line : {"Press Enter to play again", resume.c_str()})
        centreFits = centreFits && textWidth(font, line) <= w;
    if (gShowFps)
        centreFits = centreFits && right(kLeftColumn, gFpsText) <= w;
    return rowsFit && columnsFit && centreFits;
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

int fontRise(void* font)
{
    return font == GLUT_BITMAP_TIMES_ROMAN_24 ? kLargeFontRise : kSmallFontRise;
}

int fontDrop(void* font)
{
    return font == GLUT_BITMAP_TIMES_ROMAN_24 ? kLargeFontDrop : kSmallFontDrop;
}

// The score's parts take the HUD's font where they fit between the title and the score over
// the same rows (and across the window from their column, or centred), else the small one; in a
// window too small for either they are left out. Null then.
void* scorePartsFont(WindowSize window, void* hudFont, const char* text, bool centred)
{
    const float gap = (kScorePartsRow - kCentreScoreRow) * float(window.height);
    const float left = centred ? 0.0f : kScoreColumn * float(window.width);
    for (void* font : {hudFont, GLUT_BITMAP_TIMES_ROMAN_10}) {
        const bool between = float(fontRise(font) + fontDrop(hudFont)) <= gap &&
                             float(fontDrop(font) + fontRise(hudFont)) <= gap;
        if (between && left + float(textWidth(font, text)) <= float(window.width))
            return font;
    }
    return nullptr;
}

void drawScoreParts(WindowSize window, void* hudFont, bool centred)
{
    char text[64];
    std::snprintf(text, sizeof text, "strips %d + plants %d", gScoreStrips, gScorePlants);
    void* font = scorePartsFont(window, hudFont, text, centred);
    if (!font)
        return;
    if (centred)
        drawCentred(font, window, kScorePartsRow, text);
    else
        drawText(font, kScoreColumn, kScorePartsRow, text);
}

// a replay says so in the bottom right corner, where nothing else stands
void drawReplayMark(void* font, WindowSize window)
{
    const float width = float(textWidth(font, kReplayMark)) / float(window.width);
    drawText(font, 1.0f - kLeftColumn - width, 0.03f, kReplayMark);
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



// the PAUSED screen, a line each, centred from the top one down; the second says how to resume
// with the keys as bound
const char* const kPausedTitle = "PAUSED";

// in play the centre is empty above the sight; otherwise under whatever the centre shows
float pausedTop()
{
    if (gGameOver && gBoardNote[0])
        return 0.15f;
    if (gGameOver)
        return gGameOverNote[0] ? 0.2f : 0.3f;
    return gLevelOver ? 0.4f : 0.6f;
}

void drawPausedScreen(void* font, WindowSize window)
{
    const float lineStep = float(glutBitmapHeight(font)) / float(window.height);
    drawCentred(font, window, pausedTop(), kPausedTitle);
    drawCentred(font, window, pausedTop() - lineStep, resumeHint(false).c_str());
}

// the controls' panel: dark, see-through, in the middle of the window under the HUD's texts. Its
// lines are pale yellow and white, so the cyan texts of the HUD stay the only cyan.
constexpr float kPanelLeft = 0.08f, kPanelRight = 0.92f;
constexpr float kHelpPanelTop = 0.74f, kPanelBottom = 0.04f;
constexpr float kKeysColumn = 0.11f, kWhatColumn = 0.40f;
constexpr int kSmallPanelSide = 320;  // below it the controls take the smallest font
constexpr Colour kKeyYellow{1.0f, 1.0f, 0.6f};
constexpr Colour kWhatWhite{0.92f, 0.92f, 0.92f};

void* controlsFont(WindowSize window)
{
    if (window.width < kSmallPanelSide || window.height < kSmallPanelSide)
        return GLUT_BITMAP_HELVETICA_10;
    return window.width < 520 ? GLUT_BITMAP_HELVETICA_12 : GLUT_BITMAP_HELVETICA_18;
}

void drawPanel(float top)
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.1f, 0.75f);
    glBegin(GL_QUADS);
    glVertex2f(kPanelLeft, kPanelBottom);
    glVertex2f(kPanelRight, kPanelBottom);
    glVertex2f(kPanelRight, top);
    glVertex2f(kPanelLeft, top);
    glEnd();
    glDisable(GL_BLEND);
}

// the controls as bound, a line each, from top down; with a closing line when given. In a small
// window the lines close up to fit
void drawControls(WindowSize window, float top, const std::string& closing)
{
    void* font = controlsFont(window);
    const std::vector<ControlLine> controls = controlLines();
    const int rows = int(controls.size()) + (closing.empty() ? 1 : 3);
    const float room = (top - kPanelBottom) / float(rows);
    const float line = std::min(float(glutBitmapHeight(font)) / float(window.height), room);
    float y = top;
    for (const ControlLine& control : controls) {
        y -= line;
        glColor3f(kKeyYellow.r, kKeyYellow.g, kKeyYellow.b);
        drawText(font, kKeysColumn, y, control.keys.c_str());
        glColor3f(kWhatWhite.r, kWhatWhite.g, kWhatWhite.b);
        drawText(font, kWhatColumn, y, control.what.c_str());
    }
    if (!closing.empty())
        drawCentred(font, window, y - 1.8f * line, closing.c_str());
    glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);
}

// the help: its title over the panel, the controls and how to go back to play
void drawHelpScreen(void* font, WindowSize window)
{
    const float title = float(glutBitmapHeight(font)) / float(window.height);
    drawPanel(kHelpPanelTop);
    glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);
    drawCentred(font, window, kHelpPanelTop - 1.3f * title, "HELP");
    drawControls(window, kHelpPanelTop - 1.6f * title, resumeHint(true));
}

// paused in play: the PAUSED lines, and the controls under them, all on the panel
void drawPausedWithControls(void* font, WindowSize window)
{
    const float lineStep = float(glutBitmapHeight(font)) / float(window.height);
    drawPanel(std::min(pausedTop() + 1.2f * lineStep, kHelpPanelTop));
    glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);
    drawPausedScreen(font, window);
    drawControls(window, pausedTop() - 1.6f * lineStep, "");
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

void* hudTextFont()
{
    const WindowSize window = viewportSize();
    char level[32], rolls[32], eggs[32], centre[32];
    std::snprintf(level, sizeof level, "Level: %d", gLevel);
    std::snprintf(rolls, sizeof rolls, "Rolls Left: %d", gRollsLeft);
    std::snprintf(eggs, sizeof eggs, "Eggs Left: %d", gEggsLeft);
    std::snprintf(centre, sizeof centre, "LEVEL %i COMPLETE!", gLevel - 1);
    if (largeTextsFit(window, level, rolls, eggs, centre))
        return GLUT_BITMAP_TIMES_ROMAN_24;
    return GLUT_BITMAP_TIMES_ROMAN_10;
}

void drawHudText()
{
    const WindowSize window = viewportSize();
    void* font = hudTextFont();
    beginOverlay();
    gluOrtho2D(0, 1, 0, 1);
    // the texts lie over the whole window: a cover object right in front of the eye must not
    // swallow them
    beginModelView();
    glColor3f(kTextCyan.r, kTextCyan.g, kTextCyan.b);

    if (gShowFps)
        drawText(font, kLeftColumn, 0.03f, gFpsText);

    char text[64];
    if (gLevelOver == 0) {
        drawText(font, kLeftColumn, kTopRow, "Time Left:");
        std::snprintf(text, sizeof text, "Level: %d", gLevel);
        drawText(font, kLevelColumn, kTopRow, text);
        std::snprintf(text, sizeof text, "Rolls Left: %d", gRollsLeft);
        drawText(font, kLeftColumn, kCounterRow, text);
        std::snprintf(text, sizeof text, "Eggs Left: %d", gEggsLeft);
        drawText(font, kEggsColumn, kCounterRow, text);
        drawText(font, kPowerLabelColumn, kPowerLabelRow, "-<POWER BAR>-");
        if (gSettings.showScore) {
            // what the level's end would make of the strips now
            std::snprintf(text, sizeof text, "Score: %d", computeScore());
            drawText(font, kEggsColumn, kScoreRow, text);
        }
    } else if (gGameOver == 1) {
        // the lines centred, one under the other
        drawCentred(font, window, kCentreTitleRow, "GAME OVER!!!");
        std::snprintf(text, sizeof text, "SCORE: %d", gScore);
        drawCentred(font, window, kCentreScoreRow, text);
        drawScoreParts(window, font, true);
        drawCentred(font, window, 0.4f, "Press Enter to play again");
        if (gGameOverNote[0])
            drawCentred(font, window, 0.3f, gGameOverNote);
        // the board's line a line lower, in the small font when the HUD's is too wide for it
        if (gBoardNote[0]) {
            void* noteFont = textWidth(font, gBoardNote) <= window.width
                                 ? font
                                 : GLUT_BITMAP_TIMES_ROMAN_10;
            drawCentred(noteFont, window,
                        0.3f - float(glutBitmapHeight(font)) / float(window.height), gBoardNote);
        }
    } else if (gTurning == 1) {
        std::snprintf(text, sizeof text, "LEVEL %i COMPLETE!", gLevel - 1);
        drawText(font, kLevelCompleteColumn, kCentreTitleRow, text);
        std::snprintf(text, sizeof text, "SCORE: %d", gScore);
        drawText(font, kScoreColumn, kCentreScoreRow, text);
        drawScoreParts(window, font, false);
    }
    if (gReplayMark)
        drawReplayMark(font, window);
    // a menu choice the settings file's bad line kept from being saved
    if (const char* notice = settingsNotice())
        drawText(font, kLeftColumn, 0.08f, notice);
    if (gHelpShown)
        drawHelpScreen(font, window);
    else if (gPaused && !gLevelOver)
        drawPausedWithControls(font, window);
    else if (gPaused)
        drawPausedScreen(font, window);

    endOverlay();
}
