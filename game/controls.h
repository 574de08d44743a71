// SPDX-License-Identifier: MIT
// game: the controls as the player has them, for the help and the PAUSED screen in the window.
// One line a control: its keys as bound in the settings, and what it does.
#pragma once
#include <string>
#include <vector>

#include "player/help.h"

struct ControlLine {
    std::string keys;  // "J (hold)", "P or Esc", "Left mouse, drag"
    std::string what;
};

// the keys and buttons of play, in the order the help lists them; once a pad has been used, its
// own lines after these
std::vector<ControlLine> controlLines();
// "Press P or Esc to resume", with the keys as bound; with the help's own key when it is shown
std::string resumeHint(bool helpShown);
// the console help's key names as bound
HelpKeys helpKeys();
