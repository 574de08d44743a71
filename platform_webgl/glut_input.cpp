// SPDX-License-Identifier: MIT
// The page's input as the toolkit's callbacks: keys (ASCII and special), buttons, motion, the
// wheel as buttons 3 and 4, and the page hidden or shown as the window's state.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>
#include <vector>

#include "glut_internal.h"

namespace {

constexpr const char* kCanvas = "#canvas";

struct NamedKey {
    const char* name;
    int code;
};

// keys that type a character on the desktop too
constexpr NamedKey kAsciiKeys[] = {
    {"Enter", 13}, {"Tab", 9}, {"Backspace", 8}, {"Escape", 27}, {"Delete", 127},
};

constexpr NamedKey kSpecialKeys[] = {
    {"F1", GLUT_KEY_F1}, {"F2", GLUT_KEY_F2}, {"F3", GLUT_KEY_F3}, {"F4", GLUT_KEY_F4},
    {"F5", GLUT_KEY_F5}, {"F6", GLUT_KEY_F6}, {"F7", GLUT_KEY_F7}, {"F8", GLUT_KEY_F8},
    {"F9", GLUT_KEY_F9}, {"F10", GLUT_KEY_F10}, {"F11", GLUT_KEY_F11}, {"F12", GLUT_KEY_F12},
    {"ArrowLeft", GLUT_KEY_LEFT}, {"ArrowUp", GLUT_KEY_UP}, {"ArrowRight", GLUT_KEY_RIGHT},
    {"ArrowDown", GLUT_KEY_DOWN}, {"PageUp", GLUT_KEY_PAGE_UP}, {"PageDown", GLUT_KEY_PAGE_DOWN},
    {"Home", GLUT_KEY_HOME}, {"End", GLUT_KEY_END}, {"Insert", GLUT_KEY_INSERT},
    {"NumLock", GLUT_KEY_NUM_LOCK}, {"Clear", GLUT_KEY_BEGIN},
};

// the modifiers themselves, told apart by side through the key's place
constexpr NamedKey kModifierCodes[] = {
    {"ShiftLeft", GLUT_KEY_SHIFT_L}, {"ShiftRight", GLUT_KEY_SHIFT_R},
    {"ControlLeft", GLUT_KEY_CTRL_L}, {"ControlRight", GLUT_KEY_CTRL_R},
    {"AltLeft", GLUT_KEY_ALT_L}, {"AltRight", GLUT_KEY_ALT_R},
};

template <size_t N>
int lookUp(const NamedKey (&table)[N], const char* name)
{
    for (const NamedKey& row : table)
        if (std::strcmp(row.name, name) == 0)
            return row.code;
    return -1;
}

// the one character a key types, when it is one of Latin-1's (as the desktop's keyboard gives)
int latin1Character(const char* key)
{
    const unsigned char* k = reinterpret_cast<const unsigned char*>(key);
    if (k[0] >= 0x20 && k[0] < 0x80 && k[1] == 0)
        return k[0];
    if ((k[0] == 0xC2 || k[0] == 0xC3) && (k[1] & 0xC0) == 0x80 && k[2] == 0)
        return ((k[0] & 0x1F) << 6) | (k[1] & 0x3F);
    return -1;
}

std::vector<glut::Event> sEvents;
int sMouseX = 0, sMouseY = 0;
int sButtonsHeld = 0;        // a bit for each button the game saw pressed
int sMenuButtonsHeld = 0;    // the buttons whose press opened or closed a menu

EM_JS(void, canvasPoint, (double clientX, double clientY, int* point), {
    var canvas = document.querySelector('#canvas');
    var box = canvas.getBoundingClientRect();
    var sx = box.width > 0 ? canvas.width / box.width : 1;
    var sy = box.height > 0 ? canvas.height / box.height : 1;
    HEAP32[point >> 2] = Math.floor((clientX - box.left) * sx);
    HEAP32[(point >> 2) + 1] = Math.floor((clientY - box.top) * sy);
});

EM_JS(void, keepContextMenuOff, (), {
    document.querySelector('#canvas').addEventListener('contextmenu', function(e) {
        e.preventDefault();
    });
});

void notePointer(const EmscriptenMouseEvent* event)
{
    int point[2];
    canvasPoint(double(event->clientX), double(event->clientY), point);
    sMouseX = point[0];
    sMouseY = point[1];
}

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* event, void*)
{
    glut::retryFullScreen();
    int ascii = -1, special = -1;
    if (!glut::mapKey(event->key, event->code, event->shiftKey, event->ctrlKey, &ascii, &special))
        return EM_FALSE;
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    // a held key repeats its press and comes up once
    if (ascii >= 0)
        glut::queueEvent({down ? glut::EventKind::Key : glut::EventKind::KeyUp, ascii, 0, sMouseX, sMouseY});
    else
        glut::queueEvent({down ? glut::EventKind::Special : glut::EventKind::SpecialUp, special, 0, sMouseX, sMouseY});
    // the browser keeps its shortcuts and reload, full screen and tools keys
    if (event->ctrlKey || event->metaKey || event->altKey)
        return EM_FALSE;
    return special == GLUT_KEY_F5 || special == GLUT_KEY_F11 || special == GLUT_KEY_F12 ? EM_FALSE : EM_TRUE;
}

EM_BOOL onButton(int type, const EmscriptenMouseEvent* event, void*)
{
    glut::retryFullScreen();
    notePointer(event);
    const int button = event->button;
    if (button < 0 || button > 2)
        return EM_FALSE;
    const int bit = 1 << button;
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN) {
        // a press closes an open menu, or opens the one attached to its button
        if (glut::menuOpen()) {
            glut::closeMenu();
            sMenuButtonsHeld |= bit;
        } else if (int menu = glut::attachedMenu(button)) {
            glut::openMenu(menu, sMouseX, sMouseY);
            sMenuButtonsHeld |= bit;
        } else {
            sButtonsHeld |= bit;
            glut::queueEvent({glut::EventKind::Button, button, GLUT_DOWN, sMouseX, sMouseY});
        }
        return EM_TRUE;
    }
    if (sMenuButtonsHeld & bit) {
        sMenuButtonsHeld &= ~bit;
        return EM_FALSE;
    }
    if (!(sButtonsHeld & bit))
        return EM_FALSE;
    sButtonsHeld &= ~bit;
    glut::queueEvent({glut::EventKind::Button, button, GLUT_UP, sMouseX, sMouseY});
    return EM_FALSE;
}

// while a button is held the drag goes on outside the canvas, as under the desktop's grab
EM_BOOL onMove(int, const EmscriptenMouseEvent* event, void*)
{
    notePointer(event);
    if (sButtonsHeld)
        glut::queueEvent({glut::EventKind::Motion, 0, 0, sMouseX, sMouseY});
    return EM_FALSE;
}

// a turn of the wheel is a press and release of button 3 (up) or 4 (down)
EM_BOOL onWheel(int, const EmscriptenWheelEvent* event, void*)
{
    notePointer(&event->mouse);
    if (event->deltaY != 0.0 && !glut::menuOpen()) {
        const int button = event->deltaY < 0.0 ? 3 : 4;
        glut::queueEvent({glut::EventKind::Button, button, GLUT_DOWN, sMouseX, sMouseY});
        glut::queueEvent({glut::EventKind::Button, button, GLUT_UP, sMouseX, sMouseY});
    }
    return EM_TRUE;
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* event, void*)
{
    glut::queueEvent({glut::EventKind::Status, event->hidden ? GLUT_HIDDEN : GLUT_FULLY_RETAINED, 0, 0, 0});
    return EM_FALSE;
}

}  // namespace

namespace glut {

bool mapKey(const char* key, const char* code, bool shift, bool ctrl, int* ascii, int* special)
{
    *ascii = *special = -1;
    int character = latin1Character(key);
    if (character < 0 && std::strcmp(key, "Unidentified") == 0) {
        // no name from the layout: the letters and digits by their place
        if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && !code[4])
            character = shift ? code[3] : code[3] - 'A' + 'a';
        else if (std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && !code[6] && !shift)
            character = code[5];
    }
    if (character >= 0) {
        // with Control held the letters and their neighbours are control characters
        if (ctrl && character >= '@' && character <= '~')
            character &= 0x1F;
        else if (ctrl && character == ' ')
            character = 0;
        *ascii = character;
        return true;
    }
    // the keypad's Delete without Num Lock is the special one
    if (std::strcmp(key, "Delete") == 0 && std::strcmp(code, "NumpadDecimal") == 0) {
        *special = GLUT_KEY_DELETE;
        return true;
    }
    if ((*ascii = lookUp(kAsciiKeys, key)) >= 0)
        return true;
    if ((*special = lookUp(kSpecialKeys, key)) >= 0)
        return true;
    if (std::strcmp(key, "AltGraph") != 0 && (*special = lookUp(kModifierCodes, code)) >= 0)
        return true;
    return false;
}

void queueEvent(const Event& event) { sEvents.push_back(event); }

void deliverEvents()
{
    // a callback may queue more (none does now): those wait for the next frame
    std::vector<Event> events;
    events.swap(sEvents);
    for (const Event& e : events) {
        switch (e.kind) {
        case EventKind::Key:
            if (gCallbacks.keyboard)
                gCallbacks.keyboard(static_cast<unsigned char>(e.code), e.x, e.y);
            break;
        case EventKind::KeyUp:
            if (gCallbacks.keyboardUp)
                gCallbacks.keyboardUp(static_cast<unsigned char>(e.code), e.x, e.y);
            break;
        case EventKind::Special:
            if (gCallbacks.special)
                gCallbacks.special(e.code, e.x, e.y);
            break;
        case EventKind::SpecialUp:
            if (gCallbacks.specialUp)
                gCallbacks.specialUp(e.code, e.x, e.y);
            break;
        case EventKind::Button:
            if (gCallbacks.mouse)
                gCallbacks.mouse(e.code, e.state, e.x, e.y);
            break;
        case EventKind::Motion:
            if (gCallbacks.motion)
                gCallbacks.motion(e.x, e.y);
            break;
        case EventKind::Status:
            if (gCallbacks.windowStatus)
                gCallbacks.windowStatus(e.code);
            break;
        }
    }
}

void listenToPage()
{
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, EM_FALSE, onKey);
    emscripten_set_keyup_callback(window, nullptr, EM_FALSE, onKey);
    emscripten_set_mousedown_callback(kCanvas, nullptr, EM_FALSE, onButton);
    emscripten_set_mouseup_callback(window, nullptr, EM_FALSE, onButton);
    emscripten_set_mousemove_callback(window, nullptr, EM_FALSE, onMove);
    emscripten_set_wheel_callback(kCanvas, nullptr, EM_FALSE, onWheel);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibility);
    keepContextMenuOff();
}

}  // namespace glut
