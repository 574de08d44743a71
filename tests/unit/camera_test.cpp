// SPDX-License-Identifier: MIT
// The look direction, the look limits, pointer scaling, hiding and the walk back.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/app.h"
#include "player/camera.h"

namespace {

constexpr double kYawLimit = 0.5235986666666667;

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAllGlobals();
        gWindowWidth = gWindowHeight = 600;
        gUpVector = Vec3{0, 1, 0};
        gSideVector = Vec3{0, 0, 1};  // left is +z
        tick(16);
    }
    // the time since the last step aside
    static float sStepMs;
    static void tick(float ms) { sStepMs = ms; }
    static float tickStepMs() { return sStepMs; }
};

float CameraTest::sStepMs = 16.0f;

TEST_F(CameraTest, LookVectorFollowsYawPitchAndRadius)
{
    gCameraYaw = 0.0f;
    gCameraPitch = 0.0f;
    updateLookVector();
    EXPECT_FLOAT_EQ(gLookVector.x, 1.0f);
    EXPECT_FLOAT_EQ(gLookVector.y, 1.0f);  // the look-at point sits 1.0 above the base
    EXPECT_NEAR(gLookVector.z, 0.0f, 1e-7);

    gCameraYaw = 1.570796f;
    gCameraPitch = 0.5f;
    gLookRadius = 2.0f;
    updateLookVector();
    EXPECT_NEAR(gLookVector.x, 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(gLookVector.y, float(std::sin(0.5) * 2 + 1));
    EXPECT_FLOAT_EQ(gLookVector.z, float(std::cos(0.5) * 2));
}

TEST_F(CameraTest, ClampLookHoldsYawWithinHomeField)
{
    gHomeYaw = 0.785398f;
    gCameraYaw = gHomeYaw - 0.7f;
    clampLook();
    EXPECT_EQ(gCameraYaw, float(gHomeYaw - kYawLimit));

    gCameraYaw = gHomeYaw + 0.7f;
    clampLook();
    EXPECT_EQ(gCameraYaw, float(gHomeYaw + kYawLimit));

    gCameraYaw = gHomeYaw + 0.3f;
    clampLook();
    EXPECT_EQ(gCameraYaw, gHomeYaw + 0.3f);
}

TEST_F(CameraTest, ClampLookHoldsPitchBetweenLevelAndSixtyDegrees)
{
    gCameraPitch = -0.2f;
    clampLook();
    EXPECT_EQ(gCameraPitch, 0.0f);

    gCameraPitch = 2.0f;
    clampLook();
    EXPECT_EQ(gCameraPitch, 1.0471973f);

    gCameraPitch = 0.4f;
    clampLook();
    EXPECT_EQ(gCameraPitch, 0.4f);
}

TEST_F(CameraTest, PixelsScaleToViewUnitsWithAspect)
{
    EXPECT_FLOAT_EQ(pixelToViewX(0, gWindowWidth, gWindowHeight), float(2 * (0 - 299.5) / 600));
    EXPECT_FLOAT_EQ(pixelToViewX(599, gWindowWidth, gWindowHeight), float(2 * (599 - 299.5) / 600));
    EXPECT_FLOAT_EQ(pixelToViewY(599, gWindowWidth, gWindowHeight), float(2 * (599 - 299.5) / 600));

    // a wide window stretches x by its aspect; y keeps the height's scale
    gWindowWidth = 800;
    EXPECT_FLOAT_EQ(pixelToViewX(0, gWindowWidth, gWindowHeight), float((2 * (0 - 399.5) / 800) * (800.0 / 600)));
    EXPECT_FLOAT_EQ(pixelToViewY(0, gWindowWidth, gWindowHeight), float(2 * (0 - 299.5) / 600));
}

TEST_F(CameraTest, UnsizedWindowGivesNoLookMovement)
{
    gWindowHeight = 0;
    EXPECT_EQ(pixelToViewX(100, gWindowWidth, gWindowHeight), 0.0f);
    EXPECT_EQ(pixelToViewY(100, gWindowWidth, gWindowHeight), 0.0f);
    gWindowWidth = 0;
    gWindowHeight = 600;
    EXPECT_EQ(pixelToViewX(100, gWindowWidth, gWindowHeight), 0.0f);
}

TEST_F(CameraTest, HoldingLeftStopsAtTheLimitWithoutMovingTheEyeOnTheLastStep)
{
    int calls = 0;
    Vec3 before{};
    while (gHideLeftOpen && calls < 100) {
        before = gHideShift;
        stepHideLeft(tickStepMs());
        ++calls;
    }
    EXPECT_EQ(calls, 24);  // 23 steps of 0.064, then the one that reaches the limit
    EXPECT_EQ(gHideLeftAmount, -1.5f);
    EXPECT_EQ(gHideShift.x, before.x);
    EXPECT_EQ(gHideShift.y, before.y);
    EXPECT_EQ(gHideShift.z, before.z);
    // to the left (+side) and down by half as much
    EXPECT_NEAR(gHideShift.z, 23 * 0.064, 1e-4);
    EXPECT_NEAR(gHideShift.y, -23 * 0.032, 1e-4);
    EXPECT_EQ(gHideShift.x, 0.0f);

    const Vec3 atLimit = gHideShift;
    stepHideLeft(tickStepMs());
    stepHideLeft(tickStepMs());
    EXPECT_EQ(gHideLeftAmount, -1.5f);
    EXPECT_EQ(gHideShift.z, atLimit.z);
    EXPECT_EQ(gHideShift.y, atLimit.y);
}

TEST_F(CameraTest, HoldingRightStopsAtTheLimitToTheRightAndDown)
{
    stepHideRight(tickStepMs());
    EXPECT_FLOAT_EQ(gHideRightAmount, 0.064f);
    EXPECT_FLOAT_EQ(gHideShift.z, -0.064f);
    EXPECT_FLOAT_EQ(gHideShift.y, -0.032f);

    for (int i = 0; i < 100; ++i)
        stepHideRight(tickStepMs());
    EXPECT_EQ(gHideRightAmount, 1.5f);
    EXPECT_EQ(gHideRightOpen, 0);
    EXPECT_NEAR(gHideShift.z, -23 * 0.064, 1e-4);
}

TEST_F(CameraTest, OneLongStepStopsExactlyAtTheLimit)
{
    tick(1000);  // a stall: 4 units' worth in one step
    stepHideLeft(tickStepMs());
    EXPECT_EQ(gHideLeftAmount, -1.5f);
    EXPECT_EQ(gHideLeftOpen, 0);
    EXPECT_EQ(gHideShift.z, 0.0f);
}

TEST_F(CameraTest, WalkBackFromLeftReachesZeroThenReopens)
{
    for (int i = 0; i < 30; ++i)
        stepHideLeft(tickStepMs());
    gReturnFromLeft = 1;

    int calls = 0;
    Vec3 before{};
    while (gHideLeftAmount < 0.0f && calls < 100) {
        before = gHideShift;
        stepLeanReturn(16.0f);
        ++calls;
    }
    EXPECT_EQ(calls, 24);
    EXPECT_EQ(gHideLeftAmount, 0.0f);
    EXPECT_EQ(gHideShift.z, before.z);  // the arriving step leaves the eye alone
    EXPECT_EQ(gReturnFromLeft, 1);
    EXPECT_EQ(gHideLeftOpen, 0);

    stepLeanReturn(16.0f);
    EXPECT_EQ(gReturnFromLeft, 0);
    EXPECT_EQ(gHideLeftOpen, 1);
    EXPECT_EQ(gHideLeftAmount, 0.0f);
    EXPECT_EQ(gHideShift.z, 0.0f);
    EXPECT_EQ(gHideShift.y, 0.0f);
}

TEST_F(CameraTest, WalkBackFromRightTracesTheAmountAndComesHome)
{
    for (int i = 0; i < 30; ++i)
        stepHideRight(tickStepMs());
    gReturnFromRight = 1;

    testing::internal::CaptureStdout();
    stepLeanReturn(100.0f);
    stepLeanReturn(100.0f);
    for (int i = 0; i < 10; ++i)
        stepLeanReturn(100.0f);
    const std::string trace = testing::internal::GetCapturedStdout();

    // one line per step while the amount is above 0: 1.5, 1.1, 0.7, 0.3
    EXPECT_EQ(trace, "1.500000\n1.100000\n0.700000\n0.300000\n");
    EXPECT_EQ(gHideRightAmount, 0.0f);
    EXPECT_EQ(gReturnFromRight, 0);
    EXPECT_EQ(gHideRightOpen, 1);
    EXPECT_EQ(gHideShift.z, 0.0f);
}

// out in 23 steps of 0.064 (1.472), back in 3 steps of 0.4 (1.2): the eye would stay 0.272 to
// the side; back home it stands on the station again
TEST_F(CameraTest, UnequalStepsOutAndBackStillEndOnTheStation)
{
    for (int i = 0; i < 30; ++i)
        stepHideRight(tickStepMs());
    gReturnFromRight = 1;
    testing::internal::CaptureStdout();
    for (int i = 0; i < 4; ++i)
        stepLeanReturn(100.0f);
    EXPECT_EQ(gHideRightAmount, 0.0f);
    EXPECT_NEAR(gHideShift.z, -23 * 0.064 + 1.2, 1e-4);
    stepLeanReturn(100.0f);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(gHideShift.x, 0.0f);
    EXPECT_EQ(gHideShift.y, 0.0f);
    EXPECT_EQ(gHideShift.z, 0.0f);
}

// the eye only settles once both sides are home
TEST_F(CameraTest, ArrivingHomeOnOneSideKeepsTheOtherSidesLean)
{
    for (int i = 0; i < 5; ++i)
        stepHideRight(tickStepMs());
    gHideLeftAmount = -0.1f;  // a stray left amount walking back
    gReturnFromLeft = 1;
    stepLeanReturn(100.0f);
    stepLeanReturn(100.0f);
    EXPECT_EQ(gReturnFromLeft, 0);
    EXPECT_NEAR(gHideShift.z, -5 * 0.064, 1e-4);
}

TEST_F(CameraTest, NoWalkBackWithoutTheReturnFlag)
{
    stepHideLeft(tickStepMs());
    const float amount = gHideLeftAmount;
    stepLeanReturn(16.0f);
    EXPECT_EQ(gHideLeftAmount, amount);
}

// the side closes at the limit and stays closed until the player is back; a press meanwhile
// must not push the eye further than the amount says, or the walk back ends off the station
TEST_F(CameraTest, PressingAgainWhileWalkingBackKeepsTheEyeWithTheAmount)
{
    for (int i = 0; i < 30; ++i)
        stepHideLeft(tickStepMs());
    gReturnFromLeft = 1;
    for (int i = 0; i < 5; ++i) {
        stepLeanReturn(16.0f);
        const Vec3 before = gHideShift;
        const float amount = gHideLeftAmount;
        stepHideLeft(tickStepMs());
        EXPECT_EQ(gHideShift.z, before.z);
        EXPECT_EQ(gHideLeftAmount, amount);
    }
    for (int i = 0; i < 30; ++i)
        stepLeanReturn(16.0f);
    EXPECT_EQ(gHideLeftOpen, 1);
    EXPECT_NEAR(gHideShift.z, 0.0f, 1e-4);
}

TEST_F(CameraTest, ClockRunningBackwardsGivesNoStep)
{
    tick(16.0f - 4294967040.0f);  // a 32-bit counter that wrapped
    stepHideLeft(tickStepMs());
    stepHideRight(tickStepMs());
    EXPECT_EQ(gHideLeftAmount, 0.0f);
    EXPECT_EQ(gHideRightAmount, 0.0f);

    gHideLeftAmount = -1.0f;
    gReturnFromLeft = 1;
    stepLeanReturn(-4294967040.0f);
    EXPECT_EQ(gHideLeftAmount, -1.0f);
}

}  // namespace
