// player: the keyboard and mouse callbacks, the display toggles and the help screen.
#pragma once
#include <cstdint>

extern uint8_t gBirdsEyeView;
extern uint8_t gShowFps;
extern uint32_t gWireframe;       // streamers drawn as lines while set

void onKeyboard(unsigned char key, int x, int y);
void onKeyboardUp(unsigned char key, int x, int y);
void onSpecial(int key, int x, int y);
void onMouse(int button, int state, int x, int y);
void onMotion(int x, int y);

// the help screen on standard output, in the console's encoding
void printHelp();
void resetInputState();
