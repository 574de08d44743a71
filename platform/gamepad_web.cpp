// SPDX-License-Identifier: MIT
// platform: the page has no game pads (the browser's own pad interface is not wired to the
// game): none is ever found, and the software pad's script is refused.
#include "platform/gamepad.h"
#include "platform/virtual_pad.h"

bool openGamepads()
{
    return false;
}

bool gamepadsOpen()
{
    return false;
}

void pollGamepads(void (*)(const PadEvent&)) {}

int openGamepadCount()
{
    return 0;
}

void closeGamepads() {}

bool attachVirtualPad()
{
    return false;
}

bool virtualPadAttached()
{
    return false;
}

bool setVirtualPadButton(int32_t, bool)
{
    return false;
}

bool setVirtualPadAxis(int32_t, int32_t)
{
    return false;
}

bool detachVirtualPad()
{
    return false;
}

bool readVirtualPadScript(const std::string& path, std::vector<VirtualPadCommand>*,
                          std::string* error)
{
    *error = path + ":0: the page has no game pads";
    return false;
}

void runVirtualPadScript(std::vector<VirtualPadCommand>&, int64_t) {}
