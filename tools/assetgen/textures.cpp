// SPDX-License-Identifier: MIT
// assetgen: the six textures. All sides are powers of two and every row is a multiple of 4 bytes,
// as the game's reader takes the pixels as one block without row padding.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/assetgen.h"

namespace {

constexpr float kPi = 3.14159265358979f;

struct Colour {
    float r, g, b;
};

Colour mix(Colour a, Colour b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Colour operator*(Colour c, float s) { return {c.r * s, c.g * s, c.b * s}; }

uint8_t channel(float v) { return uint8_t(std::clamp(v, 0.0f, 255.0f) + 0.5f); }

void put(Picture& p, int x, int y, Colour c)
{
    uint8_t* px = p.at(uint32_t(x), uint32_t(y));
    px[0] = channel(c.r);
    px[1] = channel(c.g);
    px[2] = channel(c.b);
}

Colour get(Picture& p, int x, int y)
{
    uint8_t* px = p.at(uint32_t(x), uint32_t(y));
    return {float(px[0]), float(px[1]), float(px[2])};
}

uint32_t hash(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

float lattice(int x, int y, uint32_t seed) { return float(hash(x, y, seed) & 0xFFFF) / 65535.0f; }

// value noise that repeats every `period` cells in both directions, in [0, 1]
float tiledNoise(float x, float y, int period, uint32_t seed)
{
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float fx = x - float(x0), fy = y - float(y0);
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    auto at = [&](int i, int j) { return lattice(((i % period) + period) % period, ((j % period) + period) % period, seed); };
    float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
    float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
    return top + (bottom - top) * fy;
}

// several octaves over a picture of the given size, repeating with it; u, v in pixels
float tiledFractal(float u, float v, float width, int cells, int octaves, uint32_t seed)
{
    float sum = 0, weight = 0, amplitude = 1;
    for (int o = 0; o < octaves; ++o) {
        float scale = float(cells) / width;
        sum += amplitude * tiledNoise(u * scale, v * scale, cells, seed + uint32_t(o));
        weight += amplitude;
        amplitude *= 0.5f;
        cells *= 2;
    }
    return sum / weight;
}

// a line of pixels that wraps around the picture's edges
void stroke(Picture& p, float x0, float y0, float x1, float y1, Colour c, float opacity)
{
    int steps = int(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) + 1;
    for (int i = 0; i <= steps; ++i) {
        float t = float(i) / float(steps);
        int x = (int(std::floor(x0 + (x1 - x0) * t)) % int(p.width) + int(p.width)) % int(p.width);
        int y = (int(std::floor(y0 + (y1 - y0) * t)) % int(p.height) + int(p.height)) % int(p.height);
        put(p, x, y, mix(get(p, x, y), c, opacity));
    }
}

}  // namespace

// Warm plaster. One repeat covers 15 x 15 model units of wall, which the game's halving of the
// house's height turns into 15 wide by 7.5 tall, so the picture is twice as wide as tall to keep
// its grain round.
Picture makeStucco()
{
    Picture p(512, 256);
    Rng rng(0x57CC0u);
    const Colour base{224, 198, 160};
    for (uint32_t y = 0; y < p.height; ++y)
        for (uint32_t x = 0; x < p.width; ++x) {
            float u = float(x), v = float(y);
            float blotch = tiledFractal(u, v, 512, 8, 3, 11);
            float grain = tiledFractal(u, v, 512, 128, 2, 23);
            float shade = 0.84f + 0.12f * blotch + 0.1f * (grain - 0.5f) + rng.range(-0.035f, 0.035f);
            Colour c = base * shade;
            if (rng.unit() < 0.012f)
                c = c * 0.82f;  // pits in the render
            put(p, int(x), int(y), c);
        }
    return p;
}

// Dark grass at night: a mottled ground under a few thousand short blades.
Picture makeGrass()
{
    Picture p(256, 256);
    Rng rng(0x6A55u);
    for (uint32_t y = 0; y < p.height; ++y)
        for (uint32_t x = 0; x < p.width; ++x) {
            float n = tiledFractal(float(x), float(y), 256, 8, 4, 5);
            put(p, int(x), int(y), mix(Colour{14, 28, 11}, Colour{36, 62, 24}, n));
        }
    for (int i = 0; i < 5200; ++i) {
        float x = rng.range(0, 256), y = rng.range(0, 256);
        float lean = rng.range(-0.6f, 0.6f), length = rng.range(3.0f, 9.0f);
        Colour c = mix(Colour{18, 42, 14}, Colour{70, 116, 44}, rng.unit());
        stroke(p, x, y, x + lean * length, y + length, c, rng.range(0.55f, 0.95f));
    }
    return p;
}

// The inside of the sky sphere: its bottom row is straight down, its top row the zenith, the
// horizon halfway. The game lights it, so it is painted brighter than it shows.
Picture makeSky()
{
    Picture p(1024, 512);  // fine enough that a star stays a point across the whole dome
    Rng rng(0x5C1u);
    const Colour zenith{8, 12, 40}, high{20, 28, 72}, glow{96, 84, 112}, below{22, 24, 34};
    for (uint32_t y = 0; y < p.height; ++y) {
        float elevation = (float(y) + 0.5f) / float(p.height) * 180.0f - 90.0f;
        Colour c;
        if (elevation < 0)
            c = mix(glow, below, std::min(1.0f, -elevation / 12.0f));
        else if (elevation < 25)
            c = mix(glow, high, std::pow(elevation / 25.0f, 0.6f));
        else
            c = mix(high, zenith, (elevation - 25) / 65.0f);
        for (uint32_t x = 0; x < p.width; ++x) {
            float haze = tiledFractal(float(x), float(y), 1024, 8, 3, 77);
            put(p, int(x), int(y), c * (0.9f + 0.2f * haze));
        }
    }
    for (int i = 0; i < 1400; ++i) {
        int x = int(rng.next() % p.width);
        int y = int(p.height / 2 + 16 + rng.next() % (p.height / 2 - 16));
        float bright = rng.unit();
        Colour star = mix(Colour{150, 160, 190}, Colour{255, 250, 235}, bright);
        put(p, x, y, star);
        if (bright > 0.9f)
            put(p, (x + 1) % int(p.width), y, star * 0.7f);
    }
    return p;
}

// The moon's surface all round: grey, mottled, pocked with craters that cast their rim's shadow
// to one side. On the small sphere it shows as a grey cratered disc.
Picture makeMoon()
{
    Picture p(128, 128);
    Rng rng(0x3001u);
    for (uint32_t y = 0; y < p.height; ++y)
        for (uint32_t x = 0; x < p.width; ++x) {
            float maria = tiledFractal(float(x), float(y), 128, 4, 4, 31);
            float dark = std::clamp((0.5f - maria) * 8.0f, 0.0f, 1.0f);  // the seas
            float level = 200.0f - 50.0f * dark + 30.0f * (maria - 0.5f) + rng.range(-8, 8);
            put(p, int(x), int(y), Colour{level, level, level * 0.98f});
        }
    for (int i = 0; i < 24; ++i) {
        float cx = rng.range(0, 128), cy = rng.range(12, 116), r = rng.range(2.5f, 11.0f);
        for (int dy = -int(r) - 2; dy <= int(r) + 2; ++dy)
            for (int dx = -int(r) - 2; dx <= int(r) + 2; ++dx) {
                int x = ((int(cx) + dx) % 128 + 128) % 128, y = int(cy) + dy;
                if (y < 0 || y >= 128)
                    continue;
                float d = std::sqrt(float(dx * dx + dy * dy)) / r;
                Colour c = get(p, x, y);
                if (d < 0.85f)
                    put(p, x, y, c * (0.82f + 0.1f * float(dx) / r));  // floor, darker on the shadowed side
                else if (d < 1.15f)
                    put(p, x, y, c * (dx + dy > 0 ? 1.18f : 0.8f));     // rim, lit on one side
            }
    }
    return p;
}

namespace {

// The owner's picture is painted in the units of the quad it is drawn on: 0.5 wide, 1.5 tall,
// feet at the bottom.
struct Figure {
    Picture& p;
    float unitsPerX, unitsPerY;

    template <typename Inside>
    void paint(Colour c, Inside inside)
    {
        for (uint32_t y = 0; y < p.height; ++y)
            for (uint32_t x = 0; x < p.width; ++x) {
                float u = (float(x) + 0.5f) * unitsPerX, v = (float(y) + 0.5f) * unitsPerY;
                if (inside(u, v))
                    put(p, int(x), int(y), c);
            }
    }
    void ellipse(Colour c, float cu, float cv, float ru, float rv)
    {
        paint(c, [&](float u, float v) { return (u - cu) * (u - cu) / (ru * ru) + (v - cv) * (v - cv) / (rv * rv) < 1; });
    }
    void capsule(Colour c, float u0, float v0, float u1, float v1, float radius)
    {
        paint(c, [&](float u, float v) {
            float du = u1 - u0, dv = v1 - v0;
            float t = std::clamp(((u - u0) * du + (v - v0) * dv) / (du * du + dv * dv), 0.0f, 1.0f);
            float eu = u - (u0 + du * t), ev = v - (v0 + dv * t);
            return eu * eu + ev * ev < radius * radius;
        });
    }
};

// half the gown's width at height v: wide at the hem, drawn in at the waist, square at the shoulders
float gownHalfWidth(float v)
{
    if (v < 0.76f)
        return 0.17f - (v - 0.1f) * 0.09f;
    return 0.11f + (v - 0.76f) * 0.12f;
}

}  // namespace

// The house owner in her dressing gown and curlers, hands on hips, on black: the game adds the
// picture onto the scene, so black is see-through.
Picture makeOwner()
{
    Picture p(128, 256);
    Figure f{p, 0.5f / 128.0f, 1.5f / 256.0f};
    const Colour skin{236, 190, 158}, gown{132, 146, 224}, trim{236, 232, 246}, slipper{240, 150, 190};
    const Colour hair{200, 200, 212}, dark{40, 24, 30};
    f.ellipse(slipper, 0.19f, 0.035f, 0.055f, 0.03f);
    f.ellipse(slipper, 0.31f, 0.035f, 0.055f, 0.03f);
    f.paint(skin, [](float u, float v) { return v > 0.05f && v < 0.13f && ((u > 0.18f && u < 0.215f) || (u > 0.285f && u < 0.32f)); });
    f.ellipse(hair, 0.25f, 1.3f, 0.085f, 0.09f);
    for (int i = 0; i < 5; ++i) {
        Colour curler = i % 2 ? Colour{240, 120, 170} : Colour{120, 200, 240};
        float u = 0.19f + 0.03f * float(i);
        f.capsule(curler, u, 1.36f + 0.02f * float(i % 2), u, 1.39f + 0.02f * float(i % 2), 0.014f);
    }
    f.capsule(skin, 0.25f, 1.08f, 0.25f, 1.17f, 0.025f);  // neck
    // the gown, with soft folds and a shawl collar
    f.paint(gown, [](float u, float v) { return v > 0.1f && v < 1.12f && std::fabs(u - 0.25f) < gownHalfWidth(v); });
    f.paint(gown * 0.78f, [](float u, float v) {
        return v > 0.1f && v < 0.74f && std::fabs(u - 0.25f) < gownHalfWidth(v) && std::fmod(u + v * 0.08f, 0.07f) < 0.012f;
    });
    f.paint(trim, [](float u, float v) {
        float edge = 0.25f + (v - 0.78f) * 0.3f;  // the collar runs from the waist to each shoulder
        return v > 0.76f && v < 1.12f && (std::fabs(u - edge) < 0.018f || std::fabs(u - (0.5f - edge)) < 0.018f);
    });
    f.paint(skin, [](float u, float v) { return v > 0.86f && v < 1.1f && std::fabs(u - 0.25f) < (v - 0.86f) * 0.28f; });
    f.paint(trim, [](float u, float v) { return v > 0.1f && v < 0.76f && std::fabs(u - 0.27f) < 0.012f; });  // front edge
    f.paint(trim * 0.9f, [](float u, float v) { return v > 0.73f && v < 0.78f && std::fabs(u - 0.25f) < gownHalfWidth(v); });
    f.capsule(trim * 0.9f, 0.3f, 0.75f, 0.33f, 0.55f, 0.014f);  // the belt's loose end
    // arms akimbo
    for (float side : {-1.0f, 1.0f}) {
        float c = 0.25f;
        f.capsule(gown * 0.9f, c + side * 0.13f, 1.08f, c + side * 0.19f, 0.9f, 0.04f);
        f.capsule(gown * 0.9f, c + side * 0.19f, 0.9f, c + side * 0.12f, 0.77f, 0.037f);
        f.ellipse(trim, c + side * 0.13f, 0.785f, 0.03f, 0.028f);
        f.ellipse(skin, c + side * 0.11f, 0.76f, 0.026f, 0.024f);
    }
    f.ellipse(skin, 0.25f, 1.245f, 0.068f, 0.088f);
    f.ellipse(dark, 0.225f, 1.262f, 0.009f, 0.007f);
    f.ellipse(dark, 0.275f, 1.262f, 0.009f, 0.007f);
    f.capsule(dark, 0.21f, 1.28f, 0.237f, 1.276f, 0.004f);  // brows drawn down
    f.capsule(dark, 0.263f, 1.276f, 0.29f, 1.28f, 0.004f);
    f.capsule(Colour{170, 60, 70}, 0.232f, 1.2f, 0.268f, 1.2f, 0.006f);
    return p;
}

// A thrown egg's splash: a ragged white with droplets, the yolk off-centre, on black.
Picture makeEggSplat()
{
    Picture p(128, 128);
    Rng rng(0xE66u);
    float phase[4];
    for (float& ph : phase)
        ph = rng.range(0, 2 * kPi);
    const Colour white{236, 234, 214}, yolk{255, 178, 18};
    for (uint32_t y = 0; y < 128; ++y)
        for (uint32_t x = 0; x < 128; ++x) {
            float u = (float(x) + 0.5f) / 128.0f - 0.5f, v = (float(y) + 0.5f) / 128.0f - 0.5f;
            float a = std::atan2(v, u), d = std::sqrt(u * u + v * v);
            float edge = 0.3f + 0.045f * std::sin(3 * a + phase[0]) + 0.03f * std::sin(7 * a + phase[1]) +
                         0.05f * std::pow(std::fabs(std::sin(5 * a + phase[2])), 12.0f);
            if (d < edge)
                put(p, int(x), int(y), white * (0.88f + 0.12f * tiledFractal(float(x), float(y), 128, 8, 2, 91)));
        }
    for (int i = 0; i < 9; ++i) {
        float a = rng.range(0, 2 * kPi), d = rng.range(0.36f, 0.46f), r = rng.range(0.012f, 0.03f);
        float cu = 0.5f + d * std::cos(a), cv = 0.5f + d * std::sin(a);
        for (uint32_t y = 0; y < 128; ++y)
            for (uint32_t x = 0; x < 128; ++x) {
                float u = (float(x) + 0.5f) / 128.0f - cu, v = (float(y) + 0.5f) / 128.0f - cv;
                if (u * u + v * v < r * r)
                    put(p, int(x), int(y), white * 0.92f);
            }
    }
    for (uint32_t y = 0; y < 128; ++y)
        for (uint32_t x = 0; x < 128; ++x) {
            float u = (float(x) + 0.5f) / 128.0f - 0.55f, v = (float(y) + 0.5f) / 128.0f - 0.53f;
            float d = std::sqrt(u * u + v * v) / 0.13f;
            if (d < 1) {
                float shine = std::max(0.0f, 1 - std::sqrt((u + 0.04f) * (u + 0.04f) + (v - 0.04f) * (v - 0.04f)) / 0.04f);
                put(p, int(x), int(y), mix(yolk * (1.0f - 0.25f * d * d), Colour{255, 240, 190}, shine));
            }
        }
    return p;
}
