// SPDX-License-Identifier: MIT
// game: definitions and start values of the state of play.
#include "game/game_state.h"

#include "game/hud.h"
#include "game/input_bindings.h"
#include "game/input_queue.h"
#include "game/play_step.h"
#include "game/settings.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/input.h"
#include "player/throwing.h"
#include "streamer/paper_streamer.h"

int32_t gLevel;
int32_t gRollsLeft;
int32_t gEggsLeft;
float gTimeBar;
float gLevelSeconds;
int32_t gLastWholeSecond;
float gMsPerSecond;
uint8_t gLevelOver;
uint8_t gTurning;
uint8_t gGameOver;
int32_t gTurnFrame;
float gTurnFrames;
int32_t gScore;
int32_t gScoreBaseline;
int32_t gPlantBonus;
int32_t gScoreStrips;
int32_t gScorePlants;
int32_t gPlantHits[5];
float gSpinAngle;
int32_t gSpinStep;
uint8_t gSpinEnabled;
uint8_t gOwnerSeesPlayer;
float gOwnerRadius;
uint8_t gPaused;
uint8_t gHelpShown;

void resetGameState()
{
    gLevel = 1;
    gRollsLeft = kAmmunitionPerLevel;
    gEggsLeft = kAmmunitionPerLevel;
    gTimeBar = kFullTimeBar;
    gLevelSeconds = 0.0f;
    gLastWholeSecond = 100;
    gMsPerSecond = 1000.0f;
    gLevelOver = 0;
    gTurning = 0;
    gGameOver = 0;
    gTurnFrame = 0;
    gTurnFrames = 400.0f;
    gScore = 0;
    gScoreBaseline = 225;
    gPlantBonus = 0;
    gScoreStrips = 0;
    gScorePlants = 0;
    for (int32_t& hits : gPlantHits)
        hits = 0;
    gSpinAngle = 0.0f;
    gSpinStep = 0;  // start-up sets the walk step
    gSpinEnabled = 1;
    gOwnerSeesPlayer = 0;
    gOwnerRadius = 0.0f;  // start-up sets the walk radius
    gPaused = 0;
    gHelpShown = 0;
}

void resetPlayState()
{
    resetGameState();
    resetPlayStep();
    resetBindingsState();
    resetSettings();
    resetInputQueue();
    resetHudState();
    resetCameraState();
    resetInputState();
    resetThrowingState();
    resetStreamerState();
    resetRedisplayRequestCount();
}

// static initialisation gives the same values a fresh process has before start-up
static const bool sInitialised = (resetGameState(), true);
