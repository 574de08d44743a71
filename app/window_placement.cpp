// SPDX-License-Identifier: MIT
// app: where the window opens, fitted to the screen, and F11's switch.
#include "app/window_placement.h"

#include <algorithm>

namespace {

// one axis: the size shrinks to the screen, then the start moves back until the end is on it
void fitSpan(int& start, int& size, int screen)
{
    if (screen <= 0)
        return;
    size = std::min(size, screen);
    start = std::max(0, std::min(start, screen - size));
}

}  // namespace

WindowPlacement fitWindowToScreen(WindowPlacement wanted, int screenWidth, int screenHeight)
{
    fitSpan(wanted.x, wanted.width, screenWidth);
    fitSpan(wanted.y, wanted.height, screenHeight);
    return wanted;
}

WindowMode openingWindowMode(const WindowOptions& options, int screenWidth, int screenHeight)
{
    const WindowPlacement wanted{options.x, options.y, options.width, options.height};
    return WindowMode{options.fullscreen, fitWindowToScreen(wanted, screenWidth, screenHeight)};
}

WindowPlacement createdWindow(const WindowMode& mode)
{
    if (!mode.fullScreen)
        return mode.window;
    return WindowPlacement{0, 0, mode.window.width, mode.window.height};
}

WindowMode toggledWindowMode(const WindowMode& mode, const WindowPlacement& current)
{
    if (mode.fullScreen)
        return WindowMode{false, mode.window};
    return WindowMode{true, current};
}
