// SPDX-License-Identifier: MIT
// The browser build's bitmap fonts, as vendettix-glyphs wrote them, against the desktop toolkit
// they were read from: every character's measures, and its pixels drawn at a raster position.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <string>
#include <vector>

#include "platform_webgl/glut_font.h"
#include "tests/support/gl_fixture.h"

extern "C" const GlutBitmapFont vxglutBitmapTimesRoman10, vxglutBitmapTimesRoman24,
    vxglutBitmapHelvetica10, vxglutBitmapHelvetica12, vxglutBitmapHelvetica18;

namespace {

struct FontPair {
    const GlutBitmapFont* web;
    void* desktop;
};

const FontPair kFonts[] = {
    {&vxglutBitmapTimesRoman10, GLUT_BITMAP_TIMES_ROMAN_10},
    {&vxglutBitmapTimesRoman24, GLUT_BITMAP_TIMES_ROMAN_24},
    {&vxglutBitmapHelvetica10, GLUT_BITMAP_HELVETICA_10},
    {&vxglutBitmapHelvetica12, GLUT_BITMAP_HELVETICA_12},
    {&vxglutBitmapHelvetica18, GLUT_BITMAP_HELVETICA_18},
};

constexpr int kWidth = 640, kHeight = 480;

TEST(GlyphAtlas, EveryCharacterMeasuresAsOnTheDesktop)
{
    glTestWindow(kWidth, kHeight);
    for (const FontPair& font : kFonts) {
        EXPECT_EQ(font.web->height, glutBitmapHeight(font.desktop)) << font.web->name;
        for (int c = 1; c < 256; ++c) {
            const GlutGlyph& glyph = font.web->glyphs[c];
            EXPECT_EQ(int(glyph.advance), glutBitmapWidth(font.desktop, c)) << font.web->name << " " << c;
            EXPECT_EQ(glyph.width, glutBitmapWidth(font.desktop, c)) << font.web->name << " " << c;
            EXPECT_EQ(glyph.height, font.web->height) << font.web->name << " " << c;
        }
    }
}

// every character of each font drawn by the desktop's glutBitmapCharacter, in rows, and the
// same places filled from the generated glyphs' rows
TEST(GlyphAtlas, EveryCharacterDrawsTheDesktopsPixels)
{
    glTestWindow(kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, 0, kHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    for (const FontPair& font : kFonts) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        std::vector<char> expected(size_t(kWidth) * kHeight, 0);
        int x = 10, y = kHeight - 40;
        for (int c = 1; c < 256; ++c) {
            const GlutGlyph& glyph = font.web->glyphs[c];
            if (x + glyph.width + 10 > kWidth) {
                x = 10;
                y -= font.web->height + 4;
            }
            ASSERT_GT(y, 20) << font.web->name;
            glRasterPos2i(x, y);
            glutBitmapCharacter(font.desktop, c);
            const int left = x - int(glyph.xorig), bottom = y - int(glyph.yorig);
            const int rowBytes = (glyph.width + 7) / 8;
            for (int row = 0; row < glyph.height; ++row)
                for (int col = 0; col < glyph.width; ++col)
                    if (font.web->bits[glyph.offset + size_t(row * rowBytes + col / 8)] & (0x80 >> (col % 8)))
                        expected[size_t(bottom + row) * kWidth + size_t(left + col)] = 1;
            x += int(glyph.advance) + 2;
        }
        const Pixels drawn = glReadBack();
        ASSERT_EQ(drawn.width, kWidth);
        ASSERT_EQ(drawn.height, kHeight);
        int wrong = 0, lit = 0;
        for (int py = 0; py < kHeight; ++py)
            for (int px = 0; px < kWidth; ++px) {
                const bool on = drawn.at(px, py)[0] > 127;
                lit += on;
                if (on != bool(expected[size_t(py) * kWidth + size_t(px)]) && wrong++ == 0)
                    ADD_FAILURE() << font.web->name << ": first differing pixel at " << px << "," << py;
            }
        EXPECT_EQ(wrong, 0) << font.web->name;
        EXPECT_GT(lit, 1000) << font.web->name;
    }
}

}  // namespace
