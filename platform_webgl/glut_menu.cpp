// SPDX-License-Identifier: MIT
// Pop-up menus: their entries are kept here and shown by the page (Module.vxShowMenu), which
// answers with the entry chosen (vxglutMenuChoose). A press of the button a menu is attached to
// opens it, as does the page's own menu button (vxglutMenuOpen).
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "glut_internal.h"

namespace {

struct Entry {
    std::string label;
    int value;
};

struct Menu {
    void (*callback)(int);
    std::vector<Entry> entries;
};

std::vector<Menu> sMenus;  // menu n is sMenus[n - 1]
int sCurrent = 0;
int sAttached[3] = {0, 0, 0};
int sOpen = 0;
int sOpenX = 0, sOpenY = 0;

// the entries as the page reads them: [{"label":"...","value":N},...]
std::string entriesJson(const Menu& menu)
{
    std::string json = "[";
    for (const Entry& entry : menu.entries) {
        if (json.size() > 1)
            json += ',';
        json += "{\"label\":\"";
        for (unsigned char c : entry.label) {
            if (c == '"' || c == '\\') {
                json += '\\';
                json += char(c);
            } else if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                json += escaped;
            } else {
                json += char(c);
            }
        }
        json += "\",\"value\":" + std::to_string(entry.value) + "}";
    }
    return json + "]";
}

// x and y in the canvas's pixels; the page gets the point in its own
EM_JS(int, showMenu, (const char* json, int x, int y, int menu), {
    if (typeof Module.vxShowMenu !== 'function')
        return 0;
    var canvas = document.querySelector('#canvas');
    var box = canvas.getBoundingClientRect();
    var px = box.left + (canvas.width > 0 ? x * box.width / canvas.width : 0);
    var py = box.top + (canvas.height > 0 ? y * box.height / canvas.height : 0);
    Module.vxShowMenu(UTF8ToString(json), px, py, menu);
    return 1;
});

Menu* current(const char* call)
{
    if (sCurrent == 0) {
        std::fprintf(stderr, "freeglut: ERROR:  Function <%s> called with no current menu defined.\n", call);
        std::exit(1);
    }
    if (sOpen) {
        std::fprintf(stderr, "freeglut: Menu manipulation not allowed while menus in use.\n");
        std::exit(1);
    }
    return &sMenus[size_t(sCurrent - 1)];
}

}  // namespace

namespace glut {

int attachedMenu(int button)
{
    return button >= 0 && button < 3 ? sAttached[button] : 0;
}

bool menuOpen() { return sOpen != 0; }

void openMenu(int menu, int x, int y)
{
    if (sOpen || menu < 1 || menu > int(sMenus.size()))
        return;
    if (!showMenu(entriesJson(sMenus[size_t(menu - 1)]).c_str(), x, y, menu))
        return;
    sOpen = menu;
    sOpenX = x;
    sOpenY = y;
    if (gCallbacks.menuStatus)
        gCallbacks.menuStatus(GLUT_MENU_IN_USE, x, y);
}

void closeMenu()
{
    if (!sOpen)
        return;
    sOpen = 0;
    if (gCallbacks.menuStatus)
        gCallbacks.menuStatus(GLUT_MENU_NOT_IN_USE, sOpenX, sOpenY);
}

}  // namespace glut

// The page's answer: the entry with this value of this menu was chosen. Menu 0 (or a value no
// entry has) closes the menu with no choice. The menu closes before its callback runs, so the
// callback may change it.
extern "C" EMSCRIPTEN_KEEPALIVE void vxglutMenuChoose(int menu, int value)
{
    if (!sOpen || (menu != 0 && menu != sOpen))
        return;
    bool chosen = false;
    if (menu != 0)
        for (const Entry& entry : sMenus[size_t(menu - 1)].entries)
            chosen = chosen || entry.value == value;
    glut::closeMenu();
    if (!chosen)
        return;
    const int previous = sCurrent;
    sCurrent = menu;
    sMenus[size_t(menu - 1)].callback(value);
    sCurrent = previous;
}

// the page's menu button: the menu of the middle button, where the pointer is
extern "C" EMSCRIPTEN_KEEPALIVE void vxglutMenuOpen(int x, int y)
{
    glut::openMenu(sAttached[GLUT_MIDDLE_BUTTON], x, y);
}

int glutCreateMenu(void (*callback)(int))
{
    sMenus.push_back(Menu{callback, {}});
    sCurrent = int(sMenus.size());
    return sCurrent;
}

int glutGetMenu(void) { return sCurrent; }

void glutSetMenu(int menu)
{
    if (menu >= 1 && menu <= int(sMenus.size()))
        sCurrent = menu;
}

void glutAddMenuEntry(const char* label, int value)
{
    current("glutAddMenuEntry")->entries.push_back(Entry{label, value});
}

// items count from 1
void glutChangeToMenuEntry(int item, const char* label, int value)
{
    Menu* menu = current("glutChangeToMenuEntry");
    if (item >= 1 && item <= int(menu->entries.size()))
        menu->entries[size_t(item - 1)] = Entry{label, value};
}

void glutRemoveMenuItem(int item)
{
    Menu* menu = current("glutRemoveMenuItem");
    if (item >= 1 && item <= int(menu->entries.size()))
        menu->entries.erase(menu->entries.begin() + (item - 1));
}

void glutAttachMenu(int button)
{
    current("glutAttachMenu");
    if (button >= 0 && button < 3)
        sAttached[button] = sCurrent;
}
