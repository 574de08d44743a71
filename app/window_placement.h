// SPDX-License-Identifier: MIT
// app: where the window opens, fitted to the screen, and F11's switch between the whole screen
// and that window.
#pragma once

#include "app/window_options.h"

struct WindowPlacement {
    int x, y;
    int width, height;
};

// the wanted place and size, shrunk and moved as little as needed to lie wholly on a screen of
// the given size; a screen whose size is unknown (0 or less) changes nothing
WindowPlacement fitWindowToScreen(WindowPlacement wanted, int screenWidth, int screenHeight);

// the full screen, or the window; the window is the one F11 returns to from the full screen
struct WindowMode {
    bool fullScreen;
    WindowPlacement window;
};

// the mode the options open in on a screen of that size: the window they ask for, fitted, even
// when the game starts on the full screen
WindowMode openingWindowMode(const WindowOptions& options, int screenWidth, int screenHeight);
// where the toolkit's window is created for that mode: without a window manager the full screen
// keeps the window's offset, so it opens at the corner
WindowPlacement createdWindow(const WindowMode& mode);
// F11: from a window to the full screen, remembering the window as it now is (`current`, the
// player may have moved or resized it); from the full screen back to the remembered window
WindowMode toggledWindowMode(const WindowMode& mode, const WindowPlacement& current);
