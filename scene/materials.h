// SPDX-License-Identifier: MIT
// scene: the nine material presets: ambient RGBA, diffuse RGBA, specular RGBA, shininess.
#pragma once

extern const float gMaterialMint[13];
extern const float gMaterialLeafGreen[13];
extern const float gMaterialBrown[13];
extern const float gMaterialGrey[13];
extern const float gMaterialChrome[13];
extern const float gMaterialCream[13];
extern const float gMaterialBlack[13];
extern const float gMaterialWater[13];
extern const float gMaterialWhite[13];
