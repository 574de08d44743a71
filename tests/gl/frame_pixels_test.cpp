// SPDX-License-Identifier: MIT
// The batched frame (terrain, house group, sky and moon replayed from lists, streamers as
// arrays) against the literal one (everything sent triangle by triangle every frame): the real
// onDisplay on the scripted scene, compared pixel for pixel in several states of play.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/app.h"
#include "game/game_state.h"
#include "player/camera.h"
#include "player/camera_placement.h"
#include "player/input.h"
#include "player/projectile_draw.h"
#include "scene/world.h"
#include "terrain/terrain.h"
#include "tests/support/literal_drawing.h"
#include "tests/support/scripted_scene.h"

namespace {

constexpr int kSize = 600;

std::vector<uint8_t> drawFrame(bool literal)
{
    freezeFrameState();
    if (literal)
        drawLiteralFrame();
    else
        onDisplay();
    glFinish();
    // the swap leaves the back buffer as it was drawn under this renderer
    std::vector<uint8_t> rgb(size_t(kSize) * kSize * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

long differing(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    long count = 0;
    for (size_t i = 0; i < a.size(); i += 3)
        count += std::memcmp(&a[i], &b[i], 3) != 0;
    return count;
}

size_t distinctColours(const std::vector<uint8_t>& rgb)
{
    std::set<uint32_t> colours;
    for (size_t i = 0; i < rgb.size(); i += 3)
        colours.insert(uint32_t(rgb[i]) << 16 | uint32_t(rgb[i + 1]) << 8 | rgb[i + 2]);
    return colours.size();
}

bool sStarted = false;
ScriptedSceneCounts sCounts;

}  // namespace

class FramePixels : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const char* run = std::getenv("VX_RUN_DIR");
        sStarted = startScriptedGame(run, kSize, kSize);
        if (!sStarted)
            return;
        sCounts = buildScriptedScene();
        // the streamers take whatever material the frame before left; the first frame has none
        // before it and looks different either way
        drawFrame(true);
    }
    static void TearDownTestSuite() { finishScriptedGame(); }
    void SetUp() override
    {
        ASSERT_TRUE(sStarted) << "the generated assets are in VX_RUN_DIR";
    }

    // literal first, then batched, then literal again: the lists made by the first batched frame
    // and the literal drawing do not disturb one another
    void expectSamePixels(const char* state)
    {
        std::vector<uint8_t> literal = drawFrame(true);
        std::vector<uint8_t> batched = drawFrame(false);
        std::vector<uint8_t> again = drawFrame(true);
        std::vector<uint8_t> batchedAgain = drawFrame(false);
        EXPECT_EQ(differing(literal, batched), 0) << state;
        EXPECT_EQ(differing(literal, again), 0) << state;
        EXPECT_EQ(differing(batched, batchedAgain), 0) << state;
        // a frame of a few colours would mean nothing was drawn
        EXPECT_GT(distinctColours(batched), 200u) << state;
    }
};

TEST_F(FramePixels, TheSceneIsWhatTheHarnessTimes)
{
    EXPECT_GE(sCounts.streamers, 40);
    EXPECT_EQ(sCounts.rollsInFlight, 10);
    EXPECT_EQ(sCounts.eggsInFlight, 10);
    EXPECT_GE(sCounts.splats, 5);
}

TEST_F(FramePixels, PlayingWithTheOwnerInSight)
{
    expectSamePixels("playing");
}

TEST_F(FramePixels, DarkWindowsWhileTheOwnerIsAway)
{
    float angle = gSpinAngle;
    gSpinAngle = 20.0f;
    expectSamePixels("owner away");
    gSpinAngle = angle;
}

TEST_F(FramePixels, WireframeStreamersAndHouse)
{
    gWireframe = 1;
    gWorld->toggleWireframe();
    expectSamePixels("wireframe");
    gWorld->toggleWireframe();
    gWireframe = 0;
}

TEST_F(FramePixels, LeaningBehindEachCoverObject)
{
    gHideRightAmount = 1.5f;
    expectSamePixels("leaning right");
    gHideRightAmount = 0.0f;
    gHideLeftAmount = -1.5f;
    expectSamePixels("leaning left");
    gHideLeftAmount = 0.0f;
}

// turned away from the flights, the rolls and eggs out of sight are left out of the batched frame
TEST_F(FramePixels, FlightsOutOfSight)
{
    const float yaw = gCameraYaw;
    gCameraYaw = gHomeYaw + 0.7f;
    updateLookVector();
    placeCamera(gWorld);  // as the step leaves it
    drawFrame(false);
    EXPECT_GT(gRollsOutOfSight, 0);
    EXPECT_GT(gEggsOutOfSight, 0);
    EXPECT_LT(gRollsOutOfSight + gEggsOutOfSight, 20) << "some still in sight";
    expectSamePixels("turned away from the flights");
    gCameraYaw = yaw;
    updateLookVector();
    placeCamera(gWorld);
}

TEST_F(FramePixels, FromAbove)
{
    gBirdsEyeView = 1;
    expectSamePixels("bird's-eye view");
    gBirdsEyeView = 0;
}

// the harness's views (each station's home, hidden left and right at each level, walked out to
// the full lean, at the ground, at the sky, from above) with the scripted scene in them; hidden
// inside a bush, the batched frame leaves out what lies behind the lump round the eye, and at
// home the ground behind the house
TEST_F(FramePixels, EveryViewTheHarnessTimes)
{
    int walledIn = 0;
    for (const ScriptedView& view : scriptedViews()) {
        enterScriptedView(view);
        expectSamePixels(view.name.c_str());
        // the ground behind the lump is left out: a few tiles round the bush are all that is sent
        walledIn += gWorld->terrain->drawnTriangles < 1000;
        if (view.look == ScriptedView::kHome) {
            // the ground behind the house is left out, unless the house is drawn in lines
            const int32_t solid = gWorld->terrain->drawnTriangles;
            gWorld->toggleWireframe();
            drawFrame(false);
            gWorld->toggleWireframe();
            EXPECT_LT(solid * 4, gWorld->terrain->drawnTriangles * 3) << view.name;
        }
        leaveScriptedView();
    }
    EXPECT_GE(walledIn, 3) << "views hidden inside a lump of the bush";
}

// the walk out behind the cover, step by step: the eye enters and leaves the bush's lumps
TEST_F(FramePixels, WalkingOutBehindTheBush)
{
    const ScriptedView home{"walk", 1, ScriptedView::kHome};
    enterScriptedView(home);
    gHideLeftOpen = 1;
    for (int step = 0; gHideLeftOpen && step < 100; ++step) {
        stepHideLeft(48.0f);
        placeCamera(gWorld);  // as the step leaves it
        expectSamePixels(("walking left, step " + std::to_string(step)).c_str());
    }
    leaveScriptedView();
}

TEST_F(FramePixels, LevelCompleteText)
{
    gLevelOver = 1;
    gTurning = 1;
    gScore = 1234;
    expectSamePixels("level complete");
    gLevelOver = 0;
    gTurning = 0;
}
