// game: the key and mouse bindings.
#include "game/input_bindings.h"

#include <cstdlib>

#include "game/game_state.h"
#include "game/rules.h"
#include "platform/full_screen.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/throwing.h"

bool inputFrozen()
{
    return gLevelOver || gTurning || gGameOver;
}

static bool isPauseKey(int32_t key)
{
    return key == 'p' || key == 'P' || key == kKeyEscape;
}

static void togglePause()
{
    gPaused = !gPaused;
    requestRedisplay();
}

// hidden or iconified: the game stops by itself and waits for the pause key to go on
static void pauseWhenHidden(int32_t status)
{
    if ((status == kWindowHidden || status == kWindowFullyCovered) && !gPaused) {
        gPaused = 1;
        requestRedisplay();
    }
}

// after GAME OVER only; the same window, terrain and models
static bool playAgain(int32_t key)
{
    if (!gGameOver || !(key == 'n' || key == 'N' || key == kKeyEnter))
        return false;
    startNewGame();
    return true;
}

// While paused only resume, quit, help and full screen act (the menu is the toolkit's own). A
// release still ends a lean or a Look held from before the pause, so none is stuck afterwards;
// the walk back itself waits for the resume.
static bool swallowedWhilePaused(const InputEvent& event)
{
    switch (event.kind) {
    case InputKind::KeyDown:
        return !(isPauseKey(event.code) || event.code == 'q' || event.code == 'Q' ||
                 event.code == 'h' || event.code == 'H');
    case InputKind::SpecialKey:
        return event.code != kKeyF11;
    case InputKind::KeyUp:
    case InputKind::WindowStatus:
        return false;
    case InputKind::Button:
        if (event.code == kButtonLeft && event.state != kButtonDown)
            cancelLook();
        return true;
    case InputKind::Drag:
        return true;
    }
    return true;
}

static void onKeyDown(unsigned char key, const InputContext& context)
{
    if (isPauseKey(key)) {
        togglePause();
        return;
    }
    if (playAgain(key))
        return;
    switch (key) {
    // a held key repeats its press and is released once (the shell asks X for that)
    case 'A': case 'a':
        if (inputFrozen())
            return;
        stepHideLeft(context.tickStepMs);
        requestRedisplay();
        return;
    case 'D': case 'd':
        if (inputFrozen())
            return;
        stepHideRight(context.tickStepMs);
        requestRedisplay();
        return;
    case 'C': case 'c':
        advanceTurn();
        return;
    // the toggles show with the next frame the idle loop draws
    case 'E': case 'e':
        gBirdsEyeView = !gBirdsEyeView;
        return;
    case 'F': case 'f':
        gShowFps = !gShowFps;
        return;
    case 'H': case 'h':
        printHelp();
        return;
    case 'Q': case 'q':
        std::exit(0);
    case 'l':
        gOwnerSeesPlayer = !gOwnerSeesPlayer;
        return;
    case 'm':
        toggleWireframe();
        return;
    default:
        return;
    }
}

static void onKeyUp(unsigned char key)
{
    if (inputFrozen())
        return;
    if (key == 'A' || key == 'a') {
        gReturnFromLeft = 1;
        requestRedisplay();
    } else if (key == 'D' || key == 'd') {
        gReturnFromRight = 1;
        requestRedisplay();
    }
}

static void onSpecialKey(int32_t key)
{
    if (key == kKeyF11) {
        requestFullScreenToggle();
    } else if (key == kKeyF1) {
        gEggSelected = !gEggSelected;
        requestRedisplay();
    } else if (key == kKeyHome) {
        resetCamera();
        requestRedisplay();
    }
}

static void onLeftButton(const InputEvent& event, const InputContext& context)
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
        followLook(event.x, event.y, context.windowWidth, context.windowHeight, true);
    requestRedisplay();
}

void applyInput(const InputEvent& event, const InputContext& context)
{
    if (gPaused && swallowedWhilePaused(event))
        return;
    switch (event.kind) {
    case InputKind::WindowStatus:
        pauseWhenHidden(event.code);
        return;
    case InputKind::KeyDown:
        onKeyDown(static_cast<unsigned char>(event.code), context);
        return;
    case InputKind::KeyUp:
        onKeyUp(static_cast<unsigned char>(event.code));
        return;
    case InputKind::SpecialKey:
        onSpecialKey(event.code);
        return;
    case InputKind::Button:
        if (event.code == kButtonLeft)
            onLeftButton(event, context);
        else if (event.code == kButtonRight)
            onThrowButton(event.state == kButtonDown ? 1 : 0);
        // the middle button belongs to the menu
        return;
    case InputKind::Drag:
        if (inputFrozen())
            return;
        followLook(event.x, event.y, context.windowWidth, context.windowHeight, false);
        requestRedisplay();
        return;
    }
}
