// SPDX-License-Identifier: MIT
// game: one step of play, everything the game advances, in its order. The game moves in fixed
// steps of 1/60 s of wall time, so its pace and its outcome never depend on the frame rate.
#pragma once
#include <cstdint>

constexpr double kStepSeconds = 1.0 / 60.0;
constexpr float kStepMs = float(1000.0 / 60.0);

extern int64_t gStepCount;     // steps run since the start; the next step to run has this number
extern uint8_t gQuitRequested; // q or the menu's Exit took effect: the game ends before this step
extern uint8_t gStripsMoving;  // a strip moved in the last step that ran

// the input due at this step (game/input_queue.h), the held hiding keys, then the play itself:
// the owner's sight and the level clock, the flights, the turn, the power bar, the walk back
// from a lean, the owner's walk, the streamers, and the camera's placement for the next throw
// and picture. Does nothing once the game has been quit.
void runPlayStep();
// the play of one step alone, without input
void stepPlay();
// paused, or after GAME OVER once the strips have settled: nothing the player sees moves unless
// input moves it, so the picture is drawn again only for input (and for the window's own reshape
// and expose)
bool pictureHeld();
void resetPlayStep();
