// SPDX-License-Identifier: MIT
// The rolls, eggs, splats and the owner on screen, and the GL state each drawing leaves behind.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/app.h"
#include "game/game_state.h"
#include "player/camera.h"
#include "player/projectile_draw.h"
#include "player/throwing.h"
#include "tests/support/gl_fixture.h"

namespace {

constexpr int kSize = 200;

// a plain white texture under one of the game's fixed names
void makeWhiteTexture(GLuint name)
{
    std::vector<unsigned char> white(4 * 4 * 3, 255);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, white.data());
    glBindTexture(GL_TEXTURE_2D, 0);
}

struct MatrixState {
    GLint depth;
    GLfloat matrix[16];
};

MatrixState modelview()
{
    MatrixState s;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.depth);
    glGetFloatv(GL_MODELVIEW_MATRIX, s.matrix);
    return s;
}

class ProjectileDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        glTestWindow(kSize, kSize);
        resetAllGlobals();
        gLevel = 3;
        gSpinStep = 1;
        gOwnerRadius = 15.0f;
        makeWhiteTexture(5);
        makeWhiteTexture(8);
        glEnable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45, 1, 0.1, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // unlit, so that a drawn colour reads back as itself
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
    }
    void TearDown() override { resetAllGlobals(); }

    void lookAt(float x, float y, float z)
    {
        glLoadIdentity();
        gluLookAt(x, y, z + 3.0f, x, y, z, 0, 1, 0);
    }

    // the brightest pixel's grey level in the middle of the window
    int centreBrightness()
    {
        Pixels p = glReadBack();
        int best = 0;
        for (int y = kSize / 2 - 5; y < kSize / 2 + 5; ++y)
            for (int x = kSize / 2 - 5; x < kSize / 2 + 5; ++x)
                best = std::max<int>(best, p.at(x, y)[0]);
        return best;
    }

    int litPixels()
    {
        Pixels p = glReadBack();
        int n = 0;
        for (size_t i = 0; i < p.rgb.size(); i += 3)
            n += p.rgb[i] > 30 || p.rgb[i + 1] > 30 || p.rgb[i + 2] > 30;
        return n;
    }

    RollRecord& addRoll(Vec3 at, Vec3 direction)
    {
        RollRecord roll{};
        roll.position = roll.previousPosition = at;
        roll.direction = direction;
        roll.active = 1;
        gRollsInFlight.push_back(roll);
        return gRollsInFlight.back();
    }

    EggRecord& addEgg(Vec3 previous, Vec3 at, uint8_t active, uint8_t struck, uint8_t struckPlant)
    {
        EggRecord egg{};
        egg.previousPosition = previous;
        egg.position = at;
        egg.active = active;
        egg.struck = struck;
        egg.struckPlant = struckPlant;
        gEggsInFlight.push_back(egg);
        return gEggsInFlight.back();
    }
};

TEST_F(ProjectileDraw, AFlyingRollIsDrawnInLightGrey)
{
    addRoll(Vec3{1, 2, 3}, Vec3{0, 0, -1});
    lookAt(1, 2, 3);
    drawRolls(gLevel);
    // glColor3f(0.9, ...) unlit
    EXPECT_NEAR(centreBrightness(), 230, 3);
    savePng(glReadBack(), "projectile_roll");
}

TEST_F(ProjectileDraw, ARollLiesAcrossItsFlight)
{
    // flying along -z at level 3 the roll turns +90 degrees: its axis lies along x, so seen
    // from the side (down the x axis) it is a disc of radius 0.2, and from the front a band
    // 0.3 long and 0.4 high
    addRoll(Vec3{0, 0, 0}, Vec3{0, 0, -1});
    glLoadIdentity();
    gluLookAt(0, 0, 3, 0, 0, 0, 0, 1, 0);
    drawRolls(gLevel);
    Pixels front = glReadBack();
    int wide = 0, high = 0;
    for (int x = 0; x < kSize; ++x)
        wide += front.at(x, kSize / 2)[0] > 100;
    for (int y = 0; y < kSize; ++y)
        high += front.at(kSize / 2, y)[0] > 100;
    EXPECT_GT(high, wide);
}

TEST_F(ProjectileDraw, AFlyingEggIsAWhiteEllipsoid)
{
    addEgg(Vec3{0, 0, 0}, Vec3{-2, 1, 0}, 1, 0, 0);
    lookAt(-2, 1, 0);
    drawEggs();
    EXPECT_GE(centreBrightness(), 250);
    Pixels p = glReadBack();
    int wide = 0, high = 0;
    for (int x = 0; x < kSize; ++x)
        wide += p.at(x, kSize / 2)[0] > 100;
    for (int y = 0; y < kSize; ++y)
        high += p.at(kSize / 2, y)[0] > 100;
    EXPECT_GT(high, wide);  // taller than wide, 1.5 to 1
}

TEST_F(ProjectileDraw, ASplatOfRuleSixSitsAtTheOrigin)
{
    addEgg(Vec3{1, 2, 0}, Vec3{1, 2, 1}, 0, 1, 0);
    lookAt(0.25f, 0.25f, 0);
    drawEggs();
    EXPECT_GE(centreBrightness(), 250);
    savePng(glReadBack(), "projectile_splat");
}

TEST_F(ProjectileDraw, ASplatOfRuleFiveSitsOnTheFrontWall)
{
    addEgg(Vec3{2, 3, 5.8f}, Vec3{2, 3, 5.3f}, 0, 1, 0);
    lookAt(2.25f, 3.25f, 5.65f);
    drawEggs();
    EXPECT_GE(centreBrightness(), 250);
}

TEST_F(ProjectileDraw, OnlyAWallStrikeLeavesASplat)
{
    addEgg(Vec3{1, 2, 0}, Vec3{1, 2, 1}, 0, 1, 1);  // struck a plant
    addEgg(Vec3{1, 2, 0}, Vec3{1, 0, 1}, 0, 0, 0);  // landed on the ground
    lookAt(0.25f, 0.25f, 0);
    drawEggs();
    EXPECT_EQ(litPixels(), 0);
}

TEST_F(ProjectileDraw, TheOwnerStandsOnHerCircle)
{
    gSpinAngle = 0;  // at (15, 0, 0), 0.5 wide and 1.5 tall
    lookAt(15.25f, 0.75f, 0);
    drawOwner(gSpinAngle, gSpinStep, gOwnerRadius);
    EXPECT_GE(centreBrightness(), 250);
    savePng(glReadBack(), "projectile_owner");
}

TEST_F(ProjectileDraw, EachDrawingLeavesTheStateItPromises)
{
    addRoll(Vec3{0, 1, 0}, Vec3{0.3f, 0, 1});
    addEgg(Vec3{0, 1, 0}, Vec3{0, 1, 0}, 1, 0, 0);
    addEgg(Vec3{-7.4f, 3, 0}, Vec3{-7.6f, 3, 0}, 0, 1, 0);  // rule 2, turned onto the side wall
    addEgg(Vec3{1, 2, -10.8f}, Vec3{1, 2, -11}, 0, 1, 0);   // rule 1
    gSpinAngle = 123;

    struct Drawing {
        const char* name;
        void (*draw)();
    } drawings[] = {{"drawRolls", [] { drawRolls(1); }},
                    {"drawEggs", drawEggs},
                    {"drawOwner", [] { drawOwner(gSpinAngle, gSpinStep, gOwnerRadius); }}};
    for (const Drawing& d : drawings) {
        SCOPED_TRACE(d.name);
        glLoadIdentity();
        gluLookAt(0, 5, 20, 0, 0, 0, 0, 1, 0);
        glEnable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);  // the splat and the owner switch these off whatever they found
        glEnable(GL_BLEND);
        bool texturing = d.name != drawings[0].name;
        MatrixState before = modelview();
        d.draw();
        MatrixState after = modelview();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        EXPECT_EQ(after.depth, before.depth);
        EXPECT_EQ(0, std::memcmp(after.matrix, before.matrix, sizeof before.matrix));
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        if (texturing) {
            EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
            EXPECT_FALSE(glIsEnabled(GL_BLEND));
        }
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

}  // namespace
