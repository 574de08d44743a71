// SPDX-License-Identifier: MIT
// The shell's GL side in-process: the reshape's projection, and whole frames drawn by the
// display callback with the generated assets.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "app/frame_clock.h"
#include "assets/texture_loader.h"
#include "game/game_state.h"
#include "game/play_step.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/input.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"
#include "tests/support/gl_fixture.h"

namespace {


struct Projection {
    float m[16];
};

Projection currentProjection()
{
    Projection p;
    glGetFloatv(GL_PROJECTION_MATRIX, p.m);
    return p;
}

const double kFocal = 1.0 / std::tan(30.0 * M_PI / 180.0);  // 60 degrees vertically

}  // namespace

class Frame : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        glTestWindow(600, 600);
    }
    void SetUp() override { resetAllGlobals(); }
    void TearDown() override { resetAllGlobals(); }
};

TEST_F(Frame, ReshapeKeepsSixtyDegreesAndFollowsTheAspect)
{
    onReshape(800, 400);
    EXPECT_EQ(gWindowWidth, 800);
    EXPECT_EQ(gWindowHeight, 400);
    EXPECT_EQ(redisplayRequestCount(), 1);
    Projection p = currentProjection();
    EXPECT_NEAR(p.m[5], kFocal, 1e-5);
    EXPECT_NEAR(p.m[0], kFocal / 2.0, 1e-5);
    // near 0.5 and far 73
    double n = 0.5, f = 73.0;
    EXPECT_NEAR(p.m[10], -(f + n) / (f - n), 1e-5);
    EXPECT_NEAR(p.m[14], -2 * f * n / (f - n), 1e-5);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 400);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    onReshape(600, 600);
}

TEST_F(Frame, ReshapeToNoHeightStaysFinite)
{
    onReshape(600, 0);
    EXPECT_EQ(gWindowHeight, 0);
    Projection p = currentProjection();
    for (float v : p.m)
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_NEAR(p.m[0], kFocal / 600.0, 1e-6);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    onReshape(600, 600);
}

TEST_F(Frame, DisplayDrawsWholeFramesAndLeavesTheStacksBalanced)
{
    const char* run = std::getenv("VX_RUN_DIR");
    ASSERT_TRUE(run && *run) << "VX_RUN_DIR names the generated assets";
    ASSERT_EQ(chdir(run), 0) << run;
    glEnable(GL_LIGHTING);
    assignStartingValues();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    loadTextures();
    // lives for the rest of the process, as in the game
    World* world = new World();
    world->startDrawing();
    gWorld = world;
    addPlaceholderStreamer();
    gStreamers.push_back(new PaperStreamer(Vec3{0, 3, 0}, Vec3{0, 3, 0.3f}));
    onReshape(600, 600);
    while (glGetError() != GL_NO_ERROR) {
    }

    runPlayStep();  // the step places the camera the frame is drawn from
    onDisplay();
    EXPECT_EQ(gFrameIntervalMs, 0);
    onDisplay();
    EXPECT_LE(gFrameIntervalMs, kMaxFrameIntervalMs);
    EXPECT_FLOAT_EQ(gLevelSeconds, kStepMs / 1000.0f) << "drawing must not advance the level";

    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // the eye stands 1.5 above the ground at the first station, and the side vector is level
    float ground = world->groundHeight(gEye.x, gEye.z);
    EXPECT_NEAR(gEye.x, -18.10, 0.01);
    EXPECT_NEAR(gEye.z, -18.10, 0.01);
    EXPECT_NEAR(gEye.y, ground + 1.5f, 1e-4);
    EXPECT_NEAR(std::hypot(gSideVector.x, gSideVector.z), 1.0, 1e-5);

    // the bird's-eye view draws too, with the same bookkeeping
    gBirdsEyeView = 1;
    onDisplay();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // from above, the yard: mostly grass round the house, not the moon the camera hovers over
    // the swap copies, so the back buffer still holds the frame
    Pixels top = glReadBack();
    savePng(top, "frame_birds_eye");
    long grass = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 600; ++x) {
            const uint8_t* p = top.at(x, y);
            grass += p[1] > p[0] + 4 && p[1] > p[2] + 4;
        }
    EXPECT_GT(grass, 600 * 600 / 4);
    gBirdsEyeView = 0;
}
