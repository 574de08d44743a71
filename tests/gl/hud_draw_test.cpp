// HUD drawing read back from the frame buffer: the bars before the scene, the texts after it.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
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

int count(const Pixels& px, const Box& box, bool (*test)(const uint8_t*))
{
    int n = 0;
    for (int y = std::max(box.y0, 0); y <= std::min(box.y1, px.height - 1); ++y)
        for (int x = std::max(box.x0, 0); x <= std::min(box.x1, px.width - 1); ++x)
            n += test(px.at(x, y));
    return n;
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
    Pixels px = drawFrame();
    savePng(px, "hud_level_complete");
    EXPECT_GT(count(px, textBox(0.28f, 0.6f, "LEVEL 1 COMPLETE!"), isCyan), 100);
    EXPECT_GT(count(px, textBox(0.38f, 0.5f, "SCORE: 135"), isCyan), 60);
    EXPECT_EQ(count(px, textBox(0.03f, 0.96f, "Time Left:"), isCyan), 0);
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

TEST_F(HudDrawTest, TextsStayVisibleWithSomethingRightInFrontOfTheEye)
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
    drawHudText();
    Pixels px = glReadBack();
    EXPECT_GT(count(px, textBox(0.03f, 0.96f, "Time Left:"), isCyan), 40);
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

}  // namespace
