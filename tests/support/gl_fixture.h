// SPDX-License-Identifier: MIT
// tests: an in-process GL context for rendering tests. Run the test binary through
// tests/support/with-xvfb (CTest does), which provides the display.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// opens (once per process) a double-buffered RGB + depth window of the given size and makes its
// context current; later calls resize it
void glTestWindow(int width = 600, int height = 600);

struct Pixels {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // bottom row first, as glReadPixels returns
    const uint8_t* at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

// reads the back buffer (what was drawn since the last clear)
Pixels glReadBack();
// writes a PNG next to the test for a person to look at (via ImageMagick); returns the path
std::string savePng(const Pixels& pixels, const std::string& name);
