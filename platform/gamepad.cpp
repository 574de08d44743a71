// SPDX-License-Identifier: MIT
// platform: game pads through SDL.
#include "platform/gamepad.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/sdl_hints.h"

namespace {

struct OpenPad {
    SDL_GameController* controller;
    SDL_JoystickID id;
};

bool sOpen = false;
std::vector<OpenPad> sPads;
SDL_JoystickID sInUse = -1;
bool sInUseSent = false;  // the pad in use has sent an event: pulling it out pauses
int32_t sLastAxes[SDL_CONTROLLER_AXIS_MAX];

void useNextPad()
{
    sInUse = sPads.empty() ? -1 : sPads.front().id;
    sInUseSent = false;
    // a pad taken up with a stick or trigger held reports it at once
    std::fill(std::begin(sLastAxes), std::end(sLastAxes), 0);
}

void addPad(int deviceIndex)
{
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller)
        return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    // SDL reports the pads already plugged in both at start and as added
    for (const OpenPad& pad : sPads)
        if (pad.id == id) {
            SDL_GameControllerClose(controller);
            return;
        }
    sPads.push_back(OpenPad{controller, id});
    if (sInUse < 0)
        useNextPad();
}

void removePad(SDL_JoystickID id, void (*sink)(const PadEvent&))
{
    auto it = std::find_if(sPads.begin(), sPads.end(),
                           [id](const OpenPad& pad) { return pad.id == id; });
    if (it == sPads.end())
        return;
    SDL_GameControllerClose(it->controller);
    sPads.erase(it);
    if (id != sInUse)
        return;
    if (sInUseSent)
        sink(PadEvent{PadEventKind::Gone, 0, 0});
    useNextPad();
}

SDL_GameController* padInUse()
{
    for (const OpenPad& pad : sPads)
        if (pad.id == sInUse)
            return pad.controller;
    return nullptr;
}

void send(void (*sink)(const PadEvent&), const PadEvent& event)
{
    sInUseSent = true;
    sink(event);
}

}  // namespace

bool openGamepads()
{
    if (sOpen)
        return true;
    prepareSdl();
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return false;
    sOpen = true;
    useNextPad();
    return true;
}

bool gamepadsOpen()
{
    return sOpen;
}

void pollGamepads(void (*sink)(const PadEvent& event))
{
    if (!sOpen)
        return;
    SDL_Event event;
    // only the pads' events: the rest of SDL's queue is no concern of this
    SDL_PumpEvents();
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION,
                          SDL_CONTROLLERDEVICEREMAPPED) > 0) {
        switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            addPad(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            removePad(event.cdevice.which, sink);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (event.cbutton.which == sInUse)
                send(sink, PadEvent{event.type == SDL_CONTROLLERBUTTONDOWN
                                        ? PadEventKind::ButtonDown
                                        : PadEventKind::ButtonUp,
                                    event.cbutton.button, 0});
            break;
        default:
            break;
        }
    }
    // the axes as they stand now: one position each a poll, however many moves came between
    if (SDL_GameController* pad = padInUse()) {
        for (int axis = 0; axis < SDL_CONTROLLER_AXIS_MAX; ++axis) {
            const int32_t position =
                SDL_GameControllerGetAxis(pad, static_cast<SDL_GameControllerAxis>(axis));
            if (position != sLastAxes[axis]) {
                sLastAxes[axis] = position;
                send(sink, PadEvent{PadEventKind::Axis, axis, position});
            }
        }
    }
}

int openGamepadCount()
{
    return int(sPads.size());
}

void closeGamepads()
{
    if (!sOpen)
        return;
    for (const OpenPad& pad : sPads)
        SDL_GameControllerClose(pad.controller);
    sPads.clear();
    sInUse = -1;
    sInUseSent = false;
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    sOpen = false;
}
