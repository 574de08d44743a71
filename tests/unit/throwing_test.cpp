// SPDX-License-Identifier: MIT
// The right button, the power bar, the flight of rolls and eggs, and the drawing rules that need
// no display (the roll's heading, the splat placement).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "common/vec.h"
#include "game/game_state.h"
#include "game/play_step.h"
#include "game/rules.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/camera_placement.h"
#include "player/projectile_draw.h"
#include "player/throwing.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"

namespace {

// the eggs' flight step as the game takes it: a plant struck is scored at the level
void flyEggs(float dt)
{
    for (int32_t strikes = updateEggs(dt, gLevel); strikes > 0; --strikes)
        scorePlantStrike(gLevel);
}


class Throwing : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetPlayState();
        gWorld = nullptr;
        // the first station, as start-up leaves it
        gEyeLift = Vec3{0, 1.5f, 0};
        gStationAngle = 3.92699f;
        gViewDir = Vec3{0.7071f, 0.2f, 0.7071f};
        gSideVector = Vec3{-0.7071f, 0, 0.7071f};
    }
    void TearDown() override
    {
        gWorld = nullptr;
        resetPlayState();
    }

    // presses, lets the bar run the given steps, releases
    void chargeAndRelease(int steps)
    {
        onThrowButton(1);
        for (int i = 0; i < steps; ++i)
            stepPowerBar();
        onThrowButton(0);
    }
};

TEST_F(Throwing, ReleaseAtTheTopGivesRollSpeed21AndEggSpeed42)
{
    chargeAndRelease(14);
    ASSERT_EQ(gRollsInFlight.size(), 1u);
    EXPECT_NEAR(gRollsInFlight[0].speed.x, 21.0f, 1e-4);
    EXPECT_NEAR(gRollsInFlight[0].speed.y, 21.0f, 1e-4);
    EXPECT_NEAR(gRollsInFlight[0].speed.z, 21.0f, 1e-4);
    EXPECT_EQ(gRollsLeft, 9);
    EXPECT_EQ(gCharging, 0);
    // the bar keeps its value after the throw
    EXPECT_NEAR(gThrowPower, 0.70f, 1e-5);

    gEggSelected = 1;
    gPowerFalling = 0;
    chargeAndRelease(14);
    ASSERT_EQ(gEggsInFlight.size(), 1u);
    EXPECT_NEAR(gEggsInFlight[0].speed.y, 42.0f, 1e-4);
    EXPECT_EQ(gEggsLeft, 9);
    EXPECT_EQ(gRollsInFlight.size(), 1u);
}

TEST_F(Throwing, AThrowStartsAtEyeHeightOnTheStationCircle)
{
    gHideShift = Vec3{0.3f, -0.2f, -0.1f};  // a crouch does not lower the throw
    Vec3 start = launchPoint();
    EXPECT_NEAR(start.x, std::cos(3.92699) * 25.6 + 0.3, 1e-4);
    EXPECT_FLOAT_EQ(start.y, 1.5f);
    EXPECT_NEAR(start.z, std::sin(3.92699) * 25.6 - 0.1, 1e-4);

    // the station's base as the camera computes it, to the last bit: cos and sin of the
    // station angle times 25.6, the shift added before the sum is stored
    gHideShift = Vec3{0.2f, 0, 1.2f};
    start = launchPoint();
    const double angle = double(gStationAngle);
    EXPECT_EQ(start.x, float(std::cos(angle) * 25.6 + double(0.2f)));
    EXPECT_EQ(start.z, float(std::sin(angle) * 25.6 + double(1.2f)));
}

TEST_F(Throwing, PowerZeroDropsARollStraightDown)
{
    chargeAndRelease(0);
    ASSERT_EQ(gRollsInFlight.size(), 1u);
    const RollRecord& roll = gRollsInFlight[0];
    Vec3 start = roll.position;
    EXPECT_FLOAT_EQ(start.y, 1.5f);

    float expectedY = 1.5f;
    for (int call = 1; call <= 5; ++call) {
        updateRolls(0.1f, gLevel);
        EXPECT_NEAR(roll.speed.y, -0.3f * call, 1e-5) << "call " << call;
        expectedY += -0.3f * call * 0.1f;
        EXPECT_NEAR(roll.position.y, expectedY, 1e-5);
        EXPECT_FLOAT_EQ(roll.position.x, start.x);
        EXPECT_FLOAT_EQ(roll.position.z, start.z);
    }
}

TEST_F(Throwing, PowerBarSwingsUpAndBackIn28Calls)
{
    onThrowButton(1);
    ASSERT_EQ(gCharging, 1);
    for (int k = 1; k <= 14; ++k) {
        stepPowerBar();
        EXPECT_NEAR(gThrowPower, 0.05f * k, 1e-5) << "rising step " << k;
        EXPECT_EQ(gPowerFalling, k == 14 ? 1 : 0) << "rising step " << k;
    }
    for (int k = 13; k >= 0; --k) {
        stepPowerBar();
        EXPECT_NEAR(gThrowPower, 0.05f * k, 1e-5) << "falling to " << k;
    }
    EXPECT_EQ(gPowerFalling, 0);
    stepPowerBar();
    EXPECT_NEAR(gThrowPower, 0.05f, 1e-5);
}

TEST_F(Throwing, PowerBarDoesNotMoveWithoutCharging)
{
    stepPowerBar();
    EXPECT_EQ(gThrowPower, 0.0f);
}

TEST_F(Throwing, APressWhileStillFallingStartsUpwardsAndAQuickTapThrowsForwards)
{
    gPowerFalling = 1;  // left over from a release on the way down
    onThrowButton(1);
    EXPECT_EQ(gThrowPower, 0.0f);
    EXPECT_EQ(gPowerFalling, 0);
    stepPowerBar();
    EXPECT_NEAR(gThrowPower, 0.05f, 1e-6);

    onThrowButton(0);
    ASSERT_EQ(gRollsInFlight.size(), 1u);
    const RollRecord& roll = gRollsInFlight[0];
    EXPECT_NEAR(roll.speed.x, 1.5f, 1e-5);
    Vec3 start = roll.position;
    updateRolls(0.1f, gLevel);
    // along the look: x and z move as the view direction does
    EXPECT_GT(roll.position.x, start.x);
    EXPECT_GT(roll.position.z, start.z);
}

TEST_F(Throwing, ThePowerNeverGoesBelowZero)
{
    const struct {
        float power;
        uint8_t falling;
        float after;
        uint8_t fallingAfter;
    } steps[] = {
        {0.04f, 1, 0.0f, 0},      // a step down past 0 stops at 0 and turns
        {0.0f, 1, 0.0f, 0},
        {0.0519f, 1, 0.0019f, 0}, // 0.002 is the bottom: it turns there
        {0.06f, 1, 0.01f, 1},
        {0.69f, 0, 0.74f, 1},     // and the top
    };
    gCharging = 1;
    for (const auto& s : steps) {
        gThrowPower = s.power;
        gPowerFalling = s.falling;
        stepPowerBar();
        EXPECT_NEAR(gThrowPower, s.after, 1e-6) << s.power;
        EXPECT_GE(gThrowPower, 0.0f) << s.power;
        EXPECT_EQ(gPowerFalling, s.fallingAfter) << s.power;
    }
}

TEST_F(Throwing, WithNoRollsLeftOnlyASwitchToEggsThrows)
{
    gRollsLeft = 0;
    onThrowButton(1);
    EXPECT_EQ(gCharging, 0);
    onThrowButton(0);
    EXPECT_TRUE(gRollsInFlight.empty());
    EXPECT_TRUE(gEggsInFlight.empty());
    EXPECT_EQ(gRollsLeft, 0);

    onThrowButton(1);
    gEggSelected = 1;  // F1 between press and release: the release uses the new selection
    onThrowButton(0);
    EXPECT_TRUE(gRollsInFlight.empty());
    ASSERT_EQ(gEggsInFlight.size(), 1u);
    EXPECT_EQ(gEggsLeft, 9);
    EXPECT_EQ(gStreamers.size(), 0u);
}

TEST_F(Throwing, ARefusedReleaseLeavesTheBarRunning)
{
    onThrowButton(1);
    stepPowerBar();
    gTurning = 1;
    onThrowButton(0);
    EXPECT_EQ(gCharging, 1);
    EXPECT_TRUE(gRollsInFlight.empty());
    EXPECT_EQ(gRollsLeft, 10);
}

TEST_F(Throwing, GameOverTurningAndAFullStepAsideBlockTheButton)
{
    struct Case {
        const char* what;
        uint8_t gameOver, turning, levelOver;
        float left, right;
        bool throws;
    } cases[] = {
        {"playing", 0, 0, 0, 0, 0, true},
        {"level over alone", 0, 0, 1, 0, 0, true},
        {"game over", 1, 0, 0, 0, 0, false},
        {"turning", 0, 1, 0, 0, 0, false},
        {"left 0.99", 0, 0, 0, -0.99f, 0, true},
        {"left 1.0", 0, 0, 0, -1.0f, 0, false},
        {"right 0.99", 0, 0, 0, 0, 0.99f, true},
        {"right 1.5", 0, 0, 0, 0, 1.5f, false},
    };
    for (const Case& c : cases) {
        SetUp();
        gGameOver = c.gameOver;
        gTurning = c.turning;
        gLevelOver = c.levelOver;
        gHideLeftAmount = c.left;
        gHideRightAmount = c.right;
        long before = redisplayRequestCount();
        onThrowButton(1);
        EXPECT_EQ(gCharging, c.throws ? 1 : 0) << c.what;
        onThrowButton(0);
        EXPECT_EQ(gRollsInFlight.size(), c.throws ? 1u : 0u) << c.what;
        EXPECT_EQ(redisplayRequestCount() - before, c.throws ? 2 : 0) << c.what;
    }
}

TEST_F(Throwing, ARollHoldsItsStreamerByTheEnds)
{
    chargeAndRelease(7);
    chargeAndRelease(7);
    ASSERT_EQ(gRollsInFlight.size(), 2u);
    ASSERT_EQ(gStreamers.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const RollRecord& roll = gRollsInFlight[i];
        EXPECT_EQ(roll.streamer, gStreamers[i]);
        EXPECT_EQ(roll.streamer->roll, i);
        EXPECT_EQ(roll.streamer->landed, 0u);
        EXPECT_NEAR(roll.endA.x, roll.position.x - 0.15f * 0.7071f, 1e-5);
        EXPECT_NEAR(roll.endB.z, roll.position.z - 0.15f * 0.7071f, 1e-5);
    }

    updateRolls(0.05f, gLevel);
    for (const RollRecord& roll : gRollsInFlight) {
        const PaperStreamer& s = *roll.streamer;
        EXPECT_FLOAT_EQ(s.at(0, 0).position.x, roll.endA.x);
        EXPECT_FLOAT_EQ(s.at(0, 0).position.y, roll.endA.y);
        EXPECT_FLOAT_EQ(s.at(0, 0).position.z, roll.endA.z);
        EXPECT_FLOAT_EQ(s.at(1, 0).position.x, roll.endB.x);
        EXPECT_FLOAT_EQ(s.at(1, 0).position.z, roll.endB.z);
        EXPECT_NEAR(roll.endA.x - roll.endB.x, 2 * 0.15f * roll.side.x, 1e-5);
    }
}

TEST_F(Throwing, LandedRecordsStayAndNoLongerMove)
{
    chargeAndRelease(0);
    gEggSelected = 1;
    chargeAndRelease(0);
    for (int i = 0; i < 50; ++i) {
        updateRolls(0.1f, gLevel);
        flyEggs(0.1f);
    }
    ASSERT_EQ(gRollsInFlight.size(), 1u);
    ASSERT_EQ(gEggsInFlight.size(), 1u);
    const RollRecord& roll = gRollsInFlight[0];
    const EggRecord& egg = gEggsInFlight[0];
    EXPECT_EQ(roll.active, 0);
    EXPECT_EQ(egg.active, 0);
    EXPECT_EQ(egg.struck, 0);
    Vec3 rollAt = roll.position, eggAt = egg.position;
    EXPECT_LE(rollAt.y, 0.0f);

    updateRolls(0.1f, gLevel);
    flyEggs(0.1f);
    EXPECT_EQ(roll.position.y, rollAt.y);
    EXPECT_EQ(egg.position.y, eggAt.y);
    EXPECT_EQ(gStreamers.size(), 1u);
}

TEST_F(Throwing, AnEggRisesAndFallsByTheLooksPitch)
{
    gViewDir = Vec3{0.6f, 0.5f, 0.6f};
    gEggSelected = 1;
    chargeAndRelease(10);
    const EggRecord& egg = gEggsInFlight[0];
    float speed = 60.0f * gThrowPower;
    flyEggs(0.02f);
    EXPECT_NEAR(egg.position.y, 1.5f + 0.5f * (speed - 0.3f) * 0.02f, 1e-5);
    EXPECT_NEAR(egg.position.x - egg.previousPosition.x, 0.6f * speed * 0.02f, 1e-5);
}

TEST_F(Throwing, EveryEggRecordAsksForARedisplay)
{
    gEggSelected = 1;
    for (int i = 0; i < 3; ++i)
        chargeAndRelease(0);
    gEggsInFlight[0].active = 0;
    gEggsInFlight[2].active = 0;
    resetRedisplayRequestCount();
    flyEggs(0.01f);
    EXPECT_EQ(redisplayRequestCount(), 3);
}

// with the real yard: the house boxes and the plants

class ThrowingInTheYard : public Throwing {
protected:
    static void SetUpTestSuite()
    {
        // a missing model only prints; no message box may wait for a click in a test
        unsetenv("DISPLAY");
        // like the game's, the yard is made once and kept to the end
        if (!sWorld)
            sWorld = new World();
    }
    void SetUp() override
    {
        Throwing::SetUp();
        gWorld = sWorld;
    }

    // a roll standing still at the given point with the given heading, after one flight step
    RollRecord& rollAt(int32_t level, Vec3 point, Vec3 direction)
    {
        gLevel = level;
        throwRoll(0.5f, direction);
        RollRecord& roll = gRollsInFlight.back();
        roll.position = point;
        roll.speed = Vec3{0, 10, 0};
        updateRolls(0.0f, gLevel);  // a zero step: the roll stays where it is and meets what is there
        return roll;
    }

    static World* sWorld;
};

World* ThrowingInTheYard::sWorld = nullptr;

TEST_F(ThrowingInTheYard, ARollBouncesOffTheWallFacingTheStation)
{
    struct Case {
        int32_t level;
        Vec3 point;
        float dx, dz;  // the direction's sign afterwards, for a start of (1, 0, 1)
    } cases[] = {
        {1, {0, 3, -10.8f}, 1, -1},   // back wall
        {1, {-8.0f, 3, 0}, -1, 1},    // left side
        {1, {-8.0f, 3, -10.8f}, 1, -1},  // at the corner the z row wins
        {1, {8.0f, 3, 0}, 1, 1},      // the far side is not this station's
        {2, {0, 3, -10.8f}, 1, -1},
        {2, {8.0f, 3, 0}, -1, 1},
        {2, {-8.0f, 3, 0}, 1, 1},
        {3, {0, 1, 7.0f}, 1, -1},     // the porch in front
        {3, {0, 3, 5.2f}, 1, -1},
        {3, {8.0f, 3, 0}, -1, 1},
        {3, {-8.0f, 3, 0}, 1, 1},
        {4, {0, 1, 7.0f}, 1, -1},
        {4, {-8.0f, 3, 0}, -1, 1},
        {4, {8.0f, 3, 0}, 1, 1},
        // the station-1 side with z >= -10.5 and x >= -7.5: inside the house, but no row applies
        {1, {-7.0f, 3, -10.0f}, 1, 1},
        // no contact, no bounce, even beyond a wall's line
        {1, {0, 3, -12.0f}, 1, 1},
        {3, {0, 3, 7.0f}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "level " << c.level << " at x " << c.point.x
                                          << " z " << c.point.z);
        RollRecord& roll = rollAt(c.level, c.point, Vec3{1, 0, 1});
        EXPECT_EQ(roll.direction.x, c.dx);
        EXPECT_EQ(roll.direction.z, c.dz);
        EXPECT_EQ(roll.active, 1);
    }
}

const Placement& firstPlantOfLevel(int32_t level)
{
    for (int i = kFirstPlant; i <= kLastPlant; ++i)
        if (gWorld->placements[i]->group == level)
            return *gWorld->placements[i];
    throw std::logic_error("no plant at this level");
}

TEST_F(ThrowingInTheYard, AnEggOnAPlantCountsOnceAndLeavesNoSplat)
{
    Placement& plant = const_cast<Placement&>(firstPlantOfLevel(1));
    ASSERT_TRUE(plant.visible);
    // the plant's sphere, in the frame the projectiles fly in
    Vec3 centre{plant.position.x - 25.6f, plant.position.y + 0.22f, plant.position.z - 25.6f};
    gEggSelected = 1;
    for (int i = 0; i < 2; ++i) {
        chargeAndRelease(0);
        EggRecord& egg = gEggsInFlight.back();
        egg.position = centre;
        egg.speed = Vec3{0, 0, 0};
        flyEggs(0.0f);
    }
    const EggRecord& first = gEggsInFlight[0];
    EXPECT_EQ(first.active, 0);
    EXPECT_EQ(first.struck, 1);
    EXPECT_EQ(first.struckPlant, 1);
    EXPECT_FALSE(plant.visible);
    EXPECT_EQ(gPlantHits[1], 1);
    EXPECT_EQ(gPlantBonus, 50);
    // the second egg finds the plant gone and flies on
    EXPECT_EQ(gEggsInFlight[1].struckPlant, 0);
    EXPECT_EQ(gEggsInFlight[1].active, 1);
    plant.visible = true;  // the yard is shared by the tests of this suite
}

TEST_F(ThrowingInTheYard, AnEggOnTheWallLeavesASplatRecord)
{
    gEggSelected = 1;
    chargeAndRelease(0);
    EggRecord& egg = gEggsInFlight.back();
    egg.position = Vec3{-8.0f, 3, 0};
    egg.speed = Vec3{0, 0, 0};
    flyEggs(0.0f);
    EXPECT_EQ(egg.active, 0);
    EXPECT_EQ(egg.struck, 1);
    EXPECT_EQ(egg.struckPlant, 0);
    EXPECT_EQ(gPlantBonus, 0);
    EXPECT_EQ(splatPlacement(egg).rule, 2);
}

TEST_F(ThrowingInTheYard, ARollWhoseStripStrikesTheHouseStops)
{
    gStreamerHouseCollision = 1;
    RollRecord& roll = rollAt(1, Vec3{0, 3, -5}, Vec3{0.7071f, 0, 0.7071f});
    ASSERT_EQ(roll.active, 1);
    // the strip's held edge now lies in the house: its next step pins it there
    if (updateStreamer(roll.streamer, 0.0f, rollFlying(roll.streamer->roll)))
        stopRoll(roll.streamer->roll);
    EXPECT_EQ(roll.streamer->landed, 1u);
    EXPECT_EQ(roll.active, 0);
    Vec3 stoppedAt = roll.position;
    updateRolls(0.1f, gLevel);
    EXPECT_EQ(roll.position.x, stoppedAt.x);
    EXPECT_EQ(roll.position.y, stoppedAt.y);
    EXPECT_EQ(roll.position.z, stoppedAt.z);
}

// the landing marker against the roll's own flight: at each station and power the first step at
// which the thrown roll is in the house, stopped by its strip on it, or on the ground puts it
// where the marker stood
TEST_F(ThrowingInTheYard, ARollFirstTouchesWhereTheLandingMarkerStood)
{
    gStreamerHouseCollision = 1;
    placeCameraAtStart();
    int houseTouches = 0;
    for (int32_t level = 1; level <= 4; ++level) {
        if (level > 1) {
            advanceTurn();
            while (gTurning)
                stepTurn();
        }
        ASSERT_EQ(gLevel, level);
        placeCamera(gWorld);
        updateViewVectors();
        for (float power : {0.0f, 0.2f, 0.35f, 0.5f, 0.7f}) {
            SCOPED_TRACE(::testing::Message() << "level " << level << " power " << power);
            const Vec3 marker =
                rollTouchPoint(power, gViewDir, gLevel, float(kStepSeconds), kStepMs);
            throwRoll(power, gViewDir);
            const size_t thrown = gRollsInFlight.size() - 1;
            bool touched = false;
            for (int step = 0; step < 1000 && !touched; ++step) {
                // the step's own order: the flights, then the strips
                updateRolls(float(kStepSeconds), gLevel);
                stepStreamers(kStepMs);
                const Vec3 at = gRollsInFlight[thrown].position;
                const bool inHouse = gWorld->hitTest(at, gLevel, true) != 0;
                // or its strip struck the house and stopped it
                const bool stopped = gRollsInFlight[thrown].active == 0 && at.y > 0.0f;
                touched = inHouse || stopped || at.y <= 0.0f;
                if (touched) {
                    houseTouches += (inHouse || stopped) ? 1 : 0;
                    EXPECT_NEAR(at.x, marker.x, 0.05f);
                    EXPECT_NEAR(at.y, marker.y, 0.05f);
                    EXPECT_NEAR(at.z, marker.z, 0.05f);
                }
            }
            EXPECT_TRUE(touched);
            stopRoll(int32_t(thrown));
        }
    }
    // the stations' throws reach the house as well as the lawn
    EXPECT_GE(houseTouches, 4);
}

// drawing rules without a display

TEST(RollHeading, TurnsTheRollAcrossItsFlight)
{
    EXPECT_NEAR(vecAngle(Vec3{1, 0, 0}, Vec3{0, 0, 1}), M_PI / 2, 1e-12);
    EXPECT_NEAR(rollHeadingDegrees(Vec3{0, 0, -1}, 3), 90.0, 1e-4);
    EXPECT_NEAR(rollHeadingDegrees(Vec3{0, 0.4f, -2}, 4), 90.0, 1e-4);
    // from the first two stations the unsigned angle is turned the other way
    EXPECT_NEAR(rollHeadingDegrees(Vec3{0, 0, 1}, 1), -90.0, 1e-4);
    EXPECT_NEAR(rollHeadingDegrees(Vec3{0.7071f, 0.5f, 0.7071f}, 2), -45.0, 1e-3);
    EXPECT_NEAR(rollHeadingDegrees(Vec3{-1, 0, 0}, 3), 180.0, 1e-4);
    // straight up has no heading and must not turn into NaN
    EXPECT_EQ(rollHeadingDegrees(Vec3{0, 1, 0}, 3), 0.0);
}

EggRecord struckEgg(Vec3 previous, Vec3 position)
{
    EggRecord egg{};
    egg.previousPosition = previous;
    egg.position = position;
    egg.struck = 1;
    return egg;
}

TEST(SplatPlacement, TheFirstRuleThatAppliesPlacesTheSplat)
{
    struct Case {
        Vec3 previous, position;
        int rule;
        Vec3 corner;
        bool facesX;
    } cases[] = {
        // back wall, even when the egg also lies beyond a side
        {{1, 2, -10.6f}, {-8, 2, -10.9f}, 1, {1, 2, -11.2f}, false},
        {{-7.4f, 3, 0.5f}, {-7.6f, 3, 0.6f}, 2, {-8.42f, 3, 0.5f}, true},
        {{7.4f, 3, -2}, {7.6f, 3, -2}, 3, {8.42f, 3, -2}, true},
        {{1, 1, 8.5f}, {1, 1, 8.2f}, 4, {1, 1, 8.42f}, false},
        {{2, 4, 6.0f}, {2, 4, 5.4f}, 5, {2, 4, 5.65f}, false},
    };
    for (const Case& c : cases) {
        SplatPlacement place = splatPlacement(struckEgg(c.previous, c.position));
        EXPECT_EQ(place.rule, c.rule);
        EXPECT_TRUE(place.translated) << "rule " << c.rule;
        EXPECT_FLOAT_EQ(place.corner.x, c.corner.x) << "rule " << c.rule;
        EXPECT_FLOAT_EQ(place.corner.y, c.corner.y) << "rule " << c.rule;
        EXPECT_FLOAT_EQ(place.corner.z, c.corner.z) << "rule " << c.rule;
        EXPECT_EQ(place.facesX, c.facesX) << "rule " << c.rule;
    }
}

TEST(SplatPlacement, AnEggInsideTheSidesAndShortOfTheFrontGetsNoTranslation)
{
    SplatPlacement place = splatPlacement(struckEgg(Vec3{3, 2, 4.0f}, Vec3{3, 2, 4.9f}));
    EXPECT_EQ(place.rule, 6);
    EXPECT_FALSE(place.translated);
    EXPECT_FALSE(place.facesX);
    // exactly on a bound is not past it
    EXPECT_EQ(splatPlacement(struckEgg(Vec3{0, 1, -10.5f}, Vec3{-7.5f, 1, 5.0f})).rule, 6);
}

}  // namespace
