// SPDX-License-Identifier: MIT
// The frame loop without a display: its clocks, the pacing, the starting values, and what one
// step of play does to the game, in its order.
#include "app/app.h"
#include "player/camera_placement.h"
#include "app/frame_clock.h"
#include "app/timedemo.h"
#include "game/game_state.h"
#include "game/play_step.h"
#include "game/play_summary.h"
#include "game/rules.h"
#include "platform/clock.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/input.h"
#include "player/throwing.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"
#include "tests/support/literal_step.h"
#include "tests/support/run_dir.h"
#include "tests/support/scripted_scene.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

class FrameLoop : public testing::Test {
protected:
    void SetUp() override
    {
        resetAllGlobals();
        assignStartingValues();
        addPlaceholderStreamer();
    }
    void TearDown() override { resetAllGlobals(); }
};

// ---- the steps the wall clock owes -------------------------------------------------------

TEST(StepClock, OwesOneStepASixtiethOfASecondAndCapsAStall)
{
    resetFrameClock();
    const struct { double now; int32_t steps; } calls[] = {
        {100.0, 1},                     // the first call runs one step
        {100.0 + 1.0 / 60.0, 1},        // on time
        {100.0 + 1.5 / 60.0, 0},        // half a step: owed to the next call
        {100.0 + 3.0 / 60.0, 2},        // ... which runs it
        {100.0 + 8.0 / 60.0, 5},        // a slow frame: the game keeps its pace
        {105.0, 15},                    // a five-second stall: a quarter of a second, no more
        {105.0 + 1.0 / 60.0, 1},
        {104.0, 0},                     // a clock that went back owes nothing
    };
    for (auto c : calls)
        EXPECT_EQ(takeOwedSteps(c.now), c.steps) << c.now;
}

TEST(StepClock, AFifteenFrameMachineRunsSixtyStepsASecond)
{
    resetFrameClock();
    int64_t steps = takeOwedSteps(0.0);
    for (int frame = 1; frame <= 150; ++frame)
        steps += takeOwedSteps(frame / 15.0);
    EXPECT_EQ(steps, 601);
}

TEST(FrameClock, MeasuresFromStartToStartAndCapsAStall)
{
    resetFrameClock();
    beginFrameClock(1000);
    EXPECT_EQ(gFrameIntervalMs, 0);
    beginFrameClock(1016);
    EXPECT_EQ(gFrameIntervalMs, 16);
    beginFrameClock(6116);
    EXPECT_EQ(gFrameIntervalMs, kMaxFrameIntervalMs);
    // the millisecond count wraps after 24.8 days
    beginFrameClock(INT32_MAX - 5);
    beginFrameClock(INT32_MIN + 10);
    EXPECT_EQ(gFrameIntervalMs, 16);
}

// ---- pacing ------------------------------------------------------------------------------

TEST(Pacing, AFastLoopMakesAtMostSixtyStepsASecond)
{
    // a loop that would take 1 ms a step: every call waits for its slot
    double clock = 0.0, previous = -1.0;
    int steps = 0;
    while (clock < 1.0) {
        double start = pacedIdleStart(previous, clock);
        if (start >= 1.0)
            break;
        ++steps;
        previous = start;
        clock = start + 0.001;
    }
    EXPECT_EQ(steps, 60);
}

// the timedemo's line: the frames' median and 99th percentile between the two nearest frames
// whatever order they came in, the worst, and the rate over the whole run's wall time
TEST(Timedemo, LineReadsTheFramesInAnyOrder)
{
    std::vector<double> frames;
    for (int i = 0; i < 100; ++i)
        frames.push_back(double(i * 37 % 100 + 1));  // 1 to 100, shuffled
    EXPECT_EQ(timedemoLine(frames, 4.0),
              "timedemo: 100 frames in 4.00 s, 25.0 frames a second; median 50.50 ms, "
              "99th percentile 99.01 ms, worst 100.00 ms");
    EXPECT_EQ(timedemoLine({7.0, 3.0}, 0.01),
              "timedemo: 2 frames in 0.01 s, 200.0 frames a second; median 5.00 ms, "
              "99th percentile 6.96 ms, worst 7.00 ms");
    // one frame is every percentile of itself, with nothing read past it
    EXPECT_EQ(timedemoLine({4.0}, 0.5),
              "timedemo: 1 frames in 0.50 s, 2.0 frames a second; median 4.00 ms, "
              "99th percentile 4.00 ms, worst 4.00 ms");
    EXPECT_EQ(timedemoLine({}, 0.0),
              "timedemo: 0 frames in 0.00 s, 0.0 frames a second; median 0.00 ms, "
              "99th percentile 0.00 ms, worst 0.00 ms");
}

TEST(Pacing, ASlowLoopIsNotHeldBack)
{
    // 50 ms a step: each call goes ahead the moment it arrives
    EXPECT_DOUBLE_EQ(pacedIdleStart(-1.0, 3.0), 3.0);
    EXPECT_DOUBLE_EQ(pacedIdleStart(3.0, 3.05), 3.05);
    EXPECT_DOUBLE_EQ(pacedIdleStart(3.05, 3.06), 3.05 + 1.0 / 60.0);
}

TEST(Pacing, RealIdleCallsNeverExceedTheRate)
{
    resetFrameClock();
    double start = platformSeconds();
    int calls = 0;
    while (platformSeconds() - start < 0.5) {
        paceIdleCall();
        ++calls;
    }
    // the first call goes at once, then one every 1/60 s
    EXPECT_LE(calls, 32);
}

// ---- start-up ----------------------------------------------------------------------------

// the timedemo's frames named as the harness names its views, and every other frame "other"
TEST_F(FrameLoop, TimedemoNamesTheFramesAsTheHarnessNamesItsViews)
{
    const struct {
        void (*set)();
        const char* name;
    } cases[] = {
        {[] {}, "station 1 home"},
        {[] { gLevel = 3; }, "station 3 home"},
        {[] { gHideLeftAmount = -1.5f; }, "level 1 hidden left"},
        {[] { gHideLeftAmount = -1.4f; }, "other"},  // on the way out
        {[] { gLevel = 4, gHideRightAmount = 1.5f; }, "level 4 hidden right"},
        {[] { gHideRightAmount = 0.1f; }, "other"},
        {[] { gCameraYaw += 0.01f; }, "other"},
        {[] { gCameraPitch -= 0.01f; }, "other"},
        {[] { gLooking = 1; }, "other"},
        {[] { gTurning = 1; }, "other"},
        {[] { gLevelOver = 1; }, "other"},
        {[] { gGameOver = 1; }, "other"},
        {[] { gPaused = 1; }, "other"},
        {[] { gBirdsEyeView = 1; }, "other"},
    };
    for (const auto& c : cases) {
        resetAllGlobals();
        assignStartingValues();
        c.set();
        EXPECT_EQ(timedemoViewName(), c.name);
    }
}

TEST_F(FrameLoop, StartingValues)
{
    EXPECT_FLOAT_EQ(gEyeLift.y, 1.5f);
    EXPECT_FLOAT_EQ(gOwnerRadius, 15.0f);
    EXPECT_EQ(gSpinStep, 1);
    EXPECT_FLOAT_EQ(gYardOffset, 25.6f);
    EXPECT_EQ(gStreamerHouseCollision, 1u);
    EXPECT_EQ(gWireframe, 0u);
    EXPECT_EQ(gShowFps, 0);
    // the look vector from yaw = pitch = pi/4, radius 1
    double c = std::cos(0.785398), s = std::sin(0.785398);
    EXPECT_NEAR(gLookVector.x, c * c, 1e-6);
    EXPECT_NEAR(gLookVector.y, s + 1.0, 1e-6);
    EXPECT_NEAR(gLookVector.z, s * c, 1e-6);
}

TEST_F(FrameLoop, OnlyTheLandedPlaceholderStreamerAtStart)
{
    ASSERT_EQ(gStreamers.size(), 1u);
    EXPECT_EQ(gStreamers[0]->landed, 1u);
    EXPECT_EQ(gStreamers[0]->roll, -1);
    EXPECT_FALSE(rollFlying(gStreamers[0]->roll));
}

// ---- the camera --------------------------------------------------------------------------

TEST_F(FrameLoop, EyeStandsOnTheStationCircle)
{
    placeCamera(nullptr);
    EXPECT_NEAR(gEye.x, -18.10, 0.01);
    EXPECT_NEAR(gEye.y, 1.5, 1e-6);
    EXPECT_NEAR(gEye.z, -18.10, 0.01);
    updateViewVectors();
    // the side vector is a unit vector to the player's left, level with the ground
    EXPECT_NEAR(gSideVector.y, 0.0, 1e-6);
    EXPECT_NEAR(std::hypot(gSideVector.x, gSideVector.z), 1.0, 1e-6);
    EXPECT_NEAR(gViewDir.y, gLookVector.y - 1.5f, 1e-6);
}

TEST_F(FrameLoop, StationBaseIsTheCosineTimesTheRadiusInDoubleThenStored)
{
    // along the turns of all four levels: the radius is the double 25.6, not the float nearest
    // it, which puts the base an ulp off at a third of these angles
    gEyeLift = Vec3{0.0f, 0.0f, 0.0f};
    float angle = 3.92699f;
    for (int step = 0; step < 800; ++step) {
        gStationAngle = angle;
        placeCamera(nullptr);
        ASSERT_EQ(gEye.x, float(std::cos(double(angle)) * 25.6)) << angle;
        ASSERT_EQ(gEye.z, float(std::sin(double(angle)) * 25.6)) << angle;
        angle = float(angle + 3.141592 / 400.0);
    }
}

TEST_F(FrameLoop, LeanAmountsReachTheWorldFromAHundredthOn)
{
    const struct { float amount; int32_t left; } cases[] = {
        {0.0f, 0}, {-0.005f, 0}, {-0.02f, -1}, {-1.0f, -1}, {-1.5f, -2}};
    for (auto c : cases) {
        gHideLeftAmount = c.amount;
        gHideRightAmount = -c.amount;
        EXPECT_EQ(leanLeftForDrawing(), c.left) << c.amount;
        EXPECT_EQ(leanRightForDrawing(), -c.left) << c.amount;
    }
}

// ---- the owner's walk --------------------------------------------------------------------

TEST_F(FrameLoop, OwnerWalkWrapsAfterPassing360)
{
    gSpinAngle = 358.0f;
    float seen[4];
    for (float& angle : seen) {
        stepOwnerWalk();
        angle = gSpinAngle;
    }
    EXPECT_FLOAT_EQ(seen[0], 359.0f);
    EXPECT_FLOAT_EQ(seen[1], 360.0f);
    EXPECT_FLOAT_EQ(seen[2], 0.0f);
    EXPECT_FLOAT_EQ(seen[3], 1.0f);

    gSpinStep = -1;
    gSpinAngle = 0.0f;
    stepOwnerWalk();
    EXPECT_FLOAT_EQ(gSpinAngle, 360.0f);

    gSpinEnabled = 0;
    stepOwnerWalk();
    EXPECT_FLOAT_EQ(gSpinAngle, 360.0f);
}

// ---- one step of play --------------------------------------------------------------------

static RollRecord flyingRoll()
{
    RollRecord roll{};
    roll.position = Vec3{0.0f, 10.0f, 0.0f};
    roll.direction = Vec3{1.0f, 0.0f, 0.0f};
    roll.speed = Vec3{5.0f, 0.0f, 5.0f};
    roll.active = 1;
    return roll;
}

TEST_F(FrameLoop, IdleCallAsksForOneFrameWhateverTheStepsItRuns)
{
    long before = redisplayRequestCount();
    onIdle();
    EXPECT_EQ(gStepCount, 1);
    gIdleCallStart -= 0.1;  // as if the last call had come 0.1 s ago
    gStepClockLast -= 0.1;
    onIdle();
    EXPECT_GE(gStepCount, 7);
    EXPECT_EQ(redisplayRequestCount() - before, 2);
}

// paused or after GAME OVER the picture is drawn again only when something changed it: the call
// that brings the held state, and any input, even one the pause swallows
TEST_F(FrameLoop, PausedOrAfterGameOverTheIdleAsksForAFrameOnlyWhenSomethingChanged)
{
    auto framesBy = [](void (*calls)()) {
        const long before = redisplayRequestCount();
        calls();
        return redisplayRequestCount() - before;
    };
    onIdle();
    onKeyboard('p', 0, 0);
    EXPECT_GE(framesBy(onIdle), 1);
    ASSERT_TRUE(gPaused);
    EXPECT_EQ(framesBy([] { onIdle(); onIdle(); }), 0);
    onKeyboard('x', 0, 0);
    EXPECT_EQ(framesBy(onIdle), 1);
    EXPECT_EQ(framesBy(onIdle), 0);
    onKeyboard('p', 0, 0);
    EXPECT_GE(framesBy(onIdle), 1);
    EXPECT_EQ(framesBy(onIdle), 1);

    // the last level ends at a step of the call: that call draws GAME OVER, the next ones nothing
    gLevel = 4;
    gRollsLeft = gEggsLeft = 0;
    gLevelSeconds = 0.99f;
    EXPECT_GE(framesBy(onIdle), 1);
    ASSERT_TRUE(gGameOver);
    EXPECT_EQ(framesBy([] { onIdle(); onIdle(); }), 0);
    onKeyboard('e', 0, 0);
    EXPECT_EQ(framesBy(onIdle), 1);
}

// the strips go on settling after the game: each idle call draws them until none moves, then
// the picture is held again (the call that finds them settled draws once, as above); a pause
// holds it at once
TEST_F(FrameLoop, AfterGameOverFramesComeWhileAStripStillMovesThenOnlyForInput)
{
    auto framesBy = [](void (*calls)()) {
        const long before = redisplayRequestCount();
        calls();
        return redisplayRequestCount() - before;
    };
    // a strip standing in the yard, its roll long stopped: it falls
    addStreamer(new PaperStreamer(Vec3{20.0f, 0.5f, 20.0f}, Vec3{20.0f, 0.5f, 20.3f}));
    for (int level = 1; level <= 4; ++level)
        advanceTurn();
    ASSERT_TRUE(gGameOver);
    onIdle();
    EXPECT_FALSE(pictureHeld());
    EXPECT_EQ(framesBy([] { onIdle(); onIdle(); }), 2);
    onKeyboard('p', 0, 0);
    onIdle();
    EXPECT_TRUE(pictureHeld());
    EXPECT_EQ(framesBy(onIdle), 0);
    onKeyboard('p', 0, 0);
    onIdle();
    ASSERT_FALSE(gPaused);
    int steps = 0;
    for (; !pictureHeld() && steps < 60 * 60; ++steps)
        runPlayStep();
    EXPECT_TRUE(pictureHeld()) << "the strip never settled";
    EXPECT_GT(steps, 30);
    EXPECT_EQ(framesBy([] { onIdle(); onIdle(); }), 0);
}

TEST_F(FrameLoop, FlightsMoveOnlyWhilePlaying)
{
    gRollsInFlight.push_back(flyingRoll());
    runPlayStep();
    float x = gRollsInFlight[0].position.x;
    EXPECT_NEAR(x, 5.0 / 60.0, 1e-5);

    gTurning = 1;
    gLevelOver = 1;
    runPlayStep();
    EXPECT_FLOAT_EQ(gRollsInFlight[0].position.x, x);

    gGameOver = 1;
    runPlayStep();
    EXPECT_FLOAT_EQ(gRollsInFlight[0].position.x, x);
}

TEST_F(FrameLoop, ATurnIsTwoHundredStepsAndALevelEighteenHundred)
{
    int64_t steps = 0;
    while (!gLevelOver && steps < 5000) {
        runPlayStep();
        ++steps;
    }
    // 30 s; the float level clock reaches its 30th whole second a step late
    EXPECT_NEAR(double(steps), 1800.0, 1.0);
    const int64_t levelEnd = steps;
    while (gTurning && steps < 5000) {
        runPlayStep();
        ++steps;
    }
    // 3.33 s of turn: the step that ends the level makes the turn's first move
    EXPECT_EQ(steps - levelEnd + 1, 200);
    EXPECT_EQ(gLevel, 2);
}

TEST_F(FrameLoop, TurnStopsAtGameOverButTheOwnerWalksOn)
{
    gTurning = 1;
    gLevelOver = 1;
    float station = gStationAngle;
    runPlayStep();
    EXPECT_EQ(gTurnFrame, 1);
    EXPECT_GT(gStationAngle, station);

    gGameOver = 1;
    float spin = gSpinAngle;
    station = gStationAngle;
    runPlayStep();
    EXPECT_EQ(gTurnFrame, 1);
    EXPECT_FLOAT_EQ(gStationAngle, station);
    EXPECT_FLOAT_EQ(gSpinAngle, spin + 1.0f);
}

TEST_F(FrameLoop, PowerBarSwingsWhileCharging)
{
    runPlayStep();
    EXPECT_FLOAT_EQ(gThrowPower, 0.0f);
    gCharging = 1;
    float peak = 0.0f;
    int risingCalls = 0;
    while (!gPowerFalling && risingCalls < 100) {
        runPlayStep();
        ++risingCalls;
        peak = gThrowPower;
    }
    EXPECT_EQ(risingCalls, 14);
    EXPECT_NEAR(peak, 0.70f, 1e-4);
    for (int i = 0; i < 14; ++i)
        runPlayStep();
    EXPECT_NEAR(gThrowPower, 0.0f, 1e-4);
    EXPECT_EQ(gPowerFalling, 0);
}

TEST_F(FrameLoop, WalkBackFromALeftLeanReopensThatSide)
{
    gHideLeftAmount = -1.5f;
    gHideLeftOpen = 0;
    gReturnFromLeft = 1;
    updateViewVectors();
    for (int i = 0; i < 400 && gReturnFromLeft; ++i)
        runPlayStep();
    EXPECT_EQ(gReturnFromLeft, 0);
    EXPECT_EQ(gHideLeftOpen, 1);
    EXPECT_FLOAT_EQ(gHideLeftAmount, 0.0f);
}

TEST_F(FrameLoop, OnlyFreeStreamersAboveTheGroundSink)
{
    // index 0 hangs in the air with no roll: the loop must still leave it alone
    gStreamers[0]->current[0].position.y = 5.0f;
    float placeholderGravity = gStreamers[0]->current[0].gravity.y;

    PaperStreamer* free = new PaperStreamer(Vec3{0, 5, 0}, Vec3{0, 5, 0.3f});
    free->roll = -1;
    gStreamers.push_back(free);

    gRollsInFlight.push_back(flyingRoll());
    PaperStreamer* riding = new PaperStreamer(Vec3{0, 5, 0}, Vec3{0, 5, 0.3f});
    riding->roll = 0;
    gStreamers.push_back(riding);

    PaperStreamer* grounded = new PaperStreamer(Vec3{0, 0, 0}, Vec3{0, 0, 0.3f});
    grounded->roll = -1;
    grounded->current[0].position.y = 0.0f;  // its leading particle lies on the ground
    gStreamers.push_back(grounded);

    float freeGravity = free->current[0].gravity.y;
    float ridingGravity = riding->current[0].gravity.y;
    float groundedGravity = grounded->current[0].gravity.y;
    runPlayStep();

    EXPECT_FLOAT_EQ(gStreamers[0]->current[0].gravity.y, placeholderGravity);
    EXPECT_NEAR(free->current[0].gravity.y, freeGravity - (1000.0 / 60.0) / 30.0 * 0.0001, 1e-7);
    EXPECT_FLOAT_EQ(riding->current[0].gravity.y, ridingGravity);
    EXPECT_FLOAT_EQ(grounded->current[0].gravity.y, groundedGravity);
}

// ---- the idle bench's literal step -------------------------------------------------------

namespace {

// what a step moves, exactly: the summary's state (the strips, rolls and eggs, the level clock,
// the score) and the rest of the state of play, floats in hex
std::string stepState()
{
    char rest[512];
    std::snprintf(rest, sizeof rest,
                  " level=%d turning=%d over=%d bar=%a spin=%a sees=%d power=%a charging=%d "
                  "right=%a back=%d shift=%a,%a,%a yaw=%a station=%a",
                  int(gLevel), int(gTurning), int(gGameOver), double(gTimeBar),
                  double(gSpinAngle), int(gOwnerSeesPlayer), double(gThrowPower),
                  int(gCharging), double(gHideRightAmount), int(gReturnFromRight),
                  double(gHideShift.x), double(gHideShift.y), double(gHideShift.z),
                  double(gCameraYaw), double(gStationAngle));
    return playSummary() + rest;
}

// the bench's scene (tests/support/scripted_scene.h) with the power bar swinging, a walk back
// from the right and no ammunition left, so the level ends at its next whole second and the
// turn runs; then the steps, the state after each
std::vector<std::string> stepsFromTheBenchScene(void (*step)(), int steps)
{
    resetAllGlobals();
    assignStartingValues();
    if (!gWorld)
        buildWorld();
    gWorld->restoreLayout();
    addPlaceholderStreamer();
    buildScriptedScene();
    startCharging();
    gHideRightAmount = 1.2f;
    beginLeanReturn(false);
    gRollsLeft = 0;
    gEggsLeft = 0;
    std::vector<std::string> states;
    for (int k = 0; k < steps; ++k) {
        step();
        states.push_back(stepState());
    }
    return states;
}

}  // namespace

// the idle bench times the game's step against this one: they must be the same step, state for
// state, or the bench would go on timing a step the game no longer takes
TEST(IdleBench, ItsLiteralStepIsStepPlay)
{
    enterRunDirectory();
    const std::vector<std::string> literal = stepsFromTheBenchScene(stepPlayFullScan, 150);
    const bool turned = gTurning || gLevel == 2;
    const bool walkedBack = gHideRightAmount == 0.0f;
    const std::vector<std::string> game = stepsFromTheBenchScene(stepPlay, 150);
    resetAllGlobals();
    // the steps cross what the bench's scene alone would not: the level's end and the turn
    EXPECT_TRUE(turned);
    EXPECT_TRUE(walkedBack);
    ASSERT_EQ(literal.size(), game.size());
    for (size_t k = 0; k < game.size(); ++k)
        ASSERT_EQ(literal[k], game[k]) << "the two steps part at step " << k;
}
