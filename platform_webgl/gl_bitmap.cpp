// SPDX-License-Identifier: MIT
// The raster position and glBitmap. Each distinct bitmap (its memory, size and bytes) is put
// once into an atlas texture; a bitmap drawn is a quad over its pixels in the raster colour,
// gathered with the bitmaps before and after it into one draw.
#include <webgl/webgl1.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <tuple>

#include "gl_context.h"

namespace vxgl {
namespace {

constexpr int kAtlasSize = 512;

struct Glyph {
    int x, y;  // in the atlas
    std::vector<uint8_t> bytes;
};

struct Atlas {
    GLuint texture = 0;
    int shelfX = 0, shelfY = 0, shelfHeight = 0;
    std::map<std::tuple<const GLubyte*, int, int>, Glyph> glyphs;
};

Atlas& atlas()
{
    static Atlas a;
    return a;
}

size_t bitmapBytes(int width, int height)
{
    const size_t align = size_t(ctx().client.unpackAlignment);
    const size_t row = (size_t(width) + 7) / 8;
    return (row + align - 1) / align * align * size_t(height);
}

// a place for a width x height block, on the current shelf or a new one; false when full
bool place(int width, int height, int& x, int& y)
{
    Atlas& a = atlas();
    if (a.shelfX + width > kAtlasSize) {
        a.shelfY += a.shelfHeight + 1;
        a.shelfX = 0;
        a.shelfHeight = 0;
    }
    if (a.shelfY + height > kAtlasSize || width > kAtlasSize)
        return false;
    x = a.shelfX;
    y = a.shelfY;
    a.shelfX += width + 1;
    a.shelfHeight = std::max(a.shelfHeight, height);
    return true;
}

// the bitmap's place in the atlas, putting it there if it is new or its bytes changed
const Glyph* glyphFor(int width, int height, const GLubyte* bitmap)
{
    Atlas& a = atlas();
    const size_t size = bitmapBytes(width, height);
    const auto key = std::make_tuple(bitmap, width, height);
    auto found = a.glyphs.find(key);
    if (found != a.glyphs.end() && found->second.bytes.size() == size &&
        std::memcmp(found->second.bytes.data(), bitmap, size) == 0)
        return &found->second;
    int x = 0, y = 0;
    if (!place(width, height, x, y)) {
        // full: what is gathered still reads the old places, then the atlas starts again
        flushBatch();
        a.glyphs.clear();
        a.shelfX = a.shelfY = a.shelfHeight = 0;
        if (!place(width, height, x, y))
            return nullptr;
    }
    Glyph& g = a.glyphs[key];
    g = Glyph{x, y, std::vector<uint8_t>(bitmap, bitmap + size)};
    // one byte a pixel, rows bottom first as the bitmap's, its first bit leftmost
    const size_t rowBytes = size / size_t(height);
    std::vector<uint8_t> pixels(size_t(width) * size_t(height));
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            const uint8_t byte = bitmap[size_t(row) * rowBytes + size_t(col / 8)];
            pixels[size_t(row) * size_t(width) + size_t(col)] =
                (byte >> (7 - col % 8)) & 1 ? 255 : 0;
        }
    bindWebglTexture(a.texture);
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    emscripten_glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_ALPHA, GL_UNSIGNED_BYTE,
                               pixels.data());
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, ctx().client.unpackAlignment);
    return &g;
}

void rasterPos(float x, float y, float z)
{
    Context& c = ctx();
    State::Current& cur = c.state.current;
    const float in[3] = {x, y, z};
    float eye[4], clip[4];
    transformPoint(c.modelview.back(), in, eye);
    for (int row = 0; row < 4; ++row) {
        const Mat4& p = c.projection.back();
        clip[row] =
            p[row] * eye[0] + p[4 + row] * eye[1] + p[8 + row] * eye[2] + p[12 + row] * eye[3];
    }
    const float w = clip[3];
    cur.rasterValid =
        w > 0 && std::fabs(clip[0]) <= w && std::fabs(clip[1]) <= w && std::fabs(clip[2]) <= w;
    if (!cur.rasterValid)
        return;
    const GLint* box = c.state.viewport.box;
    cur.rasterPos[0] = float(box[0]) + (clip[0] / w + 1) * float(box[2]) / 2;
    cur.rasterPos[1] = float(box[1]) + (clip[1] / w + 1) * float(box[3]) / 2;
    cur.rasterPos[2] = (clip[2] / w + 1) / 2;
    cur.rasterPos[3] = w;
    std::memcpy(cur.rasterColour, cur.colour, sizeof cur.rasterColour);
}

void bitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
            GLfloat ymove, const GLubyte* bits)
{
    Context& c = ctx();
    State::Current& cur = c.state.current;
    if (!cur.rasterValid)
        return;
    const Glyph* g = width > 0 && height > 0 && bits ? glyphFor(width, height, bits) : nullptr;
    if (g) {
        const GLint* box = c.state.viewport.box;
        const float left = std::floor(cur.rasterPos[0] - xorig);
        const float bottom = std::floor(cur.rasterPos[1] - yorig);
        auto ndcX = [&](float x) { return 2 * (x - float(box[0])) / float(box[2]) - 1; };
        auto ndcY = [&](float y) { return 2 * (y - float(box[1])) / float(box[3]) - 1; };
        const float x0 = ndcX(left), x1 = ndcX(left + float(width));
        const float y0 = ndcY(bottom), y1 = ndcY(bottom + float(height));
        const float z = 2 * cur.rasterPos[2] - 1;
        const float s0 = float(g->x) / kAtlasSize, s1 = float(g->x + width) / kAtlasSize;
        const float t0 = float(g->y) / kAtlasSize, t1 = float(g->y + height) / kAtlasSize;
        Vertex corner[4];
        const float xy[4][4] = {
            {x0, y0, s0, t0}, {x1, y0, s1, t0}, {x1, y1, s1, t1}, {x0, y1, s0, t1}};
        for (int k = 0; k < 4; ++k) {
            corner[k] = Vertex{{xy[k][0], xy[k][1], z}, {0, 0, 1}, {}, {xy[k][2], xy[k][3]}};
            std::memcpy(corner[k].colour, cur.rasterColour, sizeof corner[k].colour);
        }
        const Vertex quad[6] = {corner[0], corner[1], corner[2], corner[0], corner[2], corner[3]};
        batchAppend(Kind::Bitmaps, quad, 6);
    }
    cur.rasterPos[0] += xmove;
    cur.rasterPos[1] += ymove;
}

}  // namespace

GLuint atlasTexture() { return atlas().texture; }

void initBitmaps()
{
    Atlas& a = atlas();
    a = Atlas{};
    emscripten_glGenTextures(1, &a.texture);
    bindWebglTexture(a.texture);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, kAtlasSize, kAtlasSize, 0, GL_ALPHA,
                            GL_UNSIGNED_BYTE, nullptr);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

}  // namespace vxgl

using namespace vxgl;

extern "C" {

void glRasterPos3f(GLfloat x, GLfloat y, GLfloat z)
{
    if (!recordCall([=] { rasterPos(x, y, z); }))
        rasterPos(x, y, z);
}

void glRasterPos2f(GLfloat x, GLfloat y) { glRasterPos3f(x, y, 0); }
void glRasterPos2i(GLint x, GLint y) { glRasterPos3f(float(x), float(y), 0); }

void glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
              GLfloat ymove, const GLubyte* bits)
{
    if (width < 0 || height < 0)
        return setError(GL_INVALID_VALUE);
    if (compiling()) {
        // the list keeps its own copy of the bytes
        auto copy = std::make_shared<std::vector<GLubyte>>();
        if (bits && width > 0 && height > 0)
            copy->assign(bits, bits + bitmapBytes(width, height));
        const bool only = recordCall([=] {
            bitmap(width, height, xorig, yorig, xmove, ymove,
                   copy->empty() ? nullptr : copy->data());
        });
        if (only)
            return;
    }
    bitmap(width, height, xorig, yorig, xmove, ymove, bits);
}

}  // extern "C"
