// game: what each key, button and drag does. The player's callbacks hand their events here;
// the bindings guard them with the state of play (input is frozen between levels and after the
// game) and act on the player and on the state of play.
#pragma once
#include <cstdint>

#include "player/input.h"

// what the bindings read from the shell: the window's size for the Look, and the last idle
// step for a step aside
struct InputContext {
    int32_t windowWidth;
    int32_t windowHeight;
    float tickStepMs;
};

void applyInput(const InputEvent& event, const InputContext& context);
// during a turn, between levels and after the game, the player can neither hide nor look
bool inputFrozen();
