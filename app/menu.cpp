// SPDX-License-Identifier: MIT
// app: the middle button's menu. Each entry shows the state it changes; a choice is queued as
// input like a key, so a recording replays it. Exit stays last.
#include <GL/freeglut.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/play_session.h"
#include "game/game_state.h"
#include "game/input_bindings.h"
#include "game/settings.h"

namespace {

struct MenuEntry {
    std::string label;
    int value;
};

int sMenu = 0;
bool sMenuInUse = false;
std::vector<MenuEntry> sShown;

std::string checked(bool on, const char* label)
{
    return std::string(on ? "[x] " : "[  ] ") + label;
}

std::vector<MenuEntry> entriesNow()
{
    std::vector<MenuEntry> entries = {
        {gPaused ? "Resume" : "Pause", kMenuPause},
        {checked(windowIsFullScreen(), "Full screen"), kMenuFullScreen},
        {gSettings.mute ? "Sound off" : "Sound on", kMenuSound},
        {checked(gSettings.showScore, "Show score"), kMenuShowScore},
        {checked(gSettings.landingMarker, "Landing marker"), kMenuLandingMarker},
        {"Help", kMenuHelp},
    };
    if (gGameOver)
        entries.push_back({"Play again", kMenuPlayAgain});
    entries.push_back({"Exit", kMenuExit});
    return entries;
}

void onMenuStatus(int status, int, int)
{
    sMenuInUse = status == GLUT_MENU_IN_USE;
}

}  // namespace

void createGameMenu()
{
    sMenu = glutCreateMenu(onMenu);
    glutMenuStatusFunc(onMenuStatus);
    sShown.clear();
    refreshGameMenu();
    glutAttachMenu(GLUT_MIDDLE_BUTTON);
}

void refreshGameMenu()
{
    // the toolkit does not allow a change while the menu is open; the next idle call makes it
    if (sMenu == 0 || sMenuInUse)
        return;
    const std::vector<MenuEntry> entries = entriesNow();
    const int previous = glutGetMenu();
    glutSetMenu(sMenu);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i >= sShown.size())
            glutAddMenuEntry(entries[i].label.c_str(), entries[i].value);
        else if (entries[i].label != sShown[i].label || entries[i].value != sShown[i].value)
            glutChangeToMenuEntry(int(i) + 1, entries[i].label.c_str(), entries[i].value);
    }
    for (size_t i = sShown.size(); i > entries.size(); --i)
        glutRemoveMenuItem(int(i));
    sShown = entries;
    if (previous != 0)
        glutSetMenu(previous);
}

// Exit ends the game at the next step, with its summary; the others are the bindings'
void onMenu(int value)
{
    if (value == kMenuExit)
        queueWindowInput(InputEvent{InputKind::Quit, 0, 0, 0, 0});
    else
        queueWindowInput(InputEvent{InputKind::Menu, value, 0, 0, 0});
}
