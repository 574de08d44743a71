// SPDX-License-Identifier: MIT
// game: the state of play. Levels, ammunition, the level clock, the turn between levels, the
// score, and the owner's walk. Plain globals, owned here, reset by resetGameState().
#pragma once
#include <cstdint>

constexpr int32_t kGameOverLevel = 5;      // the level after the last
constexpr int32_t kAmmunitionPerLevel = 10;
constexpr float kFullTimeBar = 0.98f;     // the time bar's right end at a level's start

extern int32_t gLevel;            // current level; 5 means the game is over
extern int32_t gRollsLeft;        // ammunition left in the level
extern int32_t gEggsLeft;
extern float gTimeBar;            // right end of the time bar in eye-space units
extern float gLevelSeconds;       // the level clock
extern int32_t gLastWholeSecond;  // whole part of gLevelSeconds at the previous step
extern float gMsPerSecond;
extern uint8_t gLevelOver;        // the level is not being played
extern uint8_t gTurning;          // the turn to the next station is running
extern uint8_t gGameOver;
extern int32_t gTurnFrame;        // steps since the turn began
extern float gTurnFrames;
extern int32_t gScore;
extern int32_t gScoreBaseline;    // the placeholder streamer's share of the score
extern int32_t gPlantBonus;
// gScore's two parts as the level end counted them: the strips' heights (the placeholder's share
// taken off) and the plant bonus; the level complete and GAME OVER screens show them
extern int32_t gScoreStrips;
extern int32_t gScorePlants;
extern int32_t gPlantHits[5];     // plant strikes per level, index 1..4
extern float gSpinAngle;          // the owner's position on her walk, degrees
extern int32_t gSpinStep;         // walk step per step of play, degrees
extern uint8_t gSpinEnabled;      // the owner walks and is drawn
extern uint8_t gOwnerSeesPlayer;  // the owner is on the player's side of the house
extern float gOwnerRadius;        // radius of the owner's walk round the house
extern uint8_t gPaused;           // no step of play runs; only resume, quit, help and full screen act
extern uint8_t gHelpShown;        // paused by the help key, the controls in the window

// puts every global above back to its value before start-up
void resetGameState();
// every global of the game and the floors below it (the HUD, the player, the streamers, the
// redisplay count) back to its value before start-up; tests below the shell start from here
void resetPlayState();
