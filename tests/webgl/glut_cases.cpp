// SPDX-License-Identifier: MIT
// The window toolkit over the page, in the page: the start-up arguments, the key table, the
// page's events as the game's callbacks (and which ones the browser keeps), the menu through the
// page's hook, the bitmap fonts' measures against the desktop's and their pixels drawn.
// Prints "glut cases: N passed, M failed" and titles the page "glut cases: done".
#include <emscripten.h>

#include <GL/freeglut.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "glut_font.h"
#include "glut_internal.h"

namespace {

int sPassed = 0, sFailed = 0;

void check(bool ok, const std::string& what)
{
    if (ok) {
        ++sPassed;
    } else {
        ++sFailed;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

constexpr int kWidth = 160, kHeight = 80;

// what the callbacks saw, one line each
std::vector<std::string> sSeen;

void note(const char* format, int a, int b = 0, int c = 0, int d = 0)
{
    char line[64];
    std::snprintf(line, sizeof line, format, a, b, c, d);
    sSeen.push_back(line);
}

std::string seen()
{
    glut::deliverEvents();
    std::string all;
    for (const std::string& line : sSeen)
        all += (all.empty() ? "" : " ") + line;
    sSeen.clear();
    return all;
}

void listen()
{
    glutKeyboardFunc([](unsigned char key, int, int) { note("key %d", key); });
    glutKeyboardUpFunc([](unsigned char key, int, int) { note("keyup %d", key); });
    glutSpecialFunc([](int key, int, int) { note("special %d", key); });
    glutSpecialUpFunc([](int key, int, int) { note("specialup %d", key); });
    glutMouseFunc([](int button, int state, int x, int y) { note("button %d %d %d,%d", button, state, x, y); });
    glutMotionFunc([](int x, int y) { note("drag %d,%d", x, y); });
    glutMenuStatusFunc([](int status, int, int) { note("menustatus %d", status); });
}

// a key event sent to the window as the browser would; 1 when the page kept the browser from
// acting on it
EM_JS(int, sendKey, (const char* type, const char* key, const char* code, int ctrl, int repeat), {
    var event = new KeyboardEvent(UTF8ToString(type), {key: UTF8ToString(key), code: UTF8ToString(code),
        ctrlKey: !!ctrl, repeat: !!repeat, bubbles: true, cancelable: true});
    return window.dispatchEvent(event) ? 0 : 1;
});

// a mouse event at canvas pixel (x, y); the canvas is shown at twice its size
EM_JS(int, sendMouse, (const char* type, int button, int x, int y, int onCanvas), {
    var canvas = document.querySelector('#canvas');
    var box = canvas.getBoundingClientRect();
    var event = new MouseEvent(UTF8ToString(type), {button: button, clientX: box.left + 2 * x + 1,
        clientY: box.top + 2 * y + 1, bubbles: true, cancelable: true});
    return (onCanvas ? canvas : window).dispatchEvent(event) ? 0 : 1;
});

EM_JS(int, sendWheel, (double deltaY), {
    var canvas = document.querySelector('#canvas');
    var box = canvas.getBoundingClientRect();
    return canvas.dispatchEvent(new WheelEvent('wheel', {deltaY: deltaY, clientX: box.left + 9,
        clientY: box.top + 9, bubbles: true, cancelable: true})) ? 0 : 1;
});

EM_JS(int, sendContextMenu, (), {
    return document.querySelector('#canvas').dispatchEvent(
        new MouseEvent('contextmenu', {bubbles: true, cancelable: true})) ? 0 : 1;
});

// the page hidden (or shown again), as the browser tells it
EM_JS(void, sendVisibility, (int hidden), {
    if (hidden)
        Object.defineProperty(document, 'hidden', {get: function() { return true; }, configurable: true});
    else
        delete document.hidden;
    document.dispatchEvent(new Event('visibilitychange'));
});

void argumentsCases()
{
    char* argv[] = {const_cast<char*>("vendettix"), const_cast<char*>("-display"),
                    const_cast<char*>(":3"), const_cast<char*>("--replay"),
                    const_cast<char*>("game.log"), const_cast<char*>("-iconic"),
                    const_cast<char*>("-sync"), nullptr};
    int argc = 7;
    glutInit(&argc, argv);
    check(argc == 3 && std::strcmp(argv[1], "--replay") == 0 && std::strcmp(argv[2], "game.log") == 0 &&
              argv[3] == nullptr,
          "glutInit takes out the X options the game passes on, and keeps the rest");
}

struct KeyRow {
    const char* key;
    const char* code;
    bool shift, ctrl;
    int ascii, special;  // -1: none
};

// browser key, code and modifiers -> the key the game gets
const KeyRow kKeys[] = {
    {"a", "KeyA", false, false, 'a', -1},
    {"A", "KeyA", true, false, 'A', -1},
    {"Unidentified", "KeyA", true, false, 'A', -1},
    {"Unidentified", "KeyD", false, false, 'd', -1},
    {"Unidentified", "KeyZ", false, false, 'z', -1},
    {"Unidentified", "Digit0", false, false, '0', -1},
    {"Unidentified", "Digit9", false, false, '9', -1},
    {"Unidentified", "Digit4", true, false, -1, -1},  // which sign depends on the layout
    {" ", "Space", false, false, ' ', -1},
    {"Enter", "Enter", false, false, 13, -1},
    {"Enter", "NumpadEnter", false, false, 13, -1},
    {"Escape", "Escape", false, false, 27, -1},
    {"Tab", "Tab", false, false, 9, -1},
    {"Backspace", "Backspace", false, false, 8, -1},
    {"Delete", "Delete", false, false, 127, -1},
    {"Delete", "NumpadDecimal", false, false, -1, GLUT_KEY_DELETE},
    {"7", "Numpad7", false, false, '7', -1},
    {"Home", "Numpad7", false, false, -1, GLUT_KEY_HOME},
    {"Clear", "Numpad5", false, false, -1, GLUT_KEY_BEGIN},
    {"q", "KeyQ", false, true, 17, -1},
    {"~", "Backquote", true, true, 30, -1},
    {"@", "Digit2", true, true, 0, -1},
    {" ", "Space", false, true, 0, -1},
    {"\xc3\xa9", "Digit2", false, false, 0xE9, -1},  // e acute, Latin-1
    {"\xe2\x82\xac", "KeyE", false, false, -1, -1},  // the euro sign: no Latin-1 key
    {"Dead", "BracketLeft", false, false, -1, -1},
    {"CapsLock", "CapsLock", false, false, -1, -1},
    {"F1", "F1", false, false, -1, GLUT_KEY_F1},
    {"F11", "F11", false, false, -1, GLUT_KEY_F11},
    {"F12", "F12", false, false, -1, GLUT_KEY_F12},
    {"Home", "Home", false, false, -1, GLUT_KEY_HOME},
    {"End", "End", false, false, -1, GLUT_KEY_END},
    {"ArrowLeft", "ArrowLeft", false, false, -1, GLUT_KEY_LEFT},
    {"ArrowDown", "ArrowDown", false, false, -1, GLUT_KEY_DOWN},
    {"PageUp", "PageUp", false, false, -1, GLUT_KEY_PAGE_UP},
    {"Insert", "Insert", false, false, -1, GLUT_KEY_INSERT},
    {"Shift", "ShiftLeft", true, false, -1, GLUT_KEY_SHIFT_L},
    {"Shift", "ShiftRight", true, false, -1, GLUT_KEY_SHIFT_R},
    {"Control", "ControlRight", false, true, -1, GLUT_KEY_CTRL_R},
    {"Alt", "AltLeft", false, false, -1, GLUT_KEY_ALT_L},
    {"AltGraph", "AltRight", false, false, -1, -1},
};

void keyTableCases()
{
    for (const KeyRow& row : kKeys) {
        int ascii = -2, special = -2;
        const bool mapped = glut::mapKey(row.key, row.code, row.shift, row.ctrl, &ascii, &special);
        check(mapped == (row.ascii >= 0 || row.special >= 0) &&
                  (!mapped || (ascii == row.ascii && special == row.special)),
              std::string("key ") + row.key + " / " + row.code + " gives " + std::to_string(ascii) +
                  ", special " + std::to_string(special));
    }
}

void keyEventCases()
{
    check(sendKey("keydown", "a", "KeyA", 0, 0) == 1 && seen() == "key 97", "a pressed");
    // held: the browser's repeats are presses, with no release between them
    check(sendKey("keydown", "a", "KeyA", 0, 1) == 1 && sendKey("keydown", "a", "KeyA", 0, 1) == 1 &&
              seen() == "key 97 key 97", "a held repeats its press");
    check(sendKey("keyup", "a", "KeyA", 0, 0) == 1 && seen() == "keyup 97", "a let go");
    check(sendKey("keydown", "ArrowDown", "ArrowDown", 0, 0) == 1 && seen() == "special 103",
          "an arrow does not scroll the page");
    check(sendKey("keydown", "F1", "F1", 0, 0) == 1 && sendKey("keyup", "F1", "F1", 0, 0) == 1 &&
              seen() == "special 1 specialup 1", "F1 is the game's");
    // reload, full screen and the tools stay the browser's; the game still sees F11
    check(sendKey("keydown", "F5", "F5", 0, 0) == 0 && sendKey("keydown", "F11", "F11", 0, 0) == 0 &&
              sendKey("keydown", "F12", "F12", 0, 0) == 0 && seen() == "special 5 special 11 special 12",
          "F5, F11 and F12 reach the browser");
    check(sendKey("keydown", "r", "KeyR", 1, 0) == 0 && seen() == "key 18",
          "a Control shortcut reaches the browser");
    check(sendKey("keydown", "Dead", "Quote", 0, 0) == 0 && seen().empty(), "a dead key is nobody's");
}

void mouseCases()
{
    check(sendMouse("mousedown", 0, 10, 20, 1) == 1 && seen() == "button 0 0 10,20",
          "a press at canvas pixels, with the canvas shown at twice its size");
    check(sendMouse("mousemove", 0, 200, 30, 0) == 0 && seen() == "drag 200,30",
          "the drag goes on outside the canvas");
    check(sendMouse("mouseup", 0, 12, 21, 0) == 0 && seen() == "button 0 1 12,21", "the release");
    check(sendMouse("mousemove", 0, 5, 5, 0) == 0 && seen().empty(), "no drag with no button held");
    check(sendMouse("mousedown", 2, 3, 4, 1) == 1 && sendMouse("mouseup", 2, 3, 4, 0) == 0 &&
              seen() == "button 2 0 3,4 button 2 1 3,4", "the right button");
    check(sendMouse("mouseup", 2, 5, 5, 0) == 0 && seen().empty(), "no release without its press");
    check(sendMouse("mousedown", 3, 5, 5, 1) == 0 && sendMouse("mouseup", 3, 5, 5, 0) == 0 && seen().empty(),
          "the side buttons are the browser's");
    check(sendContextMenu() == 1, "no context menu over the canvas");
    check(sendWheel(-3) == 1 && seen() == "button 3 0 4,4 button 3 1 4,4", "the wheel up is button 3");
    check(sendWheel(5) == 1 && seen() == "button 4 0 4,4 button 4 1 4,4", "the wheel down is button 4");
    sendVisibility(1);
    check(seen() == "status 0", "the page hidden is the window hidden");
    sendVisibility(0);
    check(seen() == "status 1", "the page shown again is the window fully retained");
}

EM_JS(void, catchMenus, (), {
    Module.vxShowMenu = function(json, x, y, menu) {
        var box = document.querySelector('#canvas').getBoundingClientRect();
        Module.shownMenu = {entries: JSON.parse(json), menu: menu, x: x - box.left, y: y - box.top};
    };
});

EM_JS(char*, shownMenu, (), {
    var text = Module.shownMenu ? JSON.stringify(Module.shownMenu) : "";
    Module.shownMenu = null;
    var size = lengthBytesUTF8(text) + 1;
    var out = _malloc(size);
    stringToUTF8(text, out, size);
    return out;
});

std::string takeShownMenu()
{
    char* text = shownMenu();
    const std::string menu = text;
    free(text);
    return menu;
}

EM_JS(void, chooseFromPage, (int menu, int value), { Module._vxglutMenuChoose(menu, value); });
EM_JS(void, openFromPage, (int x, int y), { Module._vxglutMenuOpen(x, y); });

void menuCases()
{
    catchMenus();
    const int menu = glutCreateMenu([](int value) { note("chose %d in menu %d", value, glutGetMenu()); });
    check(glutGetMenu() == menu, "a new menu is the current one");
    glutAddMenuEntry("Pause", 1);
    glutAddMenuEntry("Sound \"on\"", 3);
    glutAddMenuEntry("Help", 6);
    glutAddMenuEntry("Exit", 9);
    glutAddMenuEntry("Play again", 8);
    glutChangeToMenuEntry(1, "Resume", 1);
    glutRemoveMenuItem(3);
    glutRemoveMenuItem(4);  // the last
    glutChangeToMenuEntry(4, "None", 4);  // past the last: nothing
    glutRemoveMenuItem(0);
    glutAttachMenu(GLUT_MIDDLE_BUTTON);
    glutAttachMenu(GLUT_RIGHT_BUTTON + 1);  // no such button: nothing
    // another menu, current until the first is set again
    const int other = glutCreateMenu([](int) {});
    glutAddMenuEntry("Other", 1);
    glutSetMenu(menu);
    glutSetMenu(other + 1);  // no such menu: nothing
    check(glutGetMenu() == menu, "glutSetMenu");
    glutSetMenu(other);
    check(glutGetMenu() == other, "glutSetMenu to the last menu made");
    check(sendMouse("mousedown", 1, 7, 8, 1) == 1 && seen() == "menustatus 1",
          "the middle button opens the menu, and the game gets no press");
    const std::string expected = "{\"entries\":[{\"label\":\"Resume\",\"value\":1},{\"label\":\"Sound \\\"on\\\"\",\"value\":3},"
                                 "{\"label\":\"Exit\",\"value\":9}],\"menu\":" + std::to_string(menu) +
                                 ",\"x\":14,\"y\":16}";
    const std::string shown = takeShownMenu();
    check(shown == expected, "the page is shown the entries, where the press was on the page: " + shown);
    check(sendMouse("mouseup", 1, 7, 8, 0) == 0 && seen().empty(), "the press's release is the menu's");
    chooseFromPage(other + 1, 9);
    check(seen().empty(), "a choice from a menu not open is ignored");
    chooseFromPage(menu, 9);
    check(seen() == "menustatus 0 chose 9 in menu " + std::to_string(menu) && glutGetMenu() == other,
          "a choice closes the menu, then calls back with its value, its menu current meanwhile");
    chooseFromPage(menu, 9);
    check(seen().empty(), "a choice with no menu open is ignored");
    sendMouse("mousedown", 1, 7, 8, 1);
    takeShownMenu();
    chooseFromPage(menu, 4);
    check(seen() == "menustatus 1 menustatus 0", "a value no entry has closes the menu with no choice");
    sendMouse("mousedown", 1, 7, 8, 1);
    sendMouse("mouseup", 1, 7, 8, 0);
    check(sendMouse("mousedown", 0, 7, 8, 1) == 1 && sendMouse("mouseup", 0, 7, 8, 0) == 0 &&
              seen() == "menustatus 1 menustatus 0",
          "a press on the canvas closes an open menu and goes no further");
    openFromPage(30, 4);
    check(seen() == "menustatus 1" && takeShownMenu().find("\"x\":60,\"y\":8") != std::string::npos,
          "the page's menu button opens the middle button's menu");
    chooseFromPage(0, 0);
    check(seen() == "menustatus 0", "the page closes the menu with no choice");
}

// the desktop's freeglut's measures
void fontMeasureCases()
{
    auto length = [](void* font, const char* text) {
        return glutBitmapLength(font, reinterpret_cast<const unsigned char*>(text));
    };
    check(length(GLUT_BITMAP_TIMES_ROMAN_24, "SCORE") == 78, "SCORE in Times Roman 24");
    check(length(GLUT_BITMAP_TIMES_ROMAN_24, "Press Enter to play again") == 244, "a line in Times Roman 24");
    check(length(GLUT_BITMAP_TIMES_ROMAN_10, "GAME OVER!!!") == 70, "GAME OVER!!! in Times Roman 10");
    check(length(GLUT_BITMAP_HELVETICA_12, "Time Left:") == 53, "Time Left: in Helvetica 12");
    check(length(GLUT_BITMAP_HELVETICA_18, "ab\nabc") == 30, "the longest line's width");
    check(glutBitmapWidth(GLUT_BITMAP_HELVETICA_10, 'W') == 9 && glutBitmapWidth(GLUT_BITMAP_TIMES_ROMAN_24, 0xE9) == 11,
          "widths of W in Helvetica 10 and e acute in Times Roman 24");
    check(glutBitmapWidth(GLUT_BITMAP_TIMES_ROMAN_24, 1) == 6 && glutBitmapWidth(GLUT_BITMAP_TIMES_ROMAN_24, 255) == 11,
          "the first and last characters' widths in Times Roman 24");
    check(glutBitmapWidth(GLUT_BITMAP_TIMES_ROMAN_24, 256) == 0 && glutBitmapWidth(&sPassed, 'W') == 0 &&
              glutBitmapLength(&sPassed, reinterpret_cast<const unsigned char*>("W")) == 0,
          "no width for a character or font there is not");
    check(glutBitmapHeight(GLUT_BITMAP_TIMES_ROMAN_10) == 14 && glutBitmapHeight(GLUT_BITMAP_TIMES_ROMAN_24) == 29 &&
              glutBitmapHeight(GLUT_BITMAP_HELVETICA_10) == 14 && glutBitmapHeight(GLUT_BITMAP_HELVETICA_12) == 16 &&
              glutBitmapHeight(GLUT_BITMAP_HELVETICA_18) == 23,
          "the fonts' heights");
}

// "AW" drawn at a raster position lights exactly the glyphs' bits, W after A's advance
void fontPixelCases()
{
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, 0, kHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 0);
    glRasterPos2i(20, 30);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glutBitmapCharacter(GLUT_BITMAP_TIMES_ROMAN_24, 'A');
    glutBitmapCharacter(GLUT_BITMAP_TIMES_ROMAN_24, 'W');
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    check(alignment == 2, "the text leaves the rows' alignment as it found it");
    glutSwapBuffers();
    std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());

    const GlutBitmapFont& font = vxglutBitmapTimesRoman24;
    std::vector<char> expected(size_t(kWidth) * kHeight, 0);
    float x = 20;
    for (int c : {'A', 'W'}) {
        const GlutGlyph& g = font.glyphs[c];
        const int left = int(x - g.xorig), bottom = int(30 - g.yorig), rowBytes = (g.width + 7) / 8;
        for (int row = 0; row < g.height; ++row)
            for (int col = 0; col < g.width; ++col)
                if (font.bits[g.offset + size_t(row * rowBytes + col / 8)] & (0x80 >> (col % 8)))
                    expected[size_t(bottom + row) * kWidth + size_t(left + col)] = 1;
        x += g.advance;
    }
    int wrong = 0, lit = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        const unsigned char* p = &pixels[i * 4];
        const bool yellow = p[0] > 200 && p[1] > 200 && p[2] < 50;
        const bool black = p[0] < 50 && p[1] < 50 && p[2] < 50;
        lit += yellow;
        wrong += expected[i] ? !yellow : !black;
    }
    check(wrong == 0 && lit > 100, "AW in Times Roman 24: " + std::to_string(wrong) + " pixels differ of " +
                                       std::to_string(lit) + " lit");
}

// Spheres of few sides, seen along their axis and across it: the outline is the polygon their
// points make, not the circle. 40 pixels to the unit, the origin in the canvas's middle.
bool litAround(float x, float y, int reach)
{
    const int px = kWidth / 2 + int(x * 40.0f), py = kHeight / 2 + int(y * 40.0f);
    unsigned char rgba[7 * 7 * 4] = {};
    const int side = 2 * reach + 1;
    glReadPixels(px - reach, py - reach, side, side, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    for (int i = 0; i < side * side; ++i)
        if (rgba[i * 4] > 127)
            return true;
    return false;
}

void drawSphere(bool solid, float tilt, int slices, int stacks)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glRotatef(tilt, 1, 0, 0);
    if (solid)
        glutSolidSphere(0.8, slices, stacks);
    else
        glutWireSphere(0.8, slices, stacks);
    glutSwapBuffers();
}

void sphereCases()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -1, 1, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glColor3f(1, 1, 1);
    const float r = 0.8f;
    // from the pole, 4 slices and one ring: a diamond with its corners on the axes
    drawSphere(true, 0, 4, 2);
    bool diamond = true;
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f})
            diamond = diamond && litAround(sx * 0.35f * r, sy * 0.35f * r, 0) &&
                      !litAround(sx * 0.6f * r, sy * 0.6f * r, 0);
    check(diamond && !litAround(1.1f * r, 0, 0), "a solid sphere of 4 slices is a diamond seen from its pole");
    // across the axis, 3 stacks: rings at 60 and 120 degrees from the pole, the sides straight
    drawSphere(true, -90, 4, 3);
    check(litAround(0.8f * r, 0, 0) && litAround(-0.8f * r, 0, 0) && !litAround(0.6f * r, 0.75f * r, 0) &&
              !litAround(-0.6f * r, -0.75f * r, 0) && litAround(0, 0.95f * r, 0) && !litAround(0, 1.1f * r, 0) &&
              litAround(0, -0.95f * r, 0) && litAround(0.3f * r, -0.7f * r, 0),
          "a solid sphere of 3 stacks, seen across its axis");
    // the wire one: lines from the pole to the corners, and the ring round them
    drawSphere(false, 0, 4, 2);
    bool lines = true;
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f})
            lines = lines && litAround(sx * 0.5f * r, 0, 1) && litAround(0, sy * 0.5f * r, 1) &&
                    litAround(sx * 0.5f * r, sy * 0.5f * r, 1) && !litAround(sx * 0.3f * r, sy * 0.3f * r, 1);
    check(lines, "a wire sphere of 4 slices: the meridians and the ring, nothing between");
    // lit from the eye, the middle faces the light and the rim turns away from it
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    drawSphere(true, 0, 16, 16);
    unsigned char middle[4] = {}, rim[4] = {};
    glReadPixels(kWidth / 2, kHeight / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, middle);
    glReadPixels(kWidth / 2 + 29, kHeight / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rim);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    check(middle[0] > 180 && rim[0] > 20 && rim[0] + 60 < middle[0],
          "a solid sphere's normals: " + std::to_string(middle[0]) + " in the middle, " +
              std::to_string(rim[0]) + " at the rim");
    // across the axis: the rings level, the meridians bent at them, two seen edge on
    drawSphere(false, -90, 4, 3);
    check(litAround(0.4f * r, 0.5f * r, 1) && litAround(-0.4f * r, -0.5f * r, 1) && litAround(0.866f * r, 0, 1) &&
              litAround(0, 0, 1) && litAround(0.433f * r, -0.75f * r, 1) &&
              litAround(-0.433f * r, 0.75f * r, 1) && !litAround(0.433f * r, 0.25f * r, 1) &&
              !litAround(0.4f * r, 0, 1),
          "a wire sphere of 3 stacks, seen across its axis");
}

}  // namespace

int main()
{
    argumentsCases();
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kWidth, kHeight);
    glutCreateWindow("glut cases");
    EM_ASM({
        var canvas = document.querySelector('#canvas');
        canvas.style.width = (2 * canvas.width) + 'px';
        canvas.style.height = (2 * canvas.height) + 'px';
    });
    check(glutGet(GLUT_WINDOW_WIDTH) == kWidth && glutGet(GLUT_WINDOW_HEIGHT) == kHeight,
          "the canvas is the window's size");
    listen();
    // the window's first state, as a window shown
    glutWindowStatusFunc([](int state) { note("status %d", state); });
    check(seen() == "status 1", "the page shown is the window fully retained");
    keyTableCases();
    keyEventCases();
    mouseCases();
    menuCases();
    fontMeasureCases();
    fontPixelCases();
    sphereCases();
    std::printf("glut cases: %d passed, %d failed\n", sPassed, sFailed);
    EM_ASM(document.title = 'glut cases: done');
    return 0;
}
