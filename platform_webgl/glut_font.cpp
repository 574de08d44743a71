// SPDX-License-Identifier: MIT
// Bitmap text: each character is drawn through glBitmap from the current raster position,
// which moves on by the character's advance.
#include <cstdio>

#include "glut_font.h"
#include "glut_internal.h"

namespace {

const GlutBitmapFont* const kFonts[] = {&vxglutBitmapTimesRoman10, &vxglutBitmapTimesRoman24,
                                       &vxglutBitmapHelvetica10, &vxglutBitmapHelvetica12,
                                       &vxglutBitmapHelvetica18};

const GlutBitmapFont* fontOf(void* font, const char* call)
{
    for (const GlutBitmapFont* known : kFonts)
        if (font == known)
            return known;
    std::fprintf(stderr, "freeglut: %s: bitmap font %p not found\n", call, font);
    return nullptr;
}

}  // namespace

void glutBitmapCharacter(void* font, int character)
{
    const GlutBitmapFont* f = fontOf(font, "glutBitmapCharacter");
    if (!f || character < 1 || character > 255)
        return;
    const GlutGlyph& glyph = f->glyphs[character];
    // the rows are packed tightly
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBitmap(glyph.width, glyph.height, glyph.xorig, glyph.yorig, glyph.advance, 0.0f,
             f->bits + glyph.offset);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

int glutBitmapWidth(void* font, int character)
{
    const GlutBitmapFont* f = fontOf(font, "glutBitmapWidth");
    if (!f || character < 1 || character > 255)
        return 0;
    return int(f->glyphs[character].advance);
}

// the widest line's width: a newline starts a line
int glutBitmapLength(void* font, const unsigned char* text)
{
    const GlutBitmapFont* f = fontOf(font, "glutBitmapLength");
    if (!f || !text)
        return 0;
    int longest = 0, line = 0;
    for (; *text; ++text) {
        if (*text == '\n') {
            longest = line > longest ? line : longest;
            line = 0;
        } else {
            line += int(f->glyphs[*text].advance);
        }
    }
    return line > longest ? line : longest;
}

int glutBitmapHeight(void* font)
{
    const GlutBitmapFont* f = fontOf(font, "glutBitmapHeight");
    return f ? f->height : 0;
}
