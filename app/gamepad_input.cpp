// SPDX-License-Identifier: MIT
// app: the game pads' events into the input queue.
#include "app/gamepad_input.h"

#ifndef __EMSCRIPTEN__
#include <SDL.h>
#endif

#include <cstdlib>
#include <vector>

#include "app/frame_clock.h"
#include "app/play_session.h"
#include "game/pad_bindings.h"
#include "game/play_step.h"
#include "game/settings.h"
#include "platform/gamepad.h"
#include "platform/virtual_pad.h"

#ifndef __EMSCRIPTEN__
// the bindings read SDL's numbers as the player's input names them
static_assert(kPadA == SDL_CONTROLLER_BUTTON_A && kPadY == SDL_CONTROLLER_BUTTON_Y &&
                  kPadBack == SDL_CONTROLLER_BUTTON_BACK &&
                  kPadStart == SDL_CONTROLLER_BUTTON_START &&
                  kPadLeftShoulder == SDL_CONTROLLER_BUTTON_LEFTSHOULDER &&
                  kPadRightShoulder == SDL_CONTROLLER_BUTTON_RIGHTSHOULDER &&
                  kPadUp == SDL_CONTROLLER_BUTTON_DPAD_UP &&
                  kPadDown == SDL_CONTROLLER_BUTTON_DPAD_DOWN &&
                  kPadLeft == SDL_CONTROLLER_BUTTON_DPAD_LEFT &&
                  kPadRight == SDL_CONTROLLER_BUTTON_DPAD_RIGHT &&
                  kPadButtonCount == SDL_CONTROLLER_BUTTON_MAX,
              "pad buttons");
static_assert(kPadLeftX == SDL_CONTROLLER_AXIS_LEFTX && kPadLeftY == SDL_CONTROLLER_AXIS_LEFTY &&
                  kPadRightTrigger == SDL_CONTROLLER_AXIS_TRIGGERRIGHT &&
                  kPadAxisCount == SDL_CONTROLLER_AXIS_MAX,
              "pad axes");
#endif

static bool sTried = false;
static bool sDeadzoneQueued = false;
static std::vector<VirtualPadCommand> sVirtualPadScript;

static void queuePadEvent(const PadEvent& pad)
{
    // the dead zone travels with the game, so a replay turns as the recorded game did
    if (!sDeadzoneQueued) {
        queueWindowInput(padDeadzoneEvent(gSettings.padDeadzone));
        sDeadzoneQueued = true;
    }
    InputEvent event{InputKind::PadGone, pad.code, 0, 0, 0};
    switch (pad.kind) {
    case PadEventKind::ButtonDown: event.kind = InputKind::PadDown; break;
    case PadEventKind::ButtonUp: event.kind = InputKind::PadUp; break;
    case PadEventKind::Axis:
        event.kind = InputKind::PadAxis;
        event.x = pad.value;
        break;
    case PadEventKind::Gone: event.code = 0; break;
    }
    queueWindowInput(event);
}

void serviceGamepads()
{
    if (!gamepadsOpen()) {
        // once, after the first frame; a machine where SDL has no pads is not asked again
        if (sTried || !gFrameClockRunning)
            return;
        sTried = true;
        if (!openGamepads())
            return;
    }
    if (!sVirtualPadScript.empty())
        runVirtualPadScript(sVirtualPadScript, gStepCount);
    pollGamepads(queuePadEvent);
}

bool readVirtualPadFromEnvironment(std::string* error)
{
    const char* path = std::getenv("VX_VIRTUAL_PAD");
    if (!path || !*path)
        return true;
    return readVirtualPadScript(path, &sVirtualPadScript, error);
}

void resetGamepadInput()
{
    sDeadzoneQueued = false;
    sVirtualPadScript.clear();
}
