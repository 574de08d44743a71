// SPDX-License-Identifier: MIT
// HUD drawing read back from the frame buffer: the bars and the texts over the scene, at any
// window shape.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "app/app.h"
#include "game/game_state.h"
#include "game/hud.h"
#include "player/input.h"
#include "player/throwing.h"
#include "tests/support/gl_fixture.h"

namespace {

constexpr int kSize = 600;

struct Box {
    int x0, y0, x1, y1;  // inclusive, window pixels from the bottom left
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

bool isCyan(const uint8_t* p) { return p[0] < 40 && p[1] > 200 && p[2] > 200; }
bool isRed(const uint8_t* p) { return p[0] > 200 && p[1] < 40 && p[2] < 40; }
bool isTimeBlue(const uint8_t* p) { return p[0] < 40 && p[1] < 40 && p[2] > 100 && p[2] < 160; }
bool isSightBlue(const uint8_t* p) { return p[0] < 40 && p[1] < 40 && p[2] > 200; }
bool isKeyYellow(const uint8_t* p) { return p[0] > 200 && p[1] > 200 && p[2] > 100 && p[2] < 200; }

int count(const Pixels& px, const Box& box, bool (*test)(const uint8_t*))
{
    int n = 0;
    for (int y = std::max(box.y0, 0); y <= std::min(box.y1, px.height - 1); ++y)
        for (int x = std::max(box.x0, 0); x <= std::min(box.x1, px.width - 1); ++x)
            n += test(px.at(x, y));
    return n;
}

// cyan pixels outside every text's box: a text drawn where no text should stand
long strayCyan(const Pixels& px, const std::vector<Box>& boxes)
{
    long stray = 0;
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x) {
            bool inside = false;
            for (const Box& b : boxes)
                inside = inside || b.contains(x, y);
            stray += isCyan(px.at(x, y)) && !inside;
        }
    return stray;
}

// where a text drawn at a fraction of the window stands, with room for descenders
Box textBox(float fx, float fy, const std::string& text)
{
    int x = int(fx * kSize), y = int(fy * kSize);
    int width = glutBitmapLength(GLUT_BITMAP_TIMES_ROMAN_24,
                                 reinterpret_cast<const unsigned char*>(text.c_str()));
    return Box{x, y - 8, x + width + 1, y + 24};
}

class HudDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        glTestWindow(kSize, kSize);
        resetAllGlobals();
    }

    // one frame as the game draws it: the frame's perspective, bars, then the overlay
    Pixels drawFrame()
    {
        glClearColor(0, 0, 0, 1);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 1.0, 0.5, 73.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        drawHudBars();
        drawHudText();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        return glReadBack();
    }
};

// the bars' places, worked out from their eye-space polygons 2 units in front of the eye
const Box kTimeBar{60, 550, 540, 557};
const Box kPowerRange{204, 509, 396, 539};
const Box kRollsMarker{24, 508, 144, 512};
const Box kEggsMarker{396, 508, 516, 512};

TEST_F(HudDrawTest, PlayingShowsTheFiveTextsWhereTheyBelongAndNoOtherText)
{
    Pixels px = drawFrame();
    savePng(px, "hud_playing");
    const struct {
        float x, y;
        std::string text;
    } texts[] = {{0.03f, 0.96f, "Time Left:"},
                 {0.85f, 0.96f, "Level: 1"},
                 {0.03f, 0.86f, "Rolls Left: 10"},
                 {0.75f, 0.86f, "Eggs Left: 10"},
                 {0.335f, 0.82f, "-<POWER BAR>-"}};
    std::vector<Box> boxes;
    for (const auto& t : texts) {
        boxes.push_back(textBox(t.x, t.y, t.text));
        EXPECT_GT(count(px, boxes.back(), isCyan), 40) << t.text;
    }
    int stray = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            if (!isCyan(px.at(x, y)))
                continue;
            bool inside = false;
            for (const Box& b : boxes)
                inside = inside || b.contains(x, y);
            stray += !inside;
        }
    EXPECT_EQ(stray, 0);
}

TEST_F(HudDrawTest, TheTimeBarShrinksFromItsRightEnd)
{
    Pixels full = drawFrame();
    EXPECT_GT(count(full, kTimeBar, isTimeBlue), 400 * 5);
    gTimeBar = 0.0f;
    Pixels half = drawFrame();
    EXPECT_GT(count(half, Box{60, 550, 290, 557}, isTimeBlue), 220 * 5);
    EXPECT_EQ(count(half, Box{310, 548, 560, 560}, isTimeBlue), 0);
}

TEST_F(HudDrawTest, WithNoPowerOnlyTheOutlineShowsAndAtTheTopTheFillCoversIt)
{
    Pixels empty = drawFrame();
    // the outline's four sides, nothing inside
    int outline = count(empty, kPowerRange, isRed);
    EXPECT_GT(outline, 2 * 170);
    EXPECT_EQ(count(empty, Box{220, 518, 380, 529}, isRed), 0);

    gThrowPower = 0.7f;
    Pixels full = drawFrame();
    EXPECT_GT(count(full, Box{220, 518, 380, 529}, isRed), 150 * 10);
}

TEST_F(HudDrawTest, TheMarkerFollowsTheSelectedAmmunitionAndHidesDuringTheTurn)
{
    Pixels rolls = drawFrame();
    EXPECT_GT(count(rolls, kRollsMarker, isRed), 100);
    EXPECT_EQ(count(rolls, kEggsMarker, isRed), 0);

    gEggSelected = 1;
    Pixels eggs = drawFrame();
    EXPECT_EQ(count(eggs, kRollsMarker, isRed), 0);
    EXPECT_GT(count(eggs, kEggsMarker, isRed), 100);

    gTurning = 1;
    gLevelOver = 1;
    Pixels turning = drawFrame();
    EXPECT_EQ(count(turning, kEggsMarker, isRed), 0);
    EXPECT_GT(count(turning, kTimeBar, isTimeBlue), 400 * 5);
    EXPECT_GT(count(turning, kPowerRange, isRed), 2 * 170);
}

TEST_F(HudDrawTest, AfterALevelTheCentreShowsItAndTheScore)
{
    gLevel = 2;
    gLevelOver = 1;
    gTurning = 1;
    gScore = 135;
    gScoreStrips = 100;
    gScorePlants = 35;
    Pixels px = drawFrame();
    savePng(px, "hud_level_complete");
    const std::vector<Box> boxes = {textBox(0.28f, 0.6f, "LEVEL 1 COMPLETE!"),
                                    textBox(0.38f, 0.5f, "SCORE: 135"),
                                    textBox(0.38f, 0.55f, "strips 100 + plants 35")};
    EXPECT_GT(count(px, boxes[0], isCyan), 100);
    EXPECT_GT(count(px, boxes[1], isCyan), 60);
    // the score's parts over it, from the same column
    EXPECT_GT(count(px, boxes[2], isCyan), 100);
    EXPECT_EQ(count(px, Box{0, 322, 226, 354}, isCyan), 0);
    EXPECT_EQ(strayCyan(px, boxes), 0);
}

TEST_F(HudDrawTest, GameOverShowsTheResultAndNoBars)
{
    gLevel = 5;
    gLevelOver = gTurning = gGameOver = 1;
    gScore = 1200;
    Pixels px = drawFrame();
    savePng(px, "hud_game_over");
    EXPECT_GT(count(px, textBox(0.35f, 0.6f, "GAME OVER!!!"), isCyan), 100);
    EXPECT_GT(count(px, textBox(0.38f, 0.5f, "SCORE: 1200"), isCyan), 60);
    EXPECT_EQ(count(px, Box{0, 480, kSize - 1, 570}, isRed), 0);
    EXPECT_EQ(count(px, kTimeBar, isTimeBlue), 0);
}

TEST_F(HudDrawTest, AReplaySaysSoInTheBottomRightCornerBesideTheFrameRate)
{
    const Box corner{int(0.6f * kSize), 0, kSize - 1, 60};
    EXPECT_EQ(count(drawFrame(), corner, isCyan), 0);
    showReplayMark();
    gShowFps = 1;
    for (int frame = 1; frame <= 61; ++frame)
        updateFpsCounterAt(frame / 60.0f);
    Pixels px = drawFrame();
    savePng(px, "hud_replay");
    const int width = glutBitmapLength(GLUT_BITMAP_TIMES_ROMAN_24,
                                       reinterpret_cast<const unsigned char*>("REPLAY"));
    const Box replay = textBox(0.97f - float(width) / kSize, 0.03f, "REPLAY");
    EXPECT_GT(count(px, replay, isCyan), 100);
    EXPECT_LE(replay.x1, kSize);
    EXPECT_EQ(count(px, corner, isCyan), count(px, replay, isCyan)) << "REPLAY alone there";
    EXPECT_GT(count(px, textBox(0.03f, 0.03f, "Current Frames Per Second: 61"), isCyan), 200);
}

TEST_F(HudDrawTest, TheFrameRateShowsBottomLeftOnceCounted)
{
    gShowFps = 1;
    Pixels before = drawFrame();
    EXPECT_EQ(count(before, Box{0, 0, 400, 60}, isCyan), 0);  // nothing counted yet
    for (int frame = 1; frame <= 61; ++frame)
        updateFpsCounterAt(frame / 60.0f);
    Pixels after = drawFrame();
    EXPECT_GT(count(after, textBox(0.03f, 0.03f, "Current Frames Per Second: 61"), isCyan), 200);
}

TEST_F(HudDrawTest, HudStaysVisibleWithSomethingRightInFrontOfTheEye)
{
    // a cover object 0.6 in front of the eye, nearer than the overlay's depth
    glClearColor(0, 0, 0, 1);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 1.0, 0.5, 73.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glColor3f(0.0f, 0.3f, 0.0f);
    glBegin(GL_QUADS);
    glVertex3f(-5, -5, -0.6f);
    glVertex3f(5, -5, -0.6f);
    glVertex3f(5, 5, -0.6f);
    glVertex3f(-5, 5, -0.6f);
    glEnd();
    drawHudBars();
    drawHudText();
    Pixels px = glReadBack();
    EXPECT_GT(count(px, textBox(0.03f, 0.96f, "Time Left:"), isCyan), 40);
    EXPECT_GT(count(px, kTimeBar, isTimeBlue), 400 * 5);
    EXPECT_GT(count(px, kPowerRange, isRed), 2 * 170);
    EXPECT_GT(count(px, Box{280, 240, 320, 280}, isSightBlue), 10);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(HudDrawTest, TheOverlayLeavesTheMatricesAsItFoundThem)
{
    drawFrame();
    GLint depth = 0;
    glMatrixMode(GL_MODELVIEW);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

// The bars as they were drawn inside the scene: flat shapes 2 units in front of the eye under
// the frame's perspective, depth-tested. At 600 x 600 the HUD must cover exactly these pixels.
void drawBarsInTheScene()
{
    const float depth = -0.0001f;
    auto place = [](float x, float y) {
        glLoadIdentity();
        glTranslatef(x, y, -2.0f);
    };
    auto quad = [depth](float l, float b, float r, float t) {
        glBegin(GL_POLYGON);
        glVertex3f(l, b, depth);
        glVertex3f(l, t, depth);
        glVertex3f(r, t, depth);
        glVertex3f(r, b, depth);
        glEnd();
    };
    glDisable(GL_LIGHTING);
    glColor3f(0.0f, 0.0f, 0.5f);
    place(0.0f, 0.0f);
    quad(-kFullTimeBar, 0.95f, gTimeBar, 1.0f);
    glColor3f(1.0f, 0.0f, 0.0f);
    place(-0.35f, -0.1f);
    quad(0.0f, 0.92f, gThrowPower, 1.0f);
    glBegin(GL_LINE_STRIP);
    const float outline[][2] = {{0, 0.92f}, {0, 1}, {0.7f, 1}, {0.7f, 0.92f}, {0, 0.92f}};
    for (const auto& v : outline)
        glVertex3f(v[0], v[1], depth);
    glEnd();
    glTranslatef(0.35f, 0.0f, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glutWireSphere(0.04, 5, 2);
    if (!gTurning) {
        glColor3f(1.0f, 0.0f, 0.0f);
        place(gEggSelected ? 0.58f : -1.08f, -0.18f);
        quad(0.0f, 0.98f, 0.5f, 1.0f);
    }
    glEnable(GL_LIGHTING);
}

TEST_F(HudDrawTest, AtSixHundredSquareTheBarsCoverThePixelsTheyCoveredInTheScene)
{
    const struct {
        float timeBar, power;
        uint8_t eggs, turning;
    } states[] = {{kFullTimeBar, 0.0f, 0, 0}, {0.2f, 0.35f, 1, 0}, {-0.5f, 0.7f, 0, 1}};
    for (const auto& state : states) {
        gTimeBar = state.timeBar;
        gThrowPower = state.power;
        gEggSelected = state.eggs;
        gTurning = state.turning;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 1.0, 0.5, 73.0);
        glMatrixMode(GL_MODELVIEW);
        drawBarsInTheScene();
        Pixels before = glReadBack();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawHudBars();
        Pixels now = glReadBack();
        EXPECT_TRUE(before.rgb == now.rgb) << "time bar " << state.timeBar;
        EXPECT_GT(count(now, Box{0, 0, kSize - 1, kSize - 1}, isRed), 300);
    }
}

// the pixels that pass the test within [fx0, fx1) of the window's width
Box extent(const Pixels& px, bool (*test)(const uint8_t*), float fx0, float fx1)
{
    Box box{INT_MAX, INT_MAX, -1, -1};
    for (int y = 0; y < px.height; ++y)
        for (int x = int(fx0 * px.width); x < int(fx1 * px.width); ++x)
            if (test(px.at(x, y)))
                box = Box{std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x),
                          std::max(box.y1, y)};
    return box;
}

// the test window at that size, once the X server has made it so
void resizeTestWindow(int width, int height)
{
    glTestWindow(width, height);
    // the drawable follows the window only after the server's configure event has come back
    for (int i = 0; i < 20; ++i) {
        glutMainLoopEvent();
        usleep(5000);
    }
    // a swap makes the driver look at the drawable's size again
    glutSwapBuffers();
    glViewport(0, 0, width, height);
}

Pixels drawHudAt(int width, int height)
{
    resizeTestWindow(width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawHudBars();
    drawHudText();
    return glReadBack();
}

TEST_F(HudDrawTest, AtAnyWindowShapeTheBarsScaleWithTheWindowAsTheTextsDo)
{
    struct Part {
        const char* name;
        bool (*test)(const uint8_t*);
        float fx0, fx1;
    };
    const Part parts[] = {{"time bar", isTimeBlue, 0.0f, 1.0f},
                          {"rolls marker", isRed, 0.0f, 0.3f},
                          {"power outline", isRed, 0.3f, 0.7f},
                          {"sight", isSightBlue, 0.0f, 1.0f}};
    Pixels square = drawHudAt(kSize, kSize);
    const int shapes[][2] = {{1280, 720}, {540, 900}, {400, 700}, {1280, 400}, {900, 600}};
    for (const auto& shape : shapes) {
        const int w = shape[0], h = shape[1];
        Pixels px = drawHudAt(w, h);
        savePng(px, "hud_" + std::to_string(w) + "x" + std::to_string(h));
        const float sx = float(w) / kSize, sy = float(h) / kSize;
        const float slackX = sx + 1.5f, slackY = sy + 1.5f;
        for (const Part& part : parts) {
            Box was = extent(square, part.test, part.fx0, part.fx1);
            Box is = extent(px, part.test, part.fx0, part.fx1);
            ASSERT_GE(is.x1, 0) << part.name << " missing at " << w << "x" << h;
            const float cx = (was.x0 + was.x1 + 1) * 0.5f, cy = (was.y0 + was.y1 + 1) * 0.5f;
            EXPECT_NEAR((is.x0 + is.x1 + 1) * 0.5f, cx * sx, slackX) << part.name << " " << w;
            EXPECT_NEAR((is.y0 + is.y1 + 1) * 0.5f, cy * sy, slackY) << part.name << " " << h;
            if (part.test == isSightBlue) {
                // round: both ways as tall as the window's height makes it
                EXPECT_NEAR(is.x1 - is.x0, (was.y1 - was.y0) * sy, slackY) << w << "x" << h;
                EXPECT_NEAR(is.y1 - is.y0, (was.y1 - was.y0) * sy, slackY) << w << "x" << h;
            } else {
                EXPECT_NEAR(is.x1 - is.x0, (was.x1 - was.x0) * sx, 2 * slackX) << part.name;
                EXPECT_NEAR(is.y1 - is.y0, (was.y1 - was.y0) * sy, 2 * slackY) << part.name;
            }
        }
    }
    resizeTestWindow(kSize, kSize);
}

TEST_F(HudDrawTest, InASmallWindowTheTextsTakeTheSmallFontAndKeepApart)
{
    const int w = 200, h = 150;
    Pixels px = drawHudAt(w, h);
    savePng(px, "hud_200x150");
    const struct {
        float x, y;
        const char* text;
    } texts[] = {{0.03f, 0.96f, "Time Left:"},
                 {0.85f, 0.96f, "Level: 1"},
                 {0.03f, 0.86f, "Rolls Left: 10"},
                 {0.75f, 0.86f, "Eggs Left: 10"},
                 {0.335f, 0.82f, "-<POWER BAR>-"}};
    std::vector<Box> boxes;
    for (const auto& t : texts) {
        int x = int(t.x * w), y = int(t.y * h);
        int width = glutBitmapLength(GLUT_BITMAP_TIMES_ROMAN_10,
                                     reinterpret_cast<const unsigned char*>(t.text));
        // the advance of the last glyph leaves a pixel or two of space
        boxes.push_back(Box{x, y - 3, x + width - 2, y + 10});
        EXPECT_GT(count(px, boxes.back(), isCyan), 10) << t.text;
    }
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const Box& a = boxes[i];
            const Box& b = boxes[j];
            EXPECT_TRUE(a.x1 < b.x0 || b.x1 < a.x0 || a.y1 < b.y0 || b.y1 < a.y0)
                << texts[i].text << " runs into " << texts[j].text;
        }
    EXPECT_EQ(strayCyan(px, boxes), 0);

    // GAME OVER: the score's parts have no room between the title and the score, and are left
    // out rather than run into them
    gLevel = 5;
    gLevelOver = gTurning = gGameOver = 1;
    gScore = 1200;
    gScoreStrips = 1165;
    gScorePlants = 35;
    px = drawHudAt(w, h);
    savePng(px, "hud_200x150_game_over");
    boxes.clear();
    for (const auto& t : {std::make_pair(0.6f, "GAME OVER!!!"), std::make_pair(0.5f, "SCORE: 1200"),
                          std::make_pair(0.4f, "Press Enter to play again")}) {
        int width = glutBitmapLength(GLUT_BITMAP_TIMES_ROMAN_10,
                                     reinterpret_cast<const unsigned char*>(t.second));
        int x = (w - width) / 2, y = int(t.first * h);
        boxes.push_back(Box{x - 1, y - 3, x + width + 1, y + 8});
        EXPECT_GT(count(px, boxes.back(), isCyan), 10) << t.second;
    }
    EXPECT_EQ(strayCyan(px, boxes), 0);
    resizeTestWindow(kSize, kSize);
}

// the middle of the cyan pixels between two heights of the window, in pixels from the left
float cyanMiddle(const Pixels& px, int y0, int y1)
{
    int x0 = INT_MAX, x1 = -1;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < px.width; ++x)
            if (isCyan(px.at(x, y))) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
            }
    return x1 < 0 ? -1.0f : (x0 + x1 + 1) * 0.5f;
}

TEST_F(HudDrawTest, ThePausedScreenAndTheGameOverLinesStandCentredOneUnderTheOther)
{
    gPaused = 1;
    Pixels paused = drawFrame();
    savePng(paused, "hud_paused");
    const int line = glutBitmapHeight(GLUT_BITMAP_TIMES_ROMAN_24);
    const int pausedBase = int(0.6f * kSize), resumeBase = pausedBase - line;
    EXPECT_NEAR(cyanMiddle(paused, pausedBase - 5, pausedBase + 16), kSize / 2.0f, 2.0f);
    EXPECT_NEAR(cyanMiddle(paused, resumeBase - 5, resumeBase + 16), kSize / 2.0f, 2.0f);
    EXPECT_GT(count(paused, textBox(0.3f, 0.6f - float(line) / kSize, "Press P or Esc to resume"),
                    isCyan), 150);
    EXPECT_GT(count(paused, kTimeBar, isTimeBlue), 400 * 5);
    // clear of the sight
    EXPECT_EQ(count(paused, Box{250, 250, 350, 300}, isCyan), 0);

    gPaused = 0;
    gLevel = 5;
    gLevelOver = gTurning = gGameOver = 1;
    gScore = 1200;
    Pixels over = drawFrame();
    savePng(over, "hud_game_over_play_again");
    for (float row : {0.6f, 0.5f, 0.4f}) {
        const int base = int(row * kSize);
        EXPECT_NEAR(cyanMiddle(over, base - 5, base + 16), kSize / 2.0f, 2.0f) << row;
    }
    EXPECT_GT(count(over, Box{150, 232, 450, 256}, isCyan), 150);
}

// From 320x240 up every text stands whole in the window, apart from the others and off the bars,
// whichever font the HUD takes there; in play, paused over play, and on GAME OVER
TEST_F(HudDrawTest, FromThreeTwentyByTwoFortyUpNoTextIsCutOrRunsIntoAnotherOrABar)
{
    struct Text {
        float x, y;  // the baseline's start, fractions; x < 0: centred
        const char* text;
    };
    const Text play[] = {{0.03f, 0.96f, "Time Left:"},
                         {0.85f, 0.96f, "Level: 4"},
                         {0.03f, 0.86f, "Rolls Left: 10"},
                         {0.75f, 0.86f, "Eggs Left: 10"},
                         {0.335f, 0.82f, "-<POWER BAR>-"}};
    const Text over[] = {{-1.0f, 0.6f, "GAME OVER!!!"},
                         {-1.0f, 0.55f, "strips 1165 + plants 35"},
                         {-1.0f, 0.5f, "SCORE: 1200"},
                         {-1.0f, 0.4f, "Press Enter to play again"}};
    // the 24-point texts wherever they fit: the eggs counter ends on the last column at 520
    // wide, the power bar's label reaches the bar below 487 high
    const struct {
        int w, h;
        bool large;
    } sizes[] = {{320, 240, false},  {400, 700, false},  {420, 700, false}, {600, 600, true},
                 {640, 480, false},  {1280, 400, false}, {360, 800, false}, {1280, 720, true},
                 {520, 700, true},   {516, 700, false},  {1280, 460, false}, {1280, 500, true}};
    for (const auto& size : sizes) {
        const int w = size.w, h = size.h;
        const std::string name = std::to_string(w) + "x" + std::to_string(h);
        for (int state = 0; state < 3; ++state) {
            resetAllGlobals();
            gLevel = 4;
            gThrowPower = 0.7f;  // the power bar filled: any text over it shows
            gPaused = state == 1;
            if (state == 2) {
                gLevel = 5;
                gLevelOver = gTurning = gGameOver = 1;
                gScore = 1200;
                gScoreStrips = 1165;
                gScorePlants = 35;
            }
            Pixels px = drawHudAt(w, h);
            savePng(px, "hud_fit_" + name + "_" + std::to_string(state));
            void* font = hudTextFont();
            const bool large = font == GLUT_BITMAP_TIMES_ROMAN_24;
            EXPECT_EQ(large, size.large) << name << " state " << state;
            const int rise = large ? kLargeFontRise : kSmallFontRise;
            const int drop = large ? kLargeFontDrop : kSmallFontDrop;
            std::vector<Text> texts(state == 2 ? std::begin(over) : std::begin(play),
                                    state == 2 ? std::end(over) : std::end(play));
            if (state == 1) {
                const float line = float(glutBitmapHeight(font)) / float(h);
                texts.push_back({-1.0f, 0.6f, "PAUSED"});
                texts.push_back({-1.0f, 0.6f - line, "Press P or Esc to resume"});
            }
            std::vector<Box> boxes;
            for (const Text& t : texts) {
                const int width = glutBitmapLength(font, reinterpret_cast<const unsigned char*>(t.text));
                const int x = t.x < 0 ? int(0.5f * w - 0.5f * width) : int(t.x * w);
                const int y = int(t.y * h);
                // the last glyph's advance leaves a column of space after it
                boxes.push_back(Box{x, y - drop, x + width - 1, y + rise});
                const Box& b = boxes.back();
                EXPECT_TRUE(b.x0 >= 0 && b.x1 < w && b.y0 >= 0 && b.y1 < h)
                    << t.text << " cut at " << name;
                EXPECT_GT(count(px, b, isCyan), 10) << t.text << " at " << name;
            }
            for (size_t i = 0; i < boxes.size(); ++i)
                for (size_t j = i + 1; j < boxes.size(); ++j) {
                    const Box &a = boxes[i], &b = boxes[j];
                    EXPECT_TRUE(a.x1 < b.x0 || b.x1 < a.x0 || a.y1 < b.y0 || b.y1 < a.y0)
                        << texts[i].text << " runs into " << texts[j].text << " at " << name;
                }
            if (state != 2) {
                // the time and power bars, from their polygons; no text pixel on them
                const Box bars[] = {{int(0.0757f * w) + 1, int(0.9114f * h) + 1,
                                     int(0.9243f * w) - 1, int(0.9330f * h) - 1},
                                    {int(0.3485f * w) + 1, int(0.8551f * h) + 1,
                                     int(0.6515f * w) - 1, int(0.8897f * h) - 1}};
                for (const Box& bar : bars)
                    EXPECT_EQ(count(px, bar, isCyan), 0) << "a text on a bar at " << name;
            }
            EXPECT_EQ(strayCyan(px, boxes), 0) << name << " state " << state;
        }
    }
    resizeTestWindow(kSize, kSize);
}

// Each font from the size its widest text fits: the play texts' 24 points from 520 wide with ten
// eggs, from 514 once the level's counter is the widest, from 485 high for the power bar's
// label, and never for a counter too wide for its place; the controls' panel takes 12 points
// from 320 wide, 18 from 520 (its lines further apart than one pixel narrower)
TEST_F(HudDrawTest, EachFontIsTakenFromTheSizeWhereItsWidestTextFits)
{
    const struct {
        int w, h, eggs, rolls;
        bool large;
    } sizes[] = {{520, 485, 10, 10, true}, {520, 484, 10, 10, false}, {519, 700, 10, 10, false},
                 {514, 700, 9, 10, true},  {513, 700, 9, 10, false},
                 {600, 600, 10, 1000000000, false}};
    for (const auto& size : sizes) {
        resizeTestWindow(size.w, size.h);
        gEggsLeft = size.eggs;
        gRollsLeft = size.rolls;
        EXPECT_EQ(hudTextFont() == GLUT_BITMAP_TIMES_ROMAN_24, size.large)
            << size.w << "x" << size.h << " eggs " << size.eggs << " rolls " << size.rolls;
    }
    // the controls' lines, paused in play: from the first's top to the last's foot
    resetAllGlobals();
    gPaused = 1;
    auto controlsHeight = [](int w, int h) {
        const Pixels px = drawHudAt(w, h);
        int top = -1, foot = h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (isKeyYellow(px.at(x, y))) {
                    top = std::max(top, y);
                    foot = std::min(foot, y);
                }
        return top - foot;
    };
    for (int side : {320, 520}) {
        const int h = side == 320 ? 400 : 700;
        const int at = controlsHeight(side, h), below = controlsHeight(side - 1, h);
        EXPECT_GT(at, below + 10) << side << " wide: " << at << " against " << below;
    }
    resizeTestWindow(kSize, kSize);
}

}  // namespace
