// SPDX-License-Identifier: MIT
// platform: the software pad and its script.
#include "platform/virtual_pad.h"

#include <SDL.h>

#include <sstream>

#include "platform/regular_file.h"

namespace {

// a script is a line a command; this is longer than any a test writes
constexpr size_t kLargestScript = 1 << 20;
// a bad line is quoted this far
constexpr size_t kQuotedLength = 60;

SDL_Joystick* sJoystick = nullptr;
int32_t sTriggerAxes[] = {SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT};

bool isTrigger(int32_t axis)
{
    return axis == sTriggerAxes[0] || axis == sTriggerAxes[1];
}

}  // namespace

bool attachVirtualPad()
{
    if (sJoystick)
        return true;
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    // SDL maps a virtual pad's buttons and axes onto the standard layout in its own order
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Vendettix virtual pad";
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    if (device < 0)
        return false;
    sJoystick = SDL_JoystickOpen(device);
    if (!sJoystick) {
        SDL_JoystickDetachVirtual(device);
        return false;
    }
    // a joystick's axis rests at 0, which is a trigger half pulled
    for (int32_t axis : sTriggerAxes)
        setVirtualPadAxis(axis, 0);
    return true;
}

bool virtualPadAttached()
{
    return sJoystick != nullptr;
}

bool setVirtualPadButton(int32_t button, bool down)
{
    return sJoystick &&
           SDL_JoystickSetVirtualButton(sJoystick, button, down ? SDL_PRESSED : SDL_RELEASED) == 0;
}

bool setVirtualPadAxis(int32_t axis, int32_t position)
{
    if (!sJoystick)
        return false;
    // a trigger's travel spans the joystick axis's whole range
    const int32_t raw = isTrigger(axis) ? position * 2 - 32768 : position;
    return SDL_JoystickSetVirtualAxis(sJoystick, axis, Sint16(SDL_clamp(raw, -32768, 32767))) == 0;
}

bool detachVirtualPad()
{
    if (!sJoystick)
        return false;
    const SDL_JoystickID id = SDL_JoystickInstanceID(sJoystick);
    int device = -1;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id)
            device = i;
    SDL_JoystickClose(sJoystick);
    sJoystick = nullptr;
    return device >= 0 && SDL_JoystickDetachVirtual(device) == 0;
}

bool readVirtualPadScript(const std::string& path, std::vector<VirtualPadCommand>* script,
                          std::string* error)
{
    script->clear();
    std::string text, why;
    if (readRegularFile(path, kLargestScript, "a pad script", &text, &why) != FileRead::Read) {
        *error = path + ":0: " + why;
        return false;
    }
    std::istringstream in(text);
    std::string line;
    int64_t lastStep = 0;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        VirtualPadCommand command{};
        std::string name, extra;
        // in order of their steps
        bool good = bool(words >> command.step >> name) && command.step >= lastStep;
        if (good && name == "attach") {
            command.kind = VirtualPadCommand::Kind::Attach;
        } else if (good && name == "detach") {
            command.kind = VirtualPadCommand::Kind::Detach;
        } else if (good && name == "button") {
            command.kind = VirtualPadCommand::Kind::Button;
            good = bool(words >> command.code >> command.value) && command.code >= 0 &&
                   command.code < SDL_CONTROLLER_BUTTON_MAX;
        } else if (good && name == "axis") {
            command.kind = VirtualPadCommand::Kind::Axis;
            good = bool(words >> command.code >> command.value) && command.code >= 0 &&
                   command.code < SDL_CONTROLLER_AXIS_MAX;
        } else {
            good = false;
        }
        if (!good || (words >> extra)) {
            const bool cut = line.size() > kQuotedLength;
            *error = path + ":" + std::to_string(number) + ": not a pad command: \"" +
                     line.substr(0, kQuotedLength) + (cut ? "\"..." : "\"");
            script->clear();
            return false;
        }
        lastStep = command.step;
        script->push_back(command);
    }
    return true;
}

void runVirtualPadScript(std::vector<VirtualPadCommand>& script, int64_t step)
{
    // one step's commands a call: a press and its release at the next step would otherwise
    // reach SDL between two of its updates and neither would be seen
    if (script.empty() || script.front().step > step)
        return;
    const int64_t due = script.front().step;
    size_t done = 0;
    for (; done < script.size() && script[done].step == due; ++done) {
        const VirtualPadCommand& command = script[done];
        switch (command.kind) {
        case VirtualPadCommand::Kind::Attach: attachVirtualPad(); break;
        case VirtualPadCommand::Kind::Detach: detachVirtualPad(); break;
        case VirtualPadCommand::Kind::Button:
            setVirtualPadButton(command.code, command.value != 0);
            break;
        case VirtualPadCommand::Kind::Axis: setVirtualPadAxis(command.code, command.value); break;
        }
    }
    script.erase(script.begin(), script.begin() + long(done));
}
