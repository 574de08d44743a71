// SPDX-License-Identifier: MIT
// app: the window the command line asks for; the defaults are the game's own window.
#pragma once

constexpr int kDefaultWindowSize = 600;
constexpr int kDefaultWindowPosition = 100;
// below this the HUD's texts cannot all be read, in either font
constexpr long kSmallestWindowWidth = 160;
constexpr long kSmallestWindowHeight = 120;
// larger than any screen; a typo such as 6000x6000 still passes, a wrapped number does not
constexpr long kLargestWindowSide = 16384;

struct WindowOptions {
    int width = kDefaultWindowSize;
    int height = kDefaultWindowSize;
    int x = kDefaultWindowPosition;
    int y = kDefaultWindowPosition;
    bool fullscreen = false;
};
