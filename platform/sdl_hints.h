// SPDX-License-Identifier: MIT
// platform: what SDL is told before any of its calls.
#pragma once
#include <SDL.h>

// SDL would catch SIGINT and SIGTERM as a quit event that nothing here reads, so after the first
// sound Ctrl-C and kill would no longer end the game; the signals keep their default action
inline void prepareSdl()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}
