// SPDX-License-Identifier: MIT
// assets: the 3DS chunk ids, shared by the model loader and the tools that write model files, so
// the two cannot drift apart.
#pragma once
#include <cstdint>

namespace chunk3ds {
constexpr uint16_t kPrimary = 0x4D4D;
constexpr uint16_t kVersion = 0x0002;
constexpr uint16_t kEditor = 0x3D3D;
constexpr uint16_t kMeshVersion = 0x3D3E;
constexpr uint16_t kObject = 0x4000;
constexpr uint16_t kTriMesh = 0x4100;
constexpr uint16_t kVertices = 0x4110;
constexpr uint16_t kFaces = 0x4120;
constexpr uint16_t kFaceMaterial = 0x4130;
constexpr uint16_t kTexCoords = 0x4140;
constexpr uint16_t kSmoothGroups = 0x4150;
constexpr uint16_t kMaterial = 0xAFFF;
constexpr uint16_t kMaterialName = 0xA000;
constexpr uint16_t kDiffuse = 0xA020;
constexpr uint16_t kTextureMap = 0xA200;
constexpr uint16_t kMapFile = 0xA300;
constexpr uint16_t kColourFloat = 0x0010;
constexpr uint16_t kColour24 = 0x0011;
constexpr uint16_t kColour24Gamma = 0x0012;
}  // namespace chunk3ds
