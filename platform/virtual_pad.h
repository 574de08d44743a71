// SPDX-License-Identifier: MIT
// platform: a game pad made of software, through SDL's virtual joysticks, for tests and for
// trying the pad in the running game without one (VX_VIRTUAL_PAD, README). It looks to the
// game like any pad in the standard layout. One at a time.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// plugs it in (the game-controller subsystem must be open); false if SDL refuses
bool attachVirtualPad();
bool virtualPadAttached();
// a button (SDL's number) pressed or released
bool setVirtualPadButton(int32_t button, bool down);
// an axis at a position as the game reads it: sticks -32768..32767, triggers 0..32767
bool setVirtualPadAxis(int32_t axis, int32_t position);
// pulls it out
bool detachVirtualPad();

// A script drives the pad, a line a command at a step of play:
//   <step> attach | detach | button <b> <0|1> | axis <a> <position>
// Lines starting with # and empty lines are ignored.
struct VirtualPadCommand {
    int64_t step;
    enum class Kind : uint8_t { Attach, Detach, Button, Axis } kind;
    int32_t code;
    int32_t value;
};
// false with "FILE:LINE: what is wrong" in *error
bool readVirtualPadScript(const std::string& path, std::vector<VirtualPadCommand>* script,
                          std::string* error);
// runs the commands of the earliest step in the script that is due by this one, and drops them
void runVirtualPadScript(std::vector<VirtualPadCommand>& script, int64_t step);
