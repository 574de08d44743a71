// SPDX-License-Identifier: MIT
// platform: game pads through SDL's game-controller subsystem, which knows the common pads by
// their mappings and reports them all in one standard layout. One pad is in use at a time: the
// first found; when it goes, the next one still plugged in.
#pragma once
#include <cstdint>

enum class PadEventKind : uint8_t { ButtonDown, ButtonUp, Axis, Gone };

// code: SDL's button or axis number; value: the axis position (-32768..32767, triggers 0..32767)
struct PadEvent {
    PadEventKind kind;
    int32_t code;
    int32_t value;
};

// opens the subsystem; the pads already plugged in are found at the next poll. False if SDL
// has none (nothing else then happens)
bool openGamepads();
bool gamepadsOpen();
// takes SDL's pending pad events: pads plugged in are opened and pads pulled out let go. Every
// button of the pad in use pressed or released, then each of its axes whose position changed
// since the last poll, go to the sink; Gone when the pad in use is pulled out after it sent
// anything
void pollGamepads(void (*sink)(const PadEvent& event));
// the pads open now
int openGamepadCount();
void closeGamepads();
