// SPDX-License-Identifier: MIT
// assets: the six textures under their fixed GL names. Any failure ends the process.
#pragma once
#include <cstdint>

constexpr uint32_t kTextureStucco = 1;
constexpr uint32_t kTextureGrass = 2;
constexpr uint32_t kTextureOwner = 5;
constexpr uint32_t kTextureSky = 6;
constexpr uint32_t kTextureMoon = 7;
constexpr uint32_t kTextureEgg = 8;

void loadTextures();
void loadTexture(const char* fileName, uint32_t name);
