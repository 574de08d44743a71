// SPDX-License-Identifier: MIT
// game: the rules of play. The level clock and the level end, the turn to the next station, the
// score from the hanging paper, the plant bonus, the owner's walk and sight, the right button.
#include "game/rules.h"

#include <cmath>

#include "common/house.h"
#include "game/game_state.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/throwing.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"

namespace {

constexpr double kTimeBarPerSecond = 0.06533333333333;  // 30 ticks empty the full bar
constexpr double kTimeBarEmpty = -0.97888;
constexpr int32_t kLastLevel = 4;
constexpr float kOwnerWalkRadius = 15.0f;
constexpr double kTurnAngle = kGamePi;  // the turn covers half of this over gTurnFrames * 0.5 steps

// what the level end and Advance Turn share: the next level (there is none after the last),
// input frozen, a full time bar, the power bar down and the camera back home
void beginTurn()
{
    if (gLevel < kGameOverLevel)
        gLevel += 1;
    gTurning = 1;
    gLevelOver = 1;
    gTimeBar = kFullTimeBar;
    emptyPowerBar();
    if (gLevel == kGameOverLevel)
        gGameOver = 1;
    restoreHomeCamera();
    requestRedisplay();
}

}  // namespace

// The level clock runs on the fixed step, so a level lasts 30 seconds of wall time however
// long the drawing takes. There is no fall-back end at 31 level seconds: a level always ends
// through endLevel at a whole-second tick or by the level key.
void updateLevelClock(float stepMs)
{
    gLevelSeconds += stepMs / gMsPerSecond;

    int32_t whole = int32_t(gLevelSeconds);
    if (whole - gLastWholeSecond == 1 && gLevelSeconds >= 1.0f && gLevelOver == 0) {
        gTimeBar = float(gTimeBar - kTimeBarPerSecond);
        if (gTimeBar <= kTimeBarEmpty || (gEggsLeft == 0 && gRollsLeft == 0))
            endLevel();
        else
            requestRedisplay();
    }
    gLastWholeSecond = int32_t(gLevelSeconds);
}

void endLevel()
{
    beginTurn();
    const ScoreParts parts = scoreParts();
    gScoreStrips = parts.strips;
    gScorePlants = parts.plants;
    gScore = parts.plants + parts.strips;
    stopAllFlights();
}

// Unlike the level end it scores nothing, and rolls and eggs in the air go on after the turn.
void advanceTurn()
{
    beginTurn();
}

void stepTurn()
{
    gTurnFrame += 1;
    const bool arrived = float(gTurnFrame) == gTurnFrames * 0.5;
    // on arrival this station's view becomes the home of the new level
    turnStation(kTurnAngle / gTurnFrames, arrived);
    if (arrived) {
        gTurning = 0;
        gLevelOver = 0;
        gTurnFrame = 0;
        gLevelSeconds = 0.0f;
        gEggsLeft = kAmmunitionPerLevel;
        gRollsLeft = kAmmunitionPerLevel;
    }
}

// a height counts as a multiple of 5: up when its whole part is 3 or 4 modulo 5, else down
// (toward zero for negative heights)
static int32_t heightPoints(float y)
{
    int32_t t = int32_t(y);
    int32_t r = t % 5;
    if (r >= 3)
        return int32_t(y + float(5 - r));
    return int32_t(y - float(r));
}

ScoreParts scoreParts()
{
    int32_t sum = 0;
    for (const PaperStreamer* streamer : gStreamers)
        for (int c = 0; c < kStreamerColumns; ++c)
            sum += heightPoints(streamer->at(0, c).position.y);
    return ScoreParts{sum - gScoreBaseline, gPlantBonus};
}

int32_t computeScore()
{
    const ScoreParts parts = scoreParts();
    return parts.plants + parts.strips;
}

void scorePlantStrike(int32_t level)
{
    // counters exist for the four levels only; a strike at any other level earns nothing
    static const int32_t kPerStrike[kLastLevel + 1] = {0, 50, 100, 150, 200};
    static const int32_t kFourthStrike[kLastLevel + 1] = {0, 200, 300, 450, 650};
    if (level < 1 || level > kLastLevel)
        return;
    gPlantHits[level] += 1;
    gPlantBonus += kPerStrike[level];
    if (gPlantHits[level] == 4)
        gPlantBonus += kFourthStrike[level];
}

// each level's range covers the 220 degrees of the walk on the player's side of the house
uint8_t ownerSeesPlayerAt(float spinAngle, int32_t level)
{
    float a = std::fabs(spinAngle);
    switch (level) {
    case 1: return a >= 25.0f && a <= 245.0f;
    case 2: return a <= 155.0f || a >= 295.0f;
    case 3: return a <= 65.0f || a >= 205.0f;
    case 4: return a >= 115.0f && a <= 335.0f;
    default: return 0;
    }
}

// Decided in the update from where she stood when the last frame was drawn, before she walks on,
// so the windows light in the same frame as before; while rolls and eggs are hidden (turning,
// game over) or she does not walk, the sight stays as it was.
void updateOwnerSight()
{
    if (gGameOver || gTurning || !gSpinEnabled)
        return;
    gOwnerSeesPlayer = ownerSeesPlayerAt(gSpinAngle, gLevel);
}

void stepOwnerWalk()
{
    if (!gSpinEnabled)
        return;
    gSpinAngle += float(gSpinStep);
    // the wrap comes when the sum passes 360, so the angle reads 359, 360, 0, 1
    if (gSpinAngle > 360.0f)
        gSpinAngle = 0.0f;
    else if (gSpinAngle < 0.0f)
        gSpinAngle = 360.0f;
}

void startOwnerWalk()
{
    gOwnerRadius = kOwnerWalkRadius;
    gSpinStep = 1;
    gOwnerSeesPlayer = 0;
}

void onThrowButton(int pressed)
{
    if (gGameOver || gTurning || hidingTooFarToThrow())
        return;
    if (pressed) {
        int32_t left = gEggSelected ? gEggsLeft : gRollsLeft;
        if (left > 0)
            startCharging();
    } else if (!gEggSelected && gRollsLeft > 0) {
        // the selection at release time decides, whatever was charged
        gRollsLeft -= 1;
        releaseThrow(false);
    } else if (gEggSelected && gEggsLeft > 0) {
        gEggsLeft -= 1;
        releaseThrow(true);
    }
    requestRedisplay();
}

// The owner's walk starts again from its first step, so the same input gives the same game.
// The display toggles (bird's-eye view, frame rate, wireframe) are the player's and stay.
void startNewGame()
{
    // start-up's values for the walk, which the state's reset does not know
    const int32_t spinStep = gSpinStep;
    const float ownerRadius = gOwnerRadius;
    resetGameState();
    gSpinStep = spinStep;
    gOwnerRadius = ownerRadius;

    resetThrowingState();
    // the placeholder at index 0 carries the score's baseline and stays
    keepPlaceholderOnly();
    if (gWorld)
        gWorld->restoreLayout();
    placeCameraAtStart();
    requestRedisplay();
}
