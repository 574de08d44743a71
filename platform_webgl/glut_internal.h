// SPDX-License-Identifier: MIT
// The toolkit's state shared by its files: the callbacks, the events waiting for the next frame,
// the attached menus and the key table.
#ifndef VX_WEBGL_GLUT_INTERNAL_H
#define VX_WEBGL_GLUT_INTERNAL_H

#include <GL/freeglut.h>

namespace glut {

struct Callbacks {
    void (*display)() = nullptr;
    void (*reshape)(int, int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*keyboardUp)(unsigned char, int, int) = nullptr;
    void (*special)(int, int, int) = nullptr;
    void (*specialUp)(int, int, int) = nullptr;
    void (*mouse)(int, int, int, int) = nullptr;
    void (*motion)(int, int) = nullptr;
    void (*idle)() = nullptr;
    void (*windowStatus)(int) = nullptr;
    void (*close)() = nullptr;
    void (*menuStatus)(int, int, int) = nullptr;
};
extern Callbacks gCallbacks;

// Input comes from the page's handlers at any time and reaches the game at the start of the
// next frame, in order.
enum class EventKind { Key, KeyUp, Special, SpecialUp, Button, Motion, Status };
struct Event {
    EventKind kind;
    int code;   // the key, the button or the status
    int state;  // a button's GLUT_DOWN or GLUT_UP
    int x, y;
};
void queueEvent(const Event& event);
void deliverEvents();

// the page's handlers: keys, buttons, motion, wheel, visibility, unloading
void listenToPage();

// what a browser key (its key and code names, with the modifiers held) is to the game: an
// ASCII key (*ascii >= 0) or a special key (*special >= 0); false when it is neither
bool mapKey(const char* key, const char* code, bool shift, bool ctrl, int* ascii, int* special);

// the full screen is only granted while the page handles a key or a button: a request made
// outside one waits for the next
void retryFullScreen();

// the menu attached to a button, 0 when none; opening shows it through the page
int attachedMenu(int button);
void openMenu(int menu, int x, int y);
bool menuOpen();
void closeMenu();

}  // namespace glut

#endif
