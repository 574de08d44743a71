// SPDX-License-Identifier: MIT
// assetgen: the game's icon, the house at night with paper hanging from its roof and a roll in
// the air; drawn from shapes, so every size is sharp. PNGs for the desktop, and a PAM the game
// reads at run time for its window's own icon; and the same shapes as an SVG for any other size.
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/assetgen/assetgen.h"

namespace {

struct Rgba {
    float r, g, b, a;
};

struct Box {
    float u0, v0, u1, v1;
};

struct Circle {
    float u, v, radius;
};

// a paper strip hanging from its top along a slow wave
struct Strip {
    float centre, top, bottom, phase;
};

// the picture, u rightwards and v downwards, both 0..1 over the tile; the raster icons and the
// scalable one are drawn from these same shapes
const float kTileCorner = 0.18f;
const Strip kStrips[] = {{0.38f, 0.33f, 0.80f, 0.0f}, {0.66f, 0.37f, 0.70f, 1.3f}};
const float kStripWave = 0.035f, kStripWaveNumber = 19.0f, kStripHalfWidth = 0.028f;
const Circle kRoll{0.2f, 0.2f, 0.075f}, kRollCore{0.2f, 0.2f, 0.025f};
const Box kWindows[] = {{0.30f, 0.56f, 0.42f, 0.68f}, {0.58f, 0.56f, 0.70f, 0.68f}};
const Box kDoor{0.46f, 0.66f, 0.54f, 0.84f}, kWall{0.22f, 0.48f, 0.78f, 0.84f};
const float kRoofTop = 0.26f, kRoofEaves = 0.48f, kRoofHalfWidth = 0.34f;
const float kGrassTop = 0.82f;
const Circle kMoon{0.77f, 0.2f, 0.09f};

const Rgba kPaper{0.96f, 0.96f, 0.93f, 1}, kRollCoreColour{0.45f, 0.42f, 0.38f, 1};
const Rgba kLitWindow{0.98f, 0.82f, 0.35f, 1};  // Grelda is home
const Rgba kDoorColour{0.30f, 0.18f, 0.10f, 1}, kWallColour{0.60f, 0.53f, 0.45f, 1};
const Rgba kRoofColour{0.30f, 0.16f, 0.15f, 1}, kGrass{0.08f, 0.22f, 0.10f, 1};
const Rgba kMoonColour{0.94f, 0.92f, 0.78f, 1};
// the sky brightens linearly from the top of the tile (kSkyTop) by kSkyRise at its foot
const Rgba kSkyTop{0.04f, 0.06f, 0.18f, 1}, kSkyRise{0.08f, 0.10f, 0.18f, 0};

bool inBox(float u, float v, const Box& b)
{
    return u >= b.u0 && u <= b.u1 && v >= b.v0 && v <= b.v1;
}

bool inCircle(float u, float v, const Circle& c)
{
    return (u - c.u) * (u - c.u) + (v - c.v) * (v - c.v) <= c.radius * c.radius;
}

// the tile's rounded corners are left transparent
bool inTile(float u, float v)
{
    float du = std::fmax(std::fabs(u - 0.5f) - (0.5f - kTileCorner), 0.0f);
    float dv = std::fmax(std::fabs(v - 0.5f) - (0.5f - kTileCorner), 0.0f);
    return du * du + dv * dv <= kTileCorner * kTileCorner;
}

float stripCentre(const Strip& strip, float v)
{
    return strip.centre + kStripWave * std::sin(v * kStripWaveNumber + strip.phase);
}

bool inStrip(float u, float v, const Strip& strip)
{
    if (v < strip.top || v > strip.bottom)
        return false;
    return std::fabs(u - stripCentre(strip, v)) <= kStripHalfWidth;
}

float roofHalfWidth(float v)
{
    return kRoofHalfWidth * (v - kRoofTop) / (kRoofEaves - kRoofTop);
}

Rgba iconColour(float u, float v)
{
    if (!inTile(u, v))
        return {0, 0, 0, 0};
    for (const Strip& strip : kStrips)
        if (inStrip(u, v, strip))
            return kPaper;
    if (inCircle(u, v, kRollCore))
        return kRollCoreColour;
    if (inCircle(u, v, kRoll))
        return kPaper;
    for (const Box& window : kWindows)
        if (inBox(u, v, window))
            return kLitWindow;
    if (inBox(u, v, kDoor))
        return kDoorColour;
    if (inBox(u, v, kWall))
        return kWallColour;
    if (v >= kRoofTop && v <= kRoofEaves && std::fabs(u - 0.5f) <= roofHalfWidth(v))
        return kRoofColour;
    if (v > kGrassTop)
        return kGrass;
    if (inCircle(u, v, kMoon))
        return kMoonColour;
    return {kSkyTop.r + kSkyRise.r * v, kSkyTop.g + kSkyRise.g * v, kSkyTop.b + kSkyRise.b * v, 1};
}

}  // namespace

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

std::vector<uint8_t> makeIconPam(uint32_t side)
{
    std::string header = "P7\nWIDTH " + std::to_string(side) + "\nHEIGHT " + std::to_string(side) +
                         "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    std::vector<uint8_t> rgba = drawIcon(side);
    out.insert(out.end(), rgba.begin(), rgba.end());
    return out;
}

namespace {

// the SVG's user units: a 256-pixel tile
const float kSvgSide = 256;

std::string svgNumber(float x)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", x * kSvgSide);
    std::string out = text;
    while (out.back() == '0')
        out.pop_back();
    if (out.back() == '.')
        out.pop_back();
    return out;
}

std::string svgColour(const Rgba& c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(std::lround(255 * c.r)),
                  unsigned(std::lround(255 * c.g)), unsigned(std::lround(255 * c.b)));
    return text;
}

std::string svgBox(const Box& b, const Rgba& c)
{
    return "    <rect x=\"" + svgNumber(b.u0) + "\" y=\"" + svgNumber(b.v0) + "\" width=\"" +
           svgNumber(b.u1 - b.u0) + "\" height=\"" + svgNumber(b.v1 - b.v0) + "\" fill=\"" +
           svgColour(c) + "\"/>\n";
}

std::string svgCircle(const Circle& circle, const Rgba& c)
{
    return "    <circle cx=\"" + svgNumber(circle.u) + "\" cy=\"" + svgNumber(circle.v) + "\" r=\"" +
           svgNumber(circle.radius) + "\" fill=\"" + svgColour(c) + "\"/>\n";
}

// down the strip's left edge and back up its right one
std::string svgStrip(const Strip& strip)
{
    const int steps = 32;
    std::string points;
    for (int side = 0; side < 2; ++side)
        for (int i = 0; i <= steps; ++i) {
            float t = float(side == 0 ? i : steps - i) / steps;
            float v = strip.top + (strip.bottom - strip.top) * t;
            float u = stripCentre(strip, v) + (side == 0 ? -kStripHalfWidth : kStripHalfWidth);
            points += (points.empty() ? "" : " ") + svgNumber(u) + "," + svgNumber(v);
        }
    return "    <polygon points=\"" + points + "\" fill=\"" + svgColour(kPaper) + "\"/>\n";
}

}  // namespace

// painted back to front: the raster's first match is the SVG's last shape
std::string makeIconSvg()
{
    const std::string side = svgNumber(1);
    Rgba skyFoot{kSkyTop.r + kSkyRise.r, kSkyTop.g + kSkyRise.g, kSkyTop.b + kSkyRise.b, 1};
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + side + "\" height=\"" +
                      side + "\" viewBox=\"0 0 " + side + " " + side + "\">\n  <defs>\n"
                      "    <linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
                      "      <stop offset=\"0\" stop-color=\"" + svgColour(kSkyTop) + "\"/>\n"
                      "      <stop offset=\"1\" stop-color=\"" + svgColour(skyFoot) + "\"/>\n"
                      "    </linearGradient>\n"
                      "    <clipPath id=\"tile\">\n      <rect width=\"" + side + "\" height=\"" + side +
                      "\" rx=\"" + svgNumber(kTileCorner) + "\"/>\n    </clipPath>\n  </defs>\n"
                      "  <g clip-path=\"url(#tile)\">\n"
                      "    <rect width=\"" + side + "\" height=\"" + side + "\" fill=\"url(#sky)\"/>\n";
    svg += svgCircle(kMoon, kMoonColour);
    svg += svgBox({0, kGrassTop, 1, 1}, kGrass);
    svg += "    <polygon points=\"" + svgNumber(0.5f) + "," + svgNumber(kRoofTop) + " " +
           svgNumber(0.5f - kRoofHalfWidth) + "," + svgNumber(kRoofEaves) + " " +
           svgNumber(0.5f + kRoofHalfWidth) + "," + svgNumber(kRoofEaves) + "\" fill=\"" +
           svgColour(kRoofColour) + "\"/>\n";
    svg += svgBox(kWall, kWallColour);
    svg += svgBox(kDoor, kDoorColour);
    for (const Box& window : kWindows)
        svg += svgBox(window, kLitWindow);
    svg += svgCircle(kRoll, kPaper);
    svg += svgCircle(kRollCore, kRollCoreColour);
    for (const Strip& strip : kStrips)
        svg += svgStrip(strip);
    return svg + "  </g>\n</svg>\n";
}
