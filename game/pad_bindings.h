// SPDX-License-Identifier: MIT
// game: what a game pad's buttons and sticks do. The pad's events come through the input queue
// like the keyboard's (PadDown, PadUp, PadAxis, PadGone, PadTune); the Look it steers turns at a
// rate, once a step, from the last axis positions queued, so a replay turns the same.
#pragma once
#include <cstdint>

#include "player/input.h"

// the player's pad settings as the input log carries them, in thousandths
struct PadTuning {
    int32_t deadzone = 250;      // of full tilt, 0-900: the stick reads nothing inside it
    int32_t sensitivity = 1000;  // the Look's speed, 250-4000
    bool invert = false;         // the stick pushed up looks down
};
constexpr int32_t kPadDeadzoneMax = 900;
constexpr int32_t kPadSensitivityMin = 250;
constexpr int32_t kPadSensitivityMax = 4000;

extern PadTuning gPadTuning;
extern uint32_t gPadButtonsHeld;          // a bit per button
extern int32_t gPadAxes[kPadAxisCount];   // the last positions queued
extern uint8_t gPadTriggerHeld;           // the right trigger is past its press point
extern uint8_t gPadThrowHeld;             // A or the trigger holds the power bar
extern uint8_t gPadAPlaysAgain;           // A started a new game: its release throws nothing

// PadTune as an event of the queue; ranges clamped
InputEvent padTuneEvent(const PadTuning& tuning);
void applyPadInput(const InputEvent& event);
bool padHoldsHideLeft();
bool padHoldsHideRight();
// the stick (or d-pad) tilt after the dead zone, -1..1 each way; x right, y up
void padLookTilt(float* x, float* y);
// one step of the Look the stick holds
void stepPadLook();
void resetPadBindings();
