// SPDX-License-Identifier: MIT
// player: the keyboard and mouse callbacks, the display toggles and the help screen. The
// callbacks decide nothing: each turns the window toolkit's event into an InputEvent and hands
// it to the handler the shell installs, where the game's bindings act on it.
#pragma once
#include <cstdint>

extern uint8_t gBirdsEyeView;
extern uint8_t gShowFps;
extern uint32_t gWireframe;       // streamers drawn as lines while set
// the Look's turn per pixel dragged (1 as it always was) and its vertical sense, as the input
// gave them: a replay looks as the recorded game did, whatever the settings
extern float gLookScale;
extern uint8_t gLookInverted;
// the Look's settings travel in the input as thousandths of the scale
constexpr int32_t kLookScaleUnits = 1000;

// the toolkit's codes the bindings act on (GLUT's values; the shell checks them)
constexpr int32_t kKeyF1 = 1;
constexpr int32_t kKeyF11 = 11;
constexpr int32_t kKeyHome = 106;
constexpr int32_t kButtonLeft = 0;
constexpr int32_t kButtonRight = 2;
constexpr int32_t kButtonDown = 0;
constexpr int32_t kKeyEscape = 27;
constexpr int32_t kKeyEnter = 13;
// the window's status as the toolkit reports it: unmapped (iconified, or on another desktop) and
// covered by other windows are the two the game counts as hidden
constexpr int32_t kWindowHidden = 0;
constexpr int32_t kWindowFullyCovered = 3;

// a game pad's buttons and axes in the standard layout (SDL's game-controller numbers; the
// shell checks them)
constexpr int32_t kPadA = 0;
constexpr int32_t kPadY = 3;
constexpr int32_t kPadBack = 4;
constexpr int32_t kPadStart = 6;
constexpr int32_t kPadLeftShoulder = 9;
constexpr int32_t kPadRightShoulder = 10;
constexpr int32_t kPadUp = 11;
constexpr int32_t kPadDown = 12;
constexpr int32_t kPadLeft = 13;
constexpr int32_t kPadRight = 14;
constexpr int32_t kPadButtonCount = 21;
constexpr int32_t kPadLeftX = 0;
constexpr int32_t kPadLeftY = 1;   // up is negative
constexpr int32_t kPadRightTrigger = 5;
constexpr int32_t kPadAxisCount = 6;
constexpr int32_t kPadAxisMin = -32768;
constexpr int32_t kPadAxisMax = 32767;

// Reshape carries the window's new size in x and y; Quit is the menu's Exit; WindowStatus the
// window's visibility (GLUT's status in code); Menu another menu entry (its choice in code);
// Look the Look's settings (the scale in kLookScaleUnits in code, inverted in state).
// SpecialKeyUp only reaches the bindings as the key it is bound to. The pad's: PadDown and PadUp
// a button in code; PadAxis an axis in code at position x; PadGone the pad in use was pulled
// out; PadDeadzone the stick's dead zone in code (thousandths of full tilt)
enum class InputKind : uint8_t { KeyDown, KeyUp, SpecialKey, Button, Drag, Reshape, Quit,
                                 WindowStatus, Menu, Look, SpecialKeyUp, PadDown, PadUp, PadAxis,
                                 PadGone, PadDeadzone };

// one event as the toolkit reported it: the key or button, its state, the pointer position
struct InputEvent {
    InputKind kind;
    int32_t code;   // the key, special key or button; the window's status
    int32_t state;  // a button's kButtonDown or up
    int32_t x, y;
};

void onKeyboard(unsigned char key, int x, int y);
void onKeyboardUp(unsigned char key, int x, int y);
void onSpecial(int key, int x, int y);
void onSpecialUp(int key, int x, int y);
void onMouse(int button, int state, int x, int y);
void onMotion(int x, int y);
void onWindowStatus(int state);
// where the callbacks deliver; without a handler events are dropped
void setInputHandler(void (*handler)(const InputEvent& event));

// the player's own side of the bindings
// Look: the left button pressed at (x, y)
void beginLook(int x, int y);
// the pointer at (x, y) with the left button held (drag) or released (release = true), in a
// window of the given size
void followLook(int x, int y, int32_t width, int32_t height, bool release);
// a release that arrives while input is frozen still ends the Look
void cancelLook();
// the Look turns scale times the drag, its vertical sense turned over when inverted
void setLookSettings(float scale, bool inverted);
// the Look turned by these angles (radians; yaw to the right, pitch up), within its limits
void turnLook(float yaw, float pitch);
// the camera straight at the house's side wall from the first station, eye back on the station
void resetCamera();
// the World's meshes and the streamers between lines and filled
void toggleWireframe();
void toggleBirdsEyeView();
void toggleFpsCounter();
// the frame-rate counter and the wireframe off, as a run starts
void startWithTogglesOff();

void resetInputState();
