// SPDX-License-Identifier: MIT
// app: the game pads' events into the input queue. The controller subsystem opens in the idle
// after the first frame is drawn, so start-up does not wait for it; from then on every idle call
// takes the pads' events and queues them for the next step (game/pad_bindings.h says what they
// do).
#pragma once
#include <string>

// once an idle call
void serviceGamepads();
// with VX_VIRTUAL_PAD=FILE in the environment (a test aid): reads FILE's script for the software
// pad (platform/virtual_pad.h), which runs once the pads are open. False with the fault in
// *error; true when there is none to read
bool readVirtualPadFromEnvironment(std::string* error);
void resetGamepadInput();
