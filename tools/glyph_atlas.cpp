// SPDX-License-Identifier: MIT
// tools: vendettix-glyphs FILE writes the browser build's bitmap fonts (a C++ source for
// platform_webgl) from the desktop toolkit's own. Each character is drawn through freeglut as
// the game draws it; the glBitmap call it makes lands here, not in GL, and its arguments and
// rows are kept. freeglut needs an X display for glutInit (no window is opened).
#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

struct Glyph {
    int width = 0, height = 0;
    float xorig = 0, yorig = 0, advance = 0;
    std::vector<unsigned char> rows;  // bottom row first, (width + 7) / 8 bytes each
};

struct Font {
    const char* symbol;  // the browser build's record
    const char* name;
    void* font;
};

// the fonts the game draws with
const Font kFonts[] = {
    {"vxglutBitmapTimesRoman10", "Times Roman 10", GLUT_BITMAP_TIMES_ROMAN_10},
    {"vxglutBitmapTimesRoman24", "Times Roman 24", GLUT_BITMAP_TIMES_ROMAN_24},
    {"vxglutBitmapHelvetica10", "Helvetica 10", GLUT_BITMAP_HELVETICA_10},
    {"vxglutBitmapHelvetica12", "Helvetica 12", GLUT_BITMAP_HELVETICA_12},
    {"vxglutBitmapHelvetica18", "Helvetica 18", GLUT_BITMAP_HELVETICA_18},
};

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "vendettix-glyphs: %s\n", message.c_str());
    std::exit(1);
}

// what freeglut's drawing of one character did
int sCalls = 0;
int sAlignment = 4;
bool sUnusualStore = false;
Glyph sCaught;

}  // namespace

extern "C" void glPixelStorei(GLenum name, GLint value)
{
    if (name == GL_UNPACK_ALIGNMENT)
        sAlignment = value;
    else if ((name == GL_UNPACK_ROW_LENGTH || name == GL_UNPACK_SKIP_ROWS ||
              name == GL_UNPACK_SKIP_PIXELS || name == GL_UNPACK_LSB_FIRST) && value != 0)
        sUnusualStore = true;
}

extern "C" void glPushClientAttrib(GLbitfield) {}
extern "C" void glPopClientAttrib(void) {}

extern "C" void glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig,
                         GLfloat xmove, GLfloat ymove, const GLubyte* bitmap)
{
    ++sCalls;
    if (ymove != 0.0f || sUnusualStore || width < 0 || height < 0 || sAlignment < 1)
        fail("freeglut drew a character in a way this tool does not know");
    sCaught = Glyph{width, height, xorig, yorig, xmove, {}};
    const size_t tight = size_t(width + 7) / 8;
    const size_t stride = (tight + size_t(sAlignment) - 1) / size_t(sAlignment) * size_t(sAlignment);
    for (int row = 0; row < height && tight > 0; ++row)
        sCaught.rows.insert(sCaught.rows.end(), bitmap + size_t(row) * stride,
                            bitmap + size_t(row) * stride + tight);
}

namespace {

Glyph readGlyph(const Font& font, int character)
{
    if (character == 0)
        return Glyph{};  // freeglut draws nothing for it
    sCalls = 0;
    glutBitmapCharacter(font.font, character);
    const std::string what = std::string(font.name) + " character " + std::to_string(character);
    if (sCalls != 1)
        fail(what + ": glBitmap was called " + std::to_string(sCalls) + " times, not once");
    // the public measures agree with what was drawn, or the drawing was misread
    if (sCaught.width != glutBitmapWidth(font.font, character) ||
        sCaught.advance != float(sCaught.width) ||
        sCaught.height != glutBitmapHeight(font.font))
        fail(what + ": its bitmap (" + std::to_string(sCaught.width) + "x" +
             std::to_string(sCaught.height) + ") disagrees with glutBitmapWidth " +
             std::to_string(glutBitmapWidth(font.font, character)) + " and glutBitmapHeight " +
             std::to_string(glutBitmapHeight(font.font)));
    return sCaught;
}

std::string number(float value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e6f)
        return std::to_string(int(value)) + ".0f";
    char text[32];
    std::snprintf(text, sizeof text, "%.9gf", double(value));
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vendettix-glyphs FILE\n");
        return 2;
    }
    const std::string path = argv[1];
    int glutArgc = 1;
    char* glutArgv[] = {argv[0], nullptr};
    glutInit(&glutArgc, glutArgv);

    // the atlas holds each distinct bitmap once
    std::vector<unsigned char> atlas;
    std::map<std::vector<unsigned char>, size_t> placed;
    std::string tables;
    std::string records;
    for (const Font& font : kFonts) {
        tables += "\n// " + std::string(font.name) + ": width, height, xorig, yorig, advance\n";
        tables += "const GlutGlyph k" + std::string(font.symbol + 12) + "[256] = {\n";
        for (int c = 0; c < 256; ++c) {
            const Glyph glyph = readGlyph(font, c);
            auto [at, added] = placed.try_emplace(glyph.rows, atlas.size());
            if (added)
                atlas.insert(atlas.end(), glyph.rows.begin(), glyph.rows.end());
            tables += "    {" + std::to_string(at->second) + ", " + std::to_string(glyph.width) +
                      ", " + std::to_string(glyph.height) + ", " + number(glyph.xorig) + ", " +
                      number(glyph.yorig) + ", " + number(glyph.advance) + "},  // " +
                      std::to_string(c) + "\n";
        }
        tables += "};\n";
        records += "extern \"C\" const GlutBitmapFont " + std::string(font.symbol) + " = {\"" +
                   font.name + "\", " + std::to_string(glutBitmapHeight(font.font)) + ", k" +
                   std::string(font.symbol + 12) + ", kAtlas};\n";
    }

    std::string out =
        "// SPDX-License-Identifier: MIT\n"
        "// Written by vendettix-glyphs from the desktop toolkit's bitmap fonts; not to be edited.\n"
        "#include \"glut_font.h\"\n\nnamespace {\n\n"
        "// every glyph's rows, bottom row first, each distinct bitmap once\n"
        "const uint8_t kAtlas[" + std::to_string(atlas.empty() ? 1 : atlas.size()) + "] = {";
    for (size_t i = 0; i < atlas.size(); ++i) {
        char byte[16];
        std::snprintf(byte, sizeof byte, "%s0x%02x,", i % 16 == 0 ? "\n    " : " ", atlas[i]);
        out += byte;
    }
    out += "\n};\n" + tables + "\n}  // namespace\n\n" + records;

    glutExit();

    // written whole or not at all
    const std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        fail("cannot write " + temporary);
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        fail("cannot write " + path);
    }
    return 0;
}
