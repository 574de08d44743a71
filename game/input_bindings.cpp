// SPDX-License-Identifier: MIT
// game: the key and mouse bindings.
#include "game/input_bindings.h"

#include <cstdio>
#include <string>

#include "game/controls.h"
#include "game/game_state.h"
#include "game/pad_bindings.h"
#include "game/play_step.h"
#include "game/rules.h"
#include "game/settings.h"
#include "platform/full_screen.h"
#include "platform/redisplay.h"
#include "platform/services.h"
#include "player/camera.h"
#include "player/input.h"
#include "player/throwing.h"

int32_t gViewWidth;
int32_t gViewHeight;
uint8_t gHideLeftHeld;
uint8_t gHideRightHeld;

bool inputFrozen()
{
    return gLevelOver || gTurning || gGameOver;
}

static bool isPauseKey(int32_t key)
{
    return key == 'p' || key == 'P' || key == kKeyEscape;
}

void togglePause()
{
    // the help's pause ends as the help closes
    gPaused = gHelpShown ? 0 : !gPaused;
    gHelpShown = 0;
    requestRedisplay();
}

// the help on standard output as always, and in the window, paused, until a pause or help key
void toggleHelp()
{
    printHelp(helpKeys());
    gHelpShown = !gHelpShown;
    gPaused = gHelpShown;
    requestRedisplay();
}

// a menu choice that changes a setting keeps it in the settings file; a write that fails is
// said on standard error and play goes on with the new value
static void saveMenuSetting(const char* section, const char* key)
{
    std::string error;
    if (!saveSetting(section, key, &error))
        std::fprintf(stderr, "vendettix: settings not saved: %s\n", error.c_str());
}

static void onMenuChoice(int32_t choice)
{
    switch (choice) {
    case kMenuPause:
        togglePause();
        return;
    case kMenuFullScreen:
        requestFullScreenToggle();
        return;
    case kMenuSound:
        gSettings.mute = !gSettings.mute;
        setSoundLevel(gSettings.volume, gSettings.mute);
        saveMenuSetting("sound", "mute");
        return;
    case kMenuShowScore:
        gSettings.showScore = !gSettings.showScore;
        requestRedisplay();
        saveMenuSetting("assists", "show_score");
        return;
    case kMenuLandingMarker:
        gSettings.landingMarker = !gSettings.landingMarker;
        requestRedisplay();
        saveMenuSetting("assists", "landing_marker");
        return;
    case kMenuHelp:
        toggleHelp();
        return;
    case kMenuPlayAgain:
        if (gGameOver)
            startNewGame();
        return;
    default:
        return;
    }
}

// hidden or iconified: the game stops by itself and waits for the pause key to go on; a finished
// game has nothing to stop
static void pauseWhenHidden(int32_t status)
{
    if ((status == kWindowHidden || status == kWindowFullyCovered) && !gPaused && !gGameOver) {
        gPaused = 1;
        requestRedisplay();
    }
}

static bool isPlayAgainKey(int32_t key)
{
    return key == 'n' || key == 'N' || key == kKeyEnter;
}

// after GAME OVER only, paused or not; the same window, terrain and models
static bool playAgain(int32_t key)
{
    if (!gGameOver || !isPlayAgainKey(key))
        return false;
    startNewGame();
    return true;
}

static bool isLeanKey(int32_t key)
{
    return key == 'a' || key == 'A' || key == 'd' || key == 'D';
}

// While paused only resume, quit, help and full screen act (the menu is the toolkit's own), and
// after GAME OVER play again. The lean keys are still marked held or let go, so a key held at the resume leans and none is stuck;
// the steps that move the player wait for the resume. A release still ends a Look or a charge
// held from before the pause; the charge ends without a throw.
static bool swallowedWhilePaused(const InputEvent& event)
{
    switch (event.kind) {
    case InputKind::KeyDown:
        return !(isPauseKey(event.code) || isLeanKey(event.code) || event.code == 'q' ||
                 event.code == 'Q' || event.code == 'h' || event.code == 'H' ||
                 (gGameOver && isPlayAgainKey(event.code)));
    case InputKind::SpecialKey:
        return event.code != kKeyF11;
    case InputKind::KeyUp:
    case InputKind::WindowStatus:
    case InputKind::Reshape:
    case InputKind::Quit:
    case InputKind::Menu:
    case InputKind::Look:
    // the pad's bindings keep track of what is held and decide for themselves
    case InputKind::PadDown:
    case InputKind::PadUp:
    case InputKind::PadAxis:
    case InputKind::PadGone:
    case InputKind::PadDeadzone:
        return false;
    case InputKind::SpecialKeyUp:
        return true;
    case InputKind::Button:
        if (event.code == kButtonLeft && event.state != kButtonDown)
            cancelLook();
        if (event.code == kButtonRight && event.state != kButtonDown)
            cancelCharging();
        return true;
    case InputKind::Drag:
        return true;
    }
    return true;
}

static void onKeyDown(unsigned char key)
{
    if (isPauseKey(key)) {
        togglePause();
        return;
    }
    if (playAgain(key))
        return;
    switch (key) {
    // the step moves the player aside while the key is held; the keyboard's repeats of the
    // press change nothing
    case 'A': case 'a':
        gHideLeftHeld = 1;
        if (!inputFrozen())
            requestRedisplay();
        return;
    case 'D': case 'd':
        gHideRightHeld = 1;
        if (!inputFrozen())
            requestRedisplay();
        return;
    case 'C': case 'c':
        advanceTurn();
        return;
    // the toggles show with the next frame the idle loop draws
    case 'E': case 'e':
        toggleBirdsEyeView();
        return;
    case 'F': case 'f':
        toggleFpsCounter();
        return;
    case 'H': case 'h':
        toggleHelp();
        return;
    case 'Q': case 'q':
        gQuitRequested = 1;
        return;
    case 'l':
        gOwnerSeesPlayer = !gOwnerSeesPlayer;
        return;
    // the help screen names it in upper case
    case 'm': case 'M':
        toggleWireframe();
        return;
    default:
        return;
    }
}

void toggleWeapon()
{
    selectAmmunition(!gEggSelected);
    requestRedisplay();
}

static void onKeyUp(unsigned char key)
{
    // a key let go while input is frozen is no longer held once play resumes
    if (key == 'A' || key == 'a')
        gHideLeftHeld = 0;
    else if (key == 'D' || key == 'd')
        gHideRightHeld = 0;
    if (inputFrozen())
        return;
    // the player stays aside while the pad's shoulder still holds that side
    if ((key == 'A' || key == 'a') && !padHoldsHideLeft()) {
        beginLeanReturn(true);
        requestRedisplay();
    } else if ((key == 'D' || key == 'd') && !padHoldsHideRight()) {
        beginLeanReturn(false);
        requestRedisplay();
    }
}

static void onSpecialKey(int32_t key)
{
    if (key == kKeyF11) {
        requestFullScreenToggle();
    } else if (key == kKeyF1) {
        toggleWeapon();
    } else if (key == kKeyHome) {
        resetCamera();
        requestRedisplay();
    }
}

static void onLeftButton(const InputEvent& event)
{
    if (inputFrozen()) {
        // a release still ends the Look, or a later drag would steer from a stale press
        if (event.state != kButtonDown)
            cancelLook();
        return;
    }
    if (event.state == kButtonDown)
        beginLook(event.x, event.y);
    else
        followLook(event.x, event.y, gViewWidth, gViewHeight, true);
    requestRedisplay();
}

void stepHeldKeys(float stepMs)
{
    // held through a pause, the lean goes on once play resumes
    if (gPaused || inputFrozen())
        return;
    if (gHideLeftHeld || padHoldsHideLeft())
        stepHideLeft(stepMs);
    if (gHideRightHeld || padHoldsHideRight())
        stepHideRight(stepMs);
}

void applyInput(const InputEvent& event)
{
    if (gPaused && swallowedWhilePaused(event))
        return;
    switch (event.kind) {
    case InputKind::WindowStatus:
        pauseWhenHidden(event.code);
        return;
    case InputKind::KeyDown:
        onKeyDown(static_cast<unsigned char>(event.code));
        return;
    case InputKind::KeyUp:
        onKeyUp(static_cast<unsigned char>(event.code));
        return;
    case InputKind::SpecialKey:
        onSpecialKey(event.code);
        return;
    case InputKind::Button:
        if (event.code == kButtonLeft)
            onLeftButton(event);
        else if (event.code == kButtonRight)
            onThrowButton(event.state == kButtonDown ? 1 : 0);
        // the middle button belongs to the menu
        return;
    case InputKind::Drag:
        if (inputFrozen())
            return;
        followLook(event.x, event.y, gViewWidth, gViewHeight, false);
        requestRedisplay();
        return;
    case InputKind::Reshape:
        gViewWidth = event.x;
        gViewHeight = event.y;
        return;
    case InputKind::Quit:
        gQuitRequested = 1;
        return;
    case InputKind::Menu:
        onMenuChoice(event.code);
        return;
    case InputKind::Look:
        setLookSettings(float(event.code) / float(kLookScaleUnits), event.state != 0);
        return;
    case InputKind::SpecialKeyUp:
        // the input's route turns a bound one into the key it stands for
        return;
    case InputKind::PadDown:
    case InputKind::PadUp:
    case InputKind::PadAxis:
    case InputKind::PadGone:
    case InputKind::PadDeadzone:
        applyPadInput(event);
        return;
    }
}

void resetBindingsState()
{
    gViewWidth = gViewHeight = 0;
    gHideLeftHeld = gHideRightHeld = 0;
    resetPadBindings();
}
