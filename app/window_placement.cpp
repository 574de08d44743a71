// SPDX-License-Identifier: MIT
// app: where the window opens, fitted to the screen.
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
