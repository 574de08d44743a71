// SPDX-License-Identifier: MIT
// The bitmap fonts' records. Their data (glut_fonts.cpp) is written by the native build's
// vendettix-glyphs from the desktop toolkit's own fonts, so each glyph is the same bitmap that
// the desktop hands to glBitmap.
#ifndef VX_WEBGL_GLUT_FONT_H
#define VX_WEBGL_GLUT_FONT_H

#include <cstdint>

// glBitmap's arguments for one character; its rows start at bits + offset, bottom row first,
// (width + 7) / 8 bytes each, the leftmost pixel in the top bit
struct GlutGlyph {
    uint32_t offset;
    uint8_t width, height;
    float xorig, yorig;
    float advance;
};

struct GlutBitmapFont {
    const char* name;  // the desktop font it was read from
    int height;        // glutBitmapHeight
    const GlutGlyph* glyphs;  // characters 0 to 255
    const uint8_t* bits;      // the glyph atlas: every glyph's rows, one after another
};

#endif
