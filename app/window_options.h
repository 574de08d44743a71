// SPDX-License-Identifier: MIT
// app: the window the command line asks for; the defaults are the game's own window.
#pragma once

constexpr int kDefaultWindowSize = 600;
constexpr int kDefaultWindowPosition = 100;

struct WindowOptions {
    int width = kDefaultWindowSize;
    int height = kDefaultWindowSize;
    int x = kDefaultWindowPosition;
    int y = kDefaultWindowPosition;
    bool fullscreen = false;
};
