// SPDX-License-Identifier: MIT
// assetgen: the game's icon, the house at night with paper hanging from its roof and a roll in
// the air; drawn from shapes, so every size is sharp. PNGs for the desktop, and a PAM the game
// reads at run time for its window's own icon.
#include <png.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "tools/assetgen/assetgen.h"

namespace {

struct Rgba {
    float r, g, b, a;
};

bool inBox(float u, float v, float u0, float v0, float u1, float v1)
{
    return u >= u0 && u <= u1 && v >= v0 && v <= v1;
}

bool inCircle(float u, float v, float cu, float cv, float radius)
{
    return (u - cu) * (u - cu) + (v - cv) * (v - cv) <= radius * radius;
}

// the tile's rounded corners are left transparent
bool inTile(float u, float v)
{
    const float corner = 0.18f;
    float du = std::fmax(std::fabs(u - 0.5f) - (0.5f - corner), 0.0f);
    float dv = std::fmax(std::fabs(v - 0.5f) - (0.5f - corner), 0.0f);
    return du * du + dv * dv <= corner * corner;
}

// a paper strip hanging from its top along a slow wave
bool inStrip(float u, float v, float centre, float top, float bottom, float phase)
{
    if (v < top || v > bottom)
        return false;
    float wave = centre + 0.035f * std::sin(v * 19.0f + phase);
    return std::fabs(u - wave) <= 0.028f;
}

// u rightwards, v downwards, both 0..1 over the tile
Rgba iconColour(float u, float v)
{
    if (!inTile(u, v))
        return {0, 0, 0, 0};
    const Rgba paper{0.96f, 0.96f, 0.93f, 1};
    if (inStrip(u, v, 0.38f, 0.33f, 0.80f, 0.0f) || inStrip(u, v, 0.66f, 0.37f, 0.70f, 1.3f))
        return paper;
    if (inCircle(u, v, 0.2f, 0.2f, 0.025f))
        return {0.45f, 0.42f, 0.38f, 1};
    if (inCircle(u, v, 0.2f, 0.2f, 0.075f))
        return paper;
    if (inBox(u, v, 0.30f, 0.56f, 0.42f, 0.68f) || inBox(u, v, 0.58f, 0.56f, 0.70f, 0.68f))
        return {0.98f, 0.82f, 0.35f, 1};  // lit windows: Grelda is home
    if (inBox(u, v, 0.46f, 0.66f, 0.54f, 0.84f))
        return {0.30f, 0.18f, 0.10f, 1};
    if (inBox(u, v, 0.22f, 0.48f, 0.78f, 0.84f))
        return {0.60f, 0.53f, 0.45f, 1};
    float roofHalfWidth = 0.34f * (v - 0.26f) / 0.22f;
    if (v >= 0.26f && v <= 0.48f && std::fabs(u - 0.5f) <= roofHalfWidth)
        return {0.30f, 0.16f, 0.15f, 1};
    if (v > 0.82f)
        return {0.08f, 0.22f, 0.10f, 1};
    if (inCircle(u, v, 0.77f, 0.2f, 0.09f))
        return {0.94f, 0.92f, 0.78f, 1};
    return {0.04f + 0.08f * v, 0.06f + 0.10f * v, 0.18f + 0.18f * v, 1};
}

// the colour is averaged over the covered samples only, so edges against the transparent
// corners do not darken
std::vector<uint8_t> drawIcon(uint32_t side)
{
    const int samples = 4;
    std::vector<uint8_t> rgba(size_t(side) * side * 4, 0);
    for (uint32_t y = 0; y < side; ++y)
        for (uint32_t x = 0; x < side; ++x) {
            Rgba sum{0, 0, 0, 0};
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) {
                    float u = (x + (sx + 0.5f) / samples) / side;
                    float v = (y + (sy + 0.5f) / samples) / side;
                    Rgba c = iconColour(u, v);
                    sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
                }
            uint8_t* p = &rgba[(size_t(y) * side + x) * 4];
            if (sum.a > 0) {
                p[0] = uint8_t(std::lround(255 * sum.r / sum.a));
                p[1] = uint8_t(std::lround(255 * sum.g / sum.a));
                p[2] = uint8_t(std::lround(255 * sum.b / sum.a));
            }
            p[3] = uint8_t(std::lround(255 * sum.a / (samples * samples)));
        }
    return rgba;
}

}  // namespace

std::vector<uint8_t> makeIconPam(uint32_t side)
{
    std::string header = "P7\nWIDTH " + std::to_string(side) + "\nHEIGHT " + std::to_string(side) +
                         "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    std::vector<uint8_t> rgba = drawIcon(side);
    out.insert(out.end(), rgba.begin(), rgba.end());
    return out;
}

bool saveIconPng(const std::string& path, uint32_t side)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> rgba = drawIcon(side);
    bool ok = png && info && setjmp(png_jmpbuf(png)) == 0;
    if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, side, side, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (uint32_t y = 0; y < side; ++y)
            png_write_row(png, &rgba[size_t(y) * side * 4]);
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}
