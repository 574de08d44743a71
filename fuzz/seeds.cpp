// SPDX-License-Identifier: MIT
// fuzz: writes the seed corpora, small well-formed files of every shape the loaders know.
//   fuzz_seeds <model corpus dir> <bmp corpus dir>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/writers/chunk_writer.h"
#include "tools/writers/image_writer.h"

using namespace chunk3ds;

namespace {

void material(ChunkWriter& w, const char* name, uint16_t colourId, bool texture)
{
    w.begin(kMaterial);
    w.begin(kMaterialName);
    w.str(name);
    w.end();
    w.begin(kDiffuse);
    w.begin(colourId);
    if (colourId == kColourFloat) {
        w.f32(0.25f), w.f32(0.5f), w.f32(1.0f);
    } else {
        w.u8(10), w.u8(200), w.u8(30);
    }
    w.end();
    w.begin(kColour24Gamma);
    w.u8(1), w.u8(2), w.u8(3);
    w.end();
    w.end();
    if (texture) {
        w.begin(kTextureMap);
        w.begin(kMapFile);
        w.str("Stucco.bmp");
        w.end();
        w.end();
    }
    w.end();
}

void object(ChunkWriter& w, const char* name, const char* materialName, int size)
{
    w.begin(kObject);
    w.str(name);
    w.begin(kTriMesh);
    w.begin(kVertices);
    w.u16(uint16_t(size * size));
    for (int z = 0; z < size; ++z)
        for (int x = 0; x < size; ++x)
            w.f32(float(x)), w.f32(float((x * z) % 3)), w.f32(float(z));
    w.end();
    w.begin(kTexCoords);
    w.u16(uint16_t(size * size));
    for (int k = 0; k < size * size; ++k)
        w.f32(float(k % size) / size), w.f32(float(k / size) / size);
    w.end();
    w.begin(kFaces);
    int quads = (size - 1) * (size - 1);
    w.u16(uint16_t(2 * quads));
    for (int z = 0; z + 1 < size; ++z)
        for (int x = 0; x + 1 < size; ++x) {
            uint16_t a = uint16_t(z * size + x);
            w.u16(a), w.u16(uint16_t(a + 1)), w.u16(uint16_t(a + size)), w.u16(3);
            w.u16(uint16_t(a + 1)), w.u16(uint16_t(a + size + 1)), w.u16(uint16_t(a + size)),
                w.u16(3);
        }
    w.begin(kFaceMaterial);
    w.str(materialName);
    w.u16(1);
    w.u16(0);
    w.end();
    w.begin(kSmoothGroups);
    for (int f = 0; f < 2 * quads; ++f)
        w.u32(1);
    w.end();
    w.end();
    w.end();
    w.end();
}

ChunkWriter usualModel(uint32_t version, bool editor, uint16_t colourId)
{
    ChunkWriter w;
    w.begin(kPrimary);
    w.begin(kVersion);
    w.u32(version);
    w.end();
    if (editor) {
        w.begin(kEditor);
        w.begin(kMeshVersion);
        w.u32(3);
        w.end();
    }
    material(w, "Wall", colourId, true);
    material(w, "Leaf", kColour24, false);
    object(w, "House", "Wall", 3);
    object(w, "Plant", "Nothing", 2);
    if (editor)
        w.end();
    w.end();
    return w;
}

std::vector<uint8_t> rgbRamp(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> rgb;
    for (uint32_t k = 0; k < width * height * 3; ++k)
        rgb.push_back(uint8_t(k * 37));
    return rgb;
}

bool save(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes)
{
    bool ok = saveBytes(dir + "/" + name, bytes);
    if (!ok)
        std::fprintf(stderr, "fuzz_seeds: cannot write %s/%s\n", dir.c_str(), name.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds <model corpus dir> <bmp corpus dir>\n");
        return 2;
    }
    std::string models = argv[1], images = argv[2];
    bool ok = save(models, "usual.3ds", usualModel(3, true, kColour24).data()) &&
              save(models, "flat.3ds", usualModel(4, false, kColour24).data()) &&
              save(models, "float-colour.3ds", usualModel(3, true, kColourFloat).data());

    std::vector<uint8_t> padded = makeBmp24(3, 2, rgbRamp(3, 2));
    std::vector<uint8_t> shifted = makeBmp24(4, 2, rgbRamp(4, 2));
    shifted[10] = 64;  // the pixels start ten bytes later
    shifted.insert(shifted.begin() + 54, 10, 0xEE);
    std::vector<uint8_t> deep = makeBmp24(2, 2, rgbRamp(2, 2));
    deep[28] = 32;
    ok = ok && save(images, "2x1.bmp", makeBmp24(2, 1, rgbRamp(2, 1))) &&
         save(images, "4x4.bmp", makeBmp24(4, 4, rgbRamp(4, 4))) &&
         save(images, "3x2-padded.bmp", padded) && save(images, "offset-64.bmp", shifted) &&
         save(images, "32-bit.bmp", deep);
    return ok ? 0 : 1;
}
