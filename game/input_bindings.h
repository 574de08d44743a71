// SPDX-License-Identifier: MIT
// game: what each key, button and drag does. The player's callbacks hand their events here;
// the bindings guard them with the state of play (input is frozen between levels and after the
// game) and act on the player and on the state of play.
#pragma once
#include <cstdint>

#include "player/input.h"

// the window's size as the queued reshapes gave it, for the Look: a replay without a window
// looks as the recorded game did
extern int32_t gViewWidth;
extern int32_t gViewHeight;
// A or D is held: the player steps aside once a step, whatever the keyboard's repeat
extern uint8_t gHideLeftHeld;
extern uint8_t gHideRightHeld;

// the menu's entries other than Exit, as a Menu event's code (and the input log's) names them
enum MenuChoice : int32_t {
    kMenuPause = 1,          // "Pause" or "Resume"
    kMenuFullScreen = 2,
    kMenuSound = 3,          // "Sound on" or "Sound off": mute
    kMenuShowScore = 4,
    kMenuLandingMarker = 5,
    kMenuHelp = 6,
    kMenuPlayAgain = 7,      // after GAME OVER only
};
constexpr int32_t kFirstMenuChoice = kMenuPause;
constexpr int32_t kLastMenuChoice = kMenuPlayAgain;

void applyInput(const InputEvent& event);
// shared with the pad's bindings (game/pad_bindings.h): the pause key's, the help key's and
// F1's actions
void togglePause();
void toggleHelp();
void toggleWeapon();
// a step aside for each hiding key (or pad shoulder) held, stepMs after the last step; none
// while paused
void stepHeldKeys(float stepMs);
void resetBindingsState();
// during a turn, between levels and after the game, the player can neither hide nor look
bool inputFrozen();
