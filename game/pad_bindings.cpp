// SPDX-License-Identifier: MIT
// game: the game pad's bindings.
#include "game/pad_bindings.h"

#include <algorithm>
#include <cmath>

#include "common/exact_math.h"
#include "common/house.h"
#include "game/game_state.h"
#include "game/input_bindings.h"
#include "game/play_step.h"
#include "game/rules.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/throwing.h"

int32_t gPadDeadzone = kPadDeadzoneDefault;
uint32_t gPadButtonsHeld;
int32_t gPadAxes[kPadAxisCount];
uint8_t gPadTriggerHeld;
uint8_t gPadThrowHeld;
uint8_t gPadAPlaysAgain;
uint8_t gPadUsed;

namespace {

// full tilt crosses the station's field (the Look's limits either side of home) in a second
constexpr double kFullTiltPerStep = 2.0 * (kGamePi / 6) * kStepSeconds;
// the trigger holds past half its travel and lets go below a quarter, so a trigger resting
// near the point does not throw twice
constexpr int32_t kTriggerPress = 16384 + 1;
constexpr int32_t kTriggerRelease = 8192;

uint32_t bit(int32_t button)
{
    return button >= 0 && button < 32 ? 1u << button : 0u;
}

bool held(int32_t button)
{
    return (gPadButtonsHeld & bit(button)) != 0;
}

// A (unless it just started a game) or the trigger: press and release as the right button's
void updateThrow()
{
    const uint8_t want = ((held(kPadA) && !gPadAPlaysAgain) || gPadTriggerHeld) ? 1 : 0;
    if (want == gPadThrowHeld)
        return;
    gPadThrowHeld = want;
    // a pause swallows the press as it swallows the right button's, and a release then ends
    // the charge with nothing thrown
    if (!gPaused)
        onThrowButton(want);
    else if (!want)
        cancelCharging();
}

void releaseHide(bool left)
{
    if (inputFrozen())
        return;
    if (left ? gHideLeftHeld : gHideRightHeld)
        return;
    beginLeanReturn(left);
    requestRedisplay();
}

void onPadDown(int32_t button)
{
    gPadButtonsHeld |= bit(button);
    if (button == kPadStart) {
        togglePause();
        return;
    }
    if (button == kPadBack) {
        toggleHelp();
        return;
    }
    if (gPaused)
        return;
    if (button == kPadA && gGameOver) {
        gPadAPlaysAgain = 1;
        startNewGame();
        return;
    }
    if (button == kPadY) {
        toggleWeapon();
    } else if ((button == kPadLeftShoulder || button == kPadRightShoulder) && !inputFrozen()) {
        requestRedisplay();
    }
    updateThrow();
}

void onPadUp(int32_t button)
{
    const bool wasHeld = held(button);
    gPadButtonsHeld &= ~bit(button);
    if (button == kPadA)
        gPadAPlaysAgain = 0;
    if (wasHeld && button == kPadLeftShoulder)
        releaseHide(true);
    else if (wasHeld && button == kPadRightShoulder)
        releaseHide(false);
    updateThrow();
}

void onPadAxis(int32_t axis, int32_t position)
{
    if (axis < 0 || axis >= kPadAxisCount)
        return;
    gPadAxes[axis] = position;
    if (axis != kPadRightTrigger)
        return;
    if (position >= kTriggerPress)
        gPadTriggerHeld = 1;
    else if (position < kTriggerRelease)
        gPadTriggerHeld = 0;
    updateThrow();
}

// the pad in use is gone: the game waits, and nothing it held stays held; a throw it was
// charging is not thrown
void onPadGone()
{
    if (!gPaused) {
        gPaused = 1;
        requestRedisplay();
    }
    const bool hidLeft = held(kPadLeftShoulder), hidRight = held(kPadRightShoulder);
    gPadButtonsHeld = 0;
    std::fill(std::begin(gPadAxes), std::end(gPadAxes), 0);
    gPadTriggerHeld = gPadThrowHeld = gPadAPlaysAgain = 0;
    if (hidLeft)
        releaseHide(true);
    if (hidRight)
        releaseHide(false);
}

float axisUnit(int32_t position)
{
    return std::max(-1.0f, float(position) / float(kPadAxisMax));
}

}  // namespace

InputEvent padDeadzoneEvent(float deadzone)
{
    const int32_t thousandths = int32_t(std::lround(deadzone * 1000.0f));
    return InputEvent{InputKind::PadDeadzone, std::clamp(thousandths, 0, kPadDeadzoneMax), 0, 0, 0};
}

void applyPadInput(const InputEvent& event)
{
    gPadUsed = 1;
    switch (event.kind) {
    case InputKind::PadDown: onPadDown(event.code); return;
    case InputKind::PadUp: onPadUp(event.code); return;
    case InputKind::PadAxis: onPadAxis(event.code, event.x); return;
    case InputKind::PadGone: onPadGone(); return;
    case InputKind::PadDeadzone:
        gPadDeadzone = std::clamp(event.code, 0, kPadDeadzoneMax);
        return;
    default:
        return;
    }
}

bool padHoldsHideLeft()
{
    return held(kPadLeftShoulder);
}

bool padHoldsHideRight()
{
    return held(kPadRightShoulder);
}

void padLookTilt(float* x, float* y)
{
    // a round dead zone, and the tilt beyond it stretched to start from nothing at its edge
    float sx = axisUnit(gPadAxes[kPadLeftX]), sy = -axisUnit(gPadAxes[kPadLeftY]);
    const float length = vxHypot(sx, sy);
    const float zone = float(gPadDeadzone) / 1000.0f;
    if (length <= zone) {
        sx = sy = 0.0f;
    } else {
        const float scale = std::min(1.0f, (length - zone) / (1.0f - zone)) / length;
        sx *= scale;
        sy *= scale;
    }
    // the d-pad: full tilt
    sx += float(held(kPadRight)) - float(held(kPadLeft));
    sy += float(held(kPadUp)) - float(held(kPadDown));
    *x = std::clamp(sx, -1.0f, 1.0f);
    *y = std::clamp(sy, -1.0f, 1.0f);
}

void stepPadLook()
{
    if (gPaused || inputFrozen())
        return;
    float x = 0.0f, y = 0.0f;
    padLookTilt(&x, &y);
    if (x == 0.0f && y == 0.0f)
        return;
    // the Look's settings scale and turn over the stick as they do the drag
    const float rate = float(kFullTiltPerStep) * gLookScale;
    turnLook(x * rate, (gLookInverted ? -y : y) * rate);
    requestRedisplay();
}

void resetPadBindings()
{
    gPadDeadzone = kPadDeadzoneDefault;
    gPadButtonsHeld = 0;
    std::fill(std::begin(gPadAxes), std::end(gPadAxes), 0);
    gPadTriggerHeld = gPadThrowHeld = gPadAPlaysAgain = gPadUsed = 0;
}
