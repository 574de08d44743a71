// SPDX-License-Identifier: MIT
// scene: the material presets: ambient RGBA, diffuse RGBA, specular RGBA, shininess.
#include "scene/materials.h"

const float gMaterialMint[13] = {0, 1, 0.5f, 1, 0, 1, 0.5f, 1, 0, 0, 0, 1, 0.3f};
const float gMaterialLeafGreen[13] = {0, 0.5f, 0, 1, 0, 0.5f, 0, 1, 0, 0, 0, 1, 0};
const float gMaterialBrown[13] = {0.5f, 0.25f, 0, 1, 0.5f, 0.25f, 0, 1, 0, 0, 0, 1, 0};
const float gMaterialGrey[13] = {0.5f, 0.5f, 0.5f, 1, 0.5f, 0.5f, 0.5f, 1, 0, 0, 0, 1, 0.3f};
const float gMaterialChrome[13] = {0.5f, 0.5f, 0.5f, 1, 0, 0, 0, 1, 0.8f, 0.8f, 0.8f, 1, 0.8f};
const float gMaterialCream[13] = {1, 0.97f, 0.82f, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0};
const float gMaterialBlack[13] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0};
const float gMaterialWater[13] = {0, 0.84f, 0.84f, 1, 0.84f, 0.84f, 0.84f, 1, 0, 0, 0, 1, 0.3f};
// under textures: the texture gives the colour, the light only its brightness
const float gMaterialWhite[13] = {1, 1, 1, 1, 0.5f, 0.5f, 0.5f, 1, 0, 0, 0, 1, 0};
