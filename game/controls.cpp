// SPDX-License-Identifier: MIT
// game: the controls list, from the settings' keys.
#include "game/controls.h"

#include <cctype>

#include "game/pad_bindings.h"
#include "game/settings.h"

namespace {

// a letter shows in upper case, as on the keyboard
std::string shown(KeyAction action)
{
    std::string name = keyName(gSettings.keys[int(action)]);
    if (name.size() == 1)
        name[0] = char(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

// the pause key, and Escape beside it while Escape is not bound to something else
std::string pauseKeys()
{
    const std::string pause = shown(KeyAction::Pause);
    for (int a = 0; a < kKeyActionCount; ++a)
        if (!gSettings.keys[a].special && gSettings.keys[a].code == kKeyEscape)
            return pause;
    return pause + " or Esc";
}

}  // namespace

std::vector<ControlLine> controlLines()
{
    std::vector<ControlLine> lines = {
        {shown(KeyAction::HideLeft) + " (hold)", "hide left"},
        {shown(KeyAction::HideRight) + " (hold)", "hide right"},
        {shown(KeyAction::Weapon), "change weapons: rolls or eggs"},
        {"Left mouse, drag", "look around"},
        {"Right mouse", "hold to charge, release to throw"},
        {pauseKeys(), "pause and resume"},
        {shown(KeyAction::FullScreen), "full screen and back"},
        {shown(KeyAction::Help), "this help"},
        {"Middle mouse", "the menu"},
        {"Q", "quit"},
    };
    // a game played without a pad shows none of it
    if (gPadUsed)
        lines.insert(lines.end(), {
            {"Pad: stick, d-pad", "look around"},
            {"Pad: RT or A", "hold to charge, release to throw"},
            {"Pad: LB, RB (hold)", "hide left, hide right"},
            {"Pad: Y, Start, Back", "weapons, pause, this help"},
        });
    return lines;
}

std::string resumeHint(bool helpShown)
{
    if (helpShown) {
        const std::string pause = pauseKeys();
        const bool two = pause.find(" or ") != std::string::npos;
        return "Press " + shown(KeyAction::Help) + (two ? ", " : " or ") + pause + " to resume";
    }
    return "Press " + pauseKeys() + " to resume";
}

HelpKeys helpKeys()
{
    HelpKeys keys;
    keys.hideLeft = shown(KeyAction::HideLeft);
    keys.hideRight = shown(KeyAction::HideRight);
    keys.weapon = shown(KeyAction::Weapon);
    keys.pause = pauseKeys();
    keys.fullScreen = shown(KeyAction::FullScreen);
    return keys;
}
