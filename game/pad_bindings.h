// SPDX-License-Identifier: MIT
// game: what a game pad's buttons and sticks do. The pad's events come through the input queue
// like the keyboard's (PadDown, PadUp, PadAxis, PadGone, PadDeadzone); the Look it steers turns at a
// rate, once a step, from the last axis positions queued, so a replay turns the same.
#pragma once
#include <cstdint>

#include "player/input.h"

// the stick's dead zone in thousandths of full tilt, as the input gave it: inside it the stick
// reads nothing. The Look's scale and sense are the mouse's (gLookScale, gLookInverted)
constexpr int32_t kPadDeadzoneDefault = 250;
constexpr int32_t kPadDeadzoneMax = 900;
extern int32_t gPadDeadzone;
extern uint32_t gPadButtonsHeld;          // a bit per button
extern int32_t gPadAxes[kPadAxisCount];   // the last positions queued
extern uint8_t gPadTriggerHeld;           // the right trigger is past its press point
extern uint8_t gPadThrowHeld;             // A or the trigger holds the power bar
extern uint8_t gPadAPlaysAgain;           // A started a new game: its release throws nothing
extern uint8_t gPadUsed;                  // a pad's event came: the help lists the pad too

// PadDeadzone as an event of the queue, from the settings' fraction of full tilt, clamped
InputEvent padDeadzoneEvent(float deadzone);
void applyPadInput(const InputEvent& event);
bool padHoldsHideLeft();
bool padHoldsHideRight();
// the stick (or d-pad) tilt after the dead zone, -1..1 each way; x right, y up
void padLookTilt(float* x, float* y);
// one step of the Look the stick holds
void stepPadLook();
void resetPadBindings();
