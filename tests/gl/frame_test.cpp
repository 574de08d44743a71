// SPDX-License-Identifier: MIT
// The shell's GL side in-process: the reshape's projection, and whole frames drawn by the
// display callback with the generated assets.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "app/app.h"
#include "app/frame_clock.h"
#include "app/timedemo.h"
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

// the timedemo's floor: its noise texture in the sky's name, one quad of it over the whole window,
// and every matrix and switch it touched as it found them
TEST(TimedemoFloor, CoversTheWindowWithItsNoiseAndLeavesTheStateAsItWas)
{
    glTestWindow(320, 240);
    glViewport(0, 0, 320, 240);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-5, 5, -5, 5, -5, 5);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(3.0f, 2.0f, 0.0f);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);

    makeFloorTexture();
    glBindTexture(GL_TEXTURE_2D, kTextureSky);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    ASSERT_EQ(width, 1024);
    ASSERT_EQ(height, 512);
    std::vector<uint8_t> texels(size_t(width) * size_t(height) * 3);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(std::set<uint8_t>(texels.begin(), texels.end()).size(), 256u) << "noise, not a fill";
    glBindTexture(GL_TEXTURE_2D, 0);

    glClearColor(0, 0, 0, 1);
    drawFloorFrame();
    const Pixels frame = glReadBack();
    savePng(frame, "timedemo_floor");
    long lit = 0;
    std::set<uint32_t> colours;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const uint8_t* p = frame.at(x, y);
            lit += p[0] > 8 || p[1] > 8 || p[2] > 8;
            colours.insert(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
        }
    // each corner of the window is covered, with the noise
    EXPECT_GT(lit, long(frame.width) * frame.height * 9 / 10);
    for (const auto& [x, y] : {std::pair{2, 2}, {317, 2}, {2, 237}, {317, 237}}) {
        long near = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const uint8_t* p = frame.at(x + dx, y + dy);
                near += p[0] > 8 || p[1] > 8 || p[2] > 8;
            }
        EXPECT_GT(near, 15) << "the corner at " << x << "," << y;
    }
    EXPECT_GT(colours.size(), 200u) << "the noise, not one colour";

    GLfloat projectionAfter[16], modelviewAfter[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewAfter);
    EXPECT_EQ(std::memcmp(projection, projectionAfter, sizeof projection), 0);
    EXPECT_EQ(std::memcmp(modelview, modelviewAfter, sizeof modelview), 0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
