// SPDX-License-Identifier: MIT
// assetgen: the game's models, textures and throw sound, made from code alone. Every maker is
// deterministic: same bytes on every run and every machine with IEEE floats.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/mesh.h"

// a small fixed pseudo-random sequence (xorshift), never seeded from time
class Rng {
public:
    explicit Rng(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // uniform in [0, 1)
    float unit() { return float(next() >> 8) * (1.0f / 16777216.0f); }
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }

private:
    uint32_t state;
};

// house group, y-up, in the units that make the house's own reach below zero set the scale
ModelData makeHouse();
ModelData makeWindowFrames();
ModelData makeWindowPanes();

// yard models, z-up
ModelData makePlant();
ModelData makeBarbecue();
ModelData makeBush();
ModelData makeBench();
ModelData makePool();
ModelData makeCoyote();

// textures: width * height * 3 bytes, red green blue, bottom row first
struct Picture {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;

    Picture(uint32_t w, uint32_t h) : width(w), height(h), rgb(size_t(w) * h * 3, 0) {}
    uint8_t* at(uint32_t x, uint32_t y) { return &rgb[(size_t(y) * width + x) * 3]; }
};

Picture makeStucco();
Picture makeGrass();
Picture makeSky();
Picture makeMoon();
Picture makeOwner();
Picture makeEggSplat();

// mono 16-bit samples at kGruntRate
constexpr uint32_t kGruntRate = 22050;
std::vector<int16_t> makeGrunt();

// the game's icon, side by side pixels: a PAM (P7, RGB_ALPHA) for the window, a PNG for the desktop
std::vector<uint8_t> makeIconPam(uint32_t side);
bool saveIconPng(const std::string& path, uint32_t side);  // icon_png.cpp, with libpng
// the icon's pixels, red green blue alpha, top row first
std::vector<uint8_t> drawIcon(uint32_t side);
// the same icon as an SVG, for the desktop's scalable size
std::string makeIconSvg();
