// SPDX-License-Identifier: MIT
// Rules of play: the level clock, level end, the turn, the score, the plant bonus, the owner's
// sight, the frame-rate counter, the pause and a new game after the last.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "game/game_state.h"
#include "game/hud.h"
#include "game/input_bindings.h"
#include "game/play_step.h"
#include "game/rules.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/throwing.h"
#include "streamer/paper_streamer.h"

namespace {

class RulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetPlayState();
        // start-up's values that the rules rely on
        gEyeLift = Vec3{0, 1.5f, 0};
        gSpinStep = 1;
        gOwnerRadius = 15.0f;
        PaperStreamer* placeholder = new PaperStreamer(Vec3{0, 0, 0}, Vec3{0, 0, 0.3f});
        placeholder->landed = 1;
        placeholder->roll = -1;
        gStreamers.push_back(placeholder);
    }
    void TearDown() override { resetPlayState(); }

    // runs frames of 100 ms until the time bar has ticked `ticks` more times (or the level ended)
    void runTicks(int ticks)
    {
        int level = gLevel;
        for (int done = 0; done < ticks && gLevel == level;) {
            float bar = gTimeBar;
            updateLevelClock(100);
            if (gTimeBar != bar)
                ++done;
        }
    }

    PaperStreamer* streamerWithRowHeights(float y)
    {
        PaperStreamer* s = new PaperStreamer(Vec3{0, 0, 0}, Vec3{0, 0, 0.3f});
        for (int c = 0; c < kStreamerColumns; ++c)
            s->at(0, c).position.y = y;
        gStreamers.push_back(s);
        return s;
    }
};

TEST_F(RulesTest, TheThirtiethWholeSecondEndsTheLevelAndTheTwentyNinthDoesNot)
{
    runTicks(29);
    EXPECT_EQ(gLevel, 1);
    EXPECT_EQ(gLevelOver, 0);
    EXPECT_NEAR(gTimeBar, 0.98 - 29 * 0.06533333333333, 1e-5);

    float bar = gTimeBar;
    runTicks(1);
    EXPECT_NEAR(bar - 0.06533333333333, -0.98, 1e-4);  // the bar had run out
    EXPECT_EQ(gLevel, 2);
    EXPECT_EQ(gLevelOver, 1);
    EXPECT_EQ(gTurning, 1);
    EXPECT_EQ(gGameOver, 0);
    EXPECT_FLOAT_EQ(gTimeBar, 0.98f);
}

TEST_F(RulesTest, TheLevelClockAdvancesByTheFrameIntervalOnly)
{
    updateLevelClock(0);  // the first frame
    EXPECT_EQ(gLevelSeconds, 0.0f);
    updateLevelClock(40);
    EXPECT_FLOAT_EQ(gLevelSeconds, 0.04f);
}

TEST_F(RulesTest, EachTickThatDoesNotEndTheLevelAsksForARedisplay)
{
    runTicks(1);  // the first second starts the count
    long before = redisplayRequestCount();
    runTicks(1);
    EXPECT_EQ(redisplayRequestCount(), before + 1);
}

TEST_F(RulesTest, UsingAllAmmunitionEndsTheLevelAtTheNextTickAndStopsWhatStillFlies)
{
    runTicks(3);
    RollRecord roll{};
    roll.active = 1;
    gRollsInFlight.push_back(roll);
    EggRecord egg{};
    egg.active = 1;
    gEggsInFlight.push_back(egg);
    gRollsLeft = 0;
    gEggsLeft = 0;

    runTicks(1);
    EXPECT_EQ(gLevel, 2);
    EXPECT_EQ(gRollsInFlight[0].active, 0);
    EXPECT_EQ(gEggsInFlight[0].active, 0);
    EXPECT_EQ(gRollsInFlight.size(), 1u);  // records are kept
}

TEST_F(RulesTest, EggsUsedUpWithRollsLeftDoNotEndTheLevel)
{
    gEggsLeft = 0;
    runTicks(5);
    EXPECT_EQ(gLevel, 1);
    EXPECT_EQ(gLevelOver, 0);
}

TEST_F(RulesTest, NoTickWhileTheLevelIsOver)
{
    endLevel();
    gLevelSeconds = 0.0f;
    gLastWholeSecond = 0;
    float bar = gTimeBar;
    for (int i = 0; i < 30; ++i)
        updateLevelClock(100);
    EXPECT_EQ(gTimeBar, bar);
    EXPECT_EQ(gLevel, 2);
}

TEST_F(RulesTest, LevelEndRestoresTheHomeCameraAndUndoesLeans)
{
    gCameraYaw = 1.2f;
    gCameraPitch = 0.1f;
    gThrowPower = 0.4f;
    endLevel();
    EXPECT_EQ(gCameraYaw, gHomeYaw);
    EXPECT_EQ(gCameraPitch, gHomePitch);
    EXPECT_EQ(gStationAngle, gHomeStationAngle);
    EXPECT_EQ(gReturnFromLeft, 1);
    EXPECT_EQ(gReturnFromRight, 1);
    EXPECT_EQ(gThrowPower, 0.0f);
}

TEST_F(RulesTest, TheEndOfLevelFourIsGameOver)
{
    gLevel = 4;
    endLevel();
    EXPECT_EQ(gLevel, 5);
    EXPECT_EQ(gGameOver, 1);
    EXPECT_EQ(gLevelOver, 1);
    EXPECT_EQ(gTurning, 1);
}

TEST_F(RulesTest, TheTurnTakesTwoHundredStepsAndStartsTheNextLevelFresh)
{
    gCameraYaw = 0.3f;  // wherever the player looked, the turn starts from home
    gRollsLeft = 2;
    gEggsLeft = 0;
    gLevelSeconds = 30.4f;
    endLevel();
    float startYaw = gCameraYaw;
    float startStation = gStationAngle;

    double expectedYaw = startYaw, expectedStation = startStation;
    for (int i = 0; i < 199; ++i) {
        stepTurn();
        expectedYaw = float(expectedYaw + 3.141592 / 400.0);
        expectedStation = float(expectedStation + 3.141592 / 400.0);
    }
    EXPECT_EQ(gTurning, 1);
    stepTurn();
    expectedYaw = float(expectedYaw + 3.141592 / 400.0);
    expectedStation = float(expectedStation + 3.141592 / 400.0);

    EXPECT_EQ(gTurning, 0);
    EXPECT_EQ(gLevelOver, 0);
    EXPECT_EQ(gTurnFrame, 0);
    EXPECT_EQ(gLevelSeconds, 0.0f);
    EXPECT_EQ(gRollsLeft, 10);
    EXPECT_EQ(gEggsLeft, 10);
    EXPECT_FLOAT_EQ(gCameraYaw, float(expectedYaw));
    EXPECT_FLOAT_EQ(gStationAngle, float(expectedStation));
    EXPECT_NEAR(gCameraYaw - startYaw, 3.141592 / 2, 1e-4);  // a quarter turn
    EXPECT_EQ(gHomeYaw, gCameraYaw);
    EXPECT_EQ(gHomeStationAngle, gStationAngle);
    EXPECT_EQ(gPressYaw, gCameraYaw);
    // the look vector follows the new yaw
    EXPECT_NEAR(gLookVector.x, std::cos(gCameraPitch) * std::cos(gCameraYaw), 1e-5);
}

TEST_F(RulesTest, TheStationsOfTheFourLevelsGoRoundTheHouse)
{
    const double expectedDegrees[] = {225, 315, 45, 135};
    for (int level = 1; level <= 4; ++level) {
        double degrees = std::fmod(gStationAngle * 180.0 / M_PI, 360.0);
        EXPECT_NEAR(degrees, expectedDegrees[level - 1], 0.1) << "level " << level;
        endLevel();
        while (gTurning && !gGameOver)
            stepTurn();
    }
}

TEST_F(RulesTest, AGameWithNoThrowsScoresZeroBecauseThePlaceholderIsCancelled)
{
    EXPECT_EQ(computeScore(), 0);
    gScoreBaseline = 0;
    EXPECT_EQ(computeScore(), 225);
}

TEST_F(RulesTest, HeightsCountAsMultiplesOfFive)
{
    const struct {
        float height;
        int points;
    } cases[] = {{12.9f, 10}, {13.2f, 15}, {-2.5f, 0}, {-7.5f, -5}, {0.0f, 0}, {4.99f, 5}, {7.0f, 5}, {2.775f, 0}};
    for (const auto& c : cases) {
        resetPlayState();
        streamerWithRowHeights(c.height);
        // 40 particles of row 0 each count; the baseline of 225 stands without the placeholder
        EXPECT_EQ(computeScore(), 40 * c.points - 225) << "height " << c.height;
    }
}

TEST_F(RulesTest, OnlyRowZeroCounts)
{
    PaperStreamer* s = streamerWithRowHeights(0.0f);
    for (int c = 0; c < kStreamerColumns; ++c)
        s->at(1, c).position.y = 20.0f;
    EXPECT_EQ(computeScore(), 0);
}

TEST_F(RulesTest, PlantBonusGrowsWithTheLevelAndTheFourthStrike)
{
    for (int i = 0; i < 4; ++i)
        scorePlantStrike(1);
    EXPECT_EQ(gPlantBonus, 400);  // 50 + 50 + 50 + 250
    scorePlantStrike(1);
    EXPECT_EQ(gPlantBonus, 450);

    gPlantBonus = 0;
    for (int i = 0; i < 3; ++i)
        scorePlantStrike(4);
    EXPECT_EQ(gPlantBonus, 600);
    scorePlantStrike(4);
    EXPECT_EQ(gPlantBonus, 600 + 850);

    gPlantBonus = 0;
    scorePlantStrike(2);
    scorePlantStrike(3);
    EXPECT_EQ(gPlantBonus, 250);
    EXPECT_EQ(gPlantHits[2], 1);
    EXPECT_EQ(gPlantHits[3], 1);
}

TEST_F(RulesTest, PlantStrikesOutsideTheFourLevelsEarnNothing)
{
    scorePlantStrike(0);
    scorePlantStrike(5);
    scorePlantStrike(-1);
    EXPECT_EQ(gPlantBonus, 0);
    EXPECT_EQ(computeScore(), 0);
}

TEST_F(RulesTest, ThePlantBonusIsPartOfTheScore)
{
    scorePlantStrike(1);
    EXPECT_EQ(computeScore(), 50);
}

// the screens between levels and after the game say where the score came from: the parts the
// level end counted, which add up to its score; the level key counts nothing and keeps them
TEST_F(RulesTest, TheLevelEndKeepsTheScoresPartsTheStripsAndThePlants)
{
    PaperStreamer* strip = streamerWithRowHeights(12.9f);  // 40 x 10 over the placeholder's
    scorePlantStrike(1);
    endLevel();
    EXPECT_EQ(gScoreStrips, 400);
    EXPECT_EQ(gScorePlants, 50);
    EXPECT_EQ(gScore, 450);
    // the strip slides down, another plant falls: nothing counted until a level ends
    for (int c = 0; c < kStreamerColumns; ++c)
        strip->at(0, c).position.y = 7.0f;
    scorePlantStrike(2);
    advanceTurn();
    EXPECT_EQ(gScoreStrips, 400);
    EXPECT_EQ(gScorePlants, 50);
    endLevel();
    EXPECT_EQ(gScoreStrips, 200);
    EXPECT_EQ(gScorePlants, 150);
    EXPECT_EQ(gScore, 350);
    startNewGame();
    EXPECT_EQ(gScoreStrips, 0);
    EXPECT_EQ(gScorePlants, 0);
}

TEST_F(RulesTest, OwnerSightCoversEachLevelsSideOfTheWalk)
{
    EXPECT_EQ(ownerSeesPlayerAt(200.0f, 2), 0);
    EXPECT_EQ(ownerSeesPlayerAt(300.0f, 2), 1);

    // boundaries are inclusive
    const struct {
        int level;
        float angle;
        int sees;
    } cases[] = {
        {1, 24.9f, 0}, {1, 25.0f, 1}, {1, 245.0f, 1}, {1, 245.1f, 0},
        {2, 155.0f, 1}, {2, 155.1f, 0}, {2, 294.9f, 0}, {2, 295.0f, 1},
        {3, 65.0f, 1}, {3, 65.1f, 0}, {3, 204.9f, 0}, {3, 205.0f, 1},
        {4, 114.9f, 0}, {4, 115.0f, 1}, {4, 335.0f, 1}, {4, 335.1f, 0},
        {5, 100.0f, 0}, {0, 100.0f, 0},
        {1, -100.0f, 1},  // the angle's magnitude is what counts
    };
    for (const auto& c : cases)
        EXPECT_EQ(ownerSeesPlayerAt(c.angle, c.level), c.sees) << "level " << c.level << " at " << c.angle;
}

TEST_F(RulesTest, TheUpdateDecidesTheSightOnlyWhileSheWalksInPlay)
{
    const struct {
        uint8_t turning, gameOver, walking;
        float angle;
        uint8_t sees;
    } cases[] = {
        {0, 0, 1, 200, 0}, {0, 0, 1, 300, 1},  // level 2's rule
        {1, 0, 1, 200, 1},                     // turning: as it was
        {1, 1, 1, 200, 1},                     // game over: as it was
        {0, 0, 0, 200, 1},                     // her walk is off: as it was
    };
    for (const auto& c : cases) {
        gLevel = 2;
        gTurning = c.turning;
        gGameOver = c.gameOver;
        gSpinEnabled = c.walking;
        gSpinAngle = c.angle;
        gOwnerSeesPlayer = 1;
        updateOwnerSight();
        EXPECT_EQ(gOwnerSeesPlayer, c.sees) << c.turning << c.gameOver << c.walking << c.angle;
    }
}

TEST_F(RulesTest, EachLevelsSightCoversTwoHundredTwentyDegrees)
{
    for (int level = 1; level <= 4; ++level) {
        int seen = 0;
        for (int a = 0; a < 360; ++a)
            seen += ownerSeesPlayerAt(float(a) + 0.5f, level);
        EXPECT_EQ(seen, 220) << "level " << level;
    }
}

TEST_F(RulesTest, TheFrameRateTextChangesAtMostOncePerSecond)
{
    EXPECT_STREQ(gFpsText, "");
    for (int frame = 1; frame <= 60; ++frame)
        updateFpsCounterAt(frame / 60.0f);
    EXPECT_STREQ(gFpsText, "");  // exactly one second has not passed "more than" one second
    updateFpsCounterAt(61 / 60.0f);
    EXPECT_STREQ(gFpsText, "Current Frames Per Second: 61");
    EXPECT_EQ(gFpsFrames, 0.0f);
    updateFpsCounterAt(62 / 60.0f);
    EXPECT_STREQ(gFpsText, "Current Frames Per Second: 61");
}

void press(InputKind kind, int32_t code, int32_t state = 0)
{
    applyInput(InputEvent{kind, code, state, 300, 300});
}

constexpr int kStepsPerSecond = 60;

// what a pause must hold still: the level clock, the owner, the power bar, the leans and the
// walk back, flights and strips
std::vector<float> playSnapshot()
{
    std::vector<float> v{gTimeBar,        gLevelSeconds,    gSpinAngle,     gThrowPower,
                         float(gLevel),   gHideLeftAmount,  gHideRightAmount, gHideShift.x,
                         gHideShift.z};
    for (const RollRecord& roll : gRollsInFlight)
        v.insert(v.end(), {roll.position.x, roll.position.y, roll.position.z});
    for (const PaperStreamer* strip : gStreamers)
        for (const StreamerParticle& p : strip->current)
            v.insert(v.end(), {p.position.x, p.position.y, p.position.z});
    return v;
}

TEST_F(RulesTest, APauseHoldsEveryStepAndTheLevelStillLastsThirtySecondsOfPlay)
{
    gEyeLift = Vec3{0, 1.5f, 0};
    updateLookVector();
    int steps = 0;
    // 10 s of play with a roll in the air and the power bar swinging for the next; whole steps
    // with their held keys
    press(InputKind::Button, kButtonRight, kButtonDown);
    for (; steps < 6; ++steps)
        runPlayStep();
    press(InputKind::Button, kButtonRight, 1);
    press(InputKind::Button, kButtonRight, kButtonDown);
    for (; steps < 10 * kStepsPerSecond; ++steps)
        runPlayStep();
    ASSERT_EQ(gStreamers.size(), 2u);
    ASSERT_TRUE(gCharging);
    // the walk back from a right lean under way
    gHideRightAmount = 1.0f;
    gHideRightOpen = 0;
    gReturnFromRight = 1;

    press(InputKind::KeyDown, 'p');
    ASSERT_TRUE(gPaused);
    const std::vector<float> before = playSnapshot();
    const float power = gThrowPower;
    // ignored while paused: a throw, the level key, a Look, the play-again key; the release
    // ends the charge all the same, and A is held for when play resumes
    press(InputKind::Button, kButtonRight, 1);
    press(InputKind::KeyDown, 'a');
    press(InputKind::KeyDown, 'c');
    press(InputKind::Button, kButtonLeft, kButtonDown);
    press(InputKind::Drag, 0);
    press(InputKind::KeyDown, kKeyEnter);
    for (int paused = 0; paused < 10 * kStepsPerSecond; ++paused)
        runPlayStep();
    EXPECT_EQ(playSnapshot(), before);
    EXPECT_EQ(gRollsLeft, kAmmunitionPerLevel - 1);
    EXPECT_FALSE(gCharging);
    EXPECT_TRUE(gHideLeftHeld);
    EXPECT_FALSE(gLooking);

    press(InputKind::KeyDown, kKeyEscape);
    ASSERT_FALSE(gPaused);
    runPlayStep();
    ++steps;
    // the lean and the walk back go on; the bar stays where the charge ended, nothing thrown
    EXPECT_LT(gHideLeftAmount, 0.0f);
    EXPECT_LT(gHideRightAmount, 1.0f);
    EXPECT_EQ(gThrowPower, power);
    EXPECT_EQ(gStreamers.size(), 2u);
    while (gLevel == 1 && steps < 60 * kStepsPerSecond) {
        runPlayStep();
        ++steps;
    }
    // the level ends at its 30th whole second of play, the paused ten not counted
    EXPECT_EQ(gLevel, 2);
    EXPECT_NEAR(double(steps) / kStepsPerSecond, 30.0, 2.0 / kStepsPerSecond);
}

TEST_F(RulesTest, TheWindowHiddenPausesAndOnlyThePauseKeyResumes)
{
    press(InputKind::WindowStatus, kWindowFullyCovered - 2);  // partly covered: play goes on
    EXPECT_FALSE(gPaused);
    press(InputKind::WindowStatus, kWindowHidden);
    EXPECT_TRUE(gPaused);
    press(InputKind::WindowStatus, 1);  // shown again: still paused
    EXPECT_TRUE(gPaused);
    press(InputKind::KeyDown, 'P');
    EXPECT_FALSE(gPaused);
    press(InputKind::WindowStatus, kWindowFullyCovered);
    EXPECT_TRUE(gPaused);
}

// the last level ended by the level key: GAME OVER at once
void endTheGame()
{
    for (int level = 1; level <= 4; ++level)
        press(InputKind::KeyDown, 'c');
}

// A finished game has nothing to pause for, and one the player paused still plays again with
// the play-again keys and the pad's A (the screen says "Press Enter to play again" above PAUSED)
TEST_F(RulesTest, AFinishedGameIsNotPausedByHidingAndPausedItStillPlaysAgain)
{
    endTheGame();
    ASSERT_TRUE(gGameOver);
    for (int32_t status : {kWindowHidden, kWindowFullyCovered}) {
        press(InputKind::WindowStatus, status);
        EXPECT_FALSE(gPaused) << status;
    }
    const struct {
        InputKind kind;
        int32_t code;
    } playAgain[] = {{InputKind::KeyDown, kKeyEnter},
                     {InputKind::KeyDown, 'n'},
                     {InputKind::KeyDown, 'N'},
                     {InputKind::PadDown, kPadA}};
    for (const auto& key : playAgain) {
        endTheGame();
        press(InputKind::KeyDown, 'p');
        ASSERT_TRUE(gGameOver && gPaused);
        press(key.kind, key.code);
        EXPECT_FALSE(gGameOver || gPaused) << key.code;
        EXPECT_EQ(gLevel, 1) << key.code;
        press(key.kind == InputKind::PadDown ? InputKind::PadUp : InputKind::KeyUp, key.code);
    }
    // in play the pause still swallows them, and the pad's A throws nothing
    press(InputKind::KeyDown, 'p');
    press(InputKind::KeyDown, 'n');
    press(InputKind::PadDown, kPadA);
    EXPECT_TRUE(gPaused);
    EXPECT_FALSE(gCharging);
}

TEST_F(RulesTest, PlayAgainAfterGameOverStartsAFreshGameAndOnlyThen)
{
    gEyeLift = Vec3{0, 1.5f, 0};
    updateLookVector();
    const Vec3 startLook = gLookVector;
    const float startYaw = gCameraYaw;
    // a game played to its end: a throw, a plant struck, every level ended by the level key
    press(InputKind::Button, kButtonRight, kButtonDown);
    for (int i = 0; i < 6; ++i)
        stepPlay();
    press(InputKind::Button, kButtonRight, 1);
    scorePlantStrike(1);
    gEggSelected = 1;
    for (int level = 1; level <= 4; ++level) {
        press(InputKind::KeyDown, kKeyEnter);  // not yet over: nothing
        EXPECT_EQ(gLevel, level);
        press(InputKind::KeyDown, 'c');
        while (gTurning && !gGameOver)
            stepPlay();
    }
    ASSERT_TRUE(gGameOver);
    ASSERT_EQ(gStreamers.size(), 2u);
    PaperStreamer* placeholder = gStreamers[0];

    press(InputKind::KeyDown, kKeyEnter);
    EXPECT_FALSE(gGameOver || gTurning || gLevelOver || gPaused);
    EXPECT_EQ(gLevel, 1);
    EXPECT_EQ(gRollsLeft, 10);
    EXPECT_EQ(gEggsLeft, 10);
    EXPECT_EQ(gScore, 0);
    EXPECT_EQ(gPlantBonus, 0);
    EXPECT_FLOAT_EQ(gTimeBar, kFullTimeBar);
    EXPECT_FLOAT_EQ(gLevelSeconds, 0.0f);
    EXPECT_FLOAT_EQ(gSpinAngle, 0.0f);
    EXPECT_EQ(gSpinStep, 1);
    EXPECT_FLOAT_EQ(gOwnerRadius, 15.0f);
    EXPECT_TRUE(gRollsInFlight.empty() && gEggsInFlight.empty());
    EXPECT_FALSE(gEggSelected);
    ASSERT_EQ(gStreamers.size(), 1u);
    EXPECT_EQ(gStreamers[0], placeholder);
    EXPECT_FLOAT_EQ(gCameraYaw, startYaw);
    EXPECT_FLOAT_EQ(gStationAngle, gHomeStationAngle);
    EXPECT_FLOAT_EQ(gLookVector.x, startLook.x);
    EXPECT_FLOAT_EQ(gLookVector.z, startLook.z);
    EXPECT_FLOAT_EQ(gEyeLift.y, 1.5f);
    EXPECT_EQ(computeScore(), 0);

    // and the new game plays: its first level ends after 30 s
    int steps = 0;
    while (gLevel == 1 && steps < 60 * kStepsPerSecond) {
        stepPlay();
        ++steps;
    }
    EXPECT_NEAR(double(steps) / kStepsPerSecond, 30.0, 2.0 / kStepsPerSecond);
}

}  // namespace
