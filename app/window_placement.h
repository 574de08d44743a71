// SPDX-License-Identifier: MIT
// app: where the window opens, fitted to the screen.
#pragma once

struct WindowPlacement {
    int x, y;
    int width, height;
};

// the wanted place and size, shrunk and moved as little as needed to lie wholly on a screen of
// the given size; a screen whose size is unknown (0 or less) changes nothing
WindowPlacement fitWindowToScreen(WindowPlacement wanted, int screenWidth, int screenHeight);
