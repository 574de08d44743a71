// SPDX-License-Identifier: MIT
// fuzz: the 3DS loader on any bytes. Besides the sanitizers, checks what the drawing relies on:
// counts match the arrays, every face names vertices of its object, every normal is finite.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "assets/model_loader.h"

static void check(bool holds)
{
    if (!holds)
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!stream)
        return 0;
    Model model;
    model.swapYZ = size % 2 == 1;
    ModelLoader loader;
    loader.loadFrom(model, stream, "fuzz.3ds");
    std::fclose(stream);

    check(model.objectCount == int32_t(model.objects.size()));
    check(model.materialCount == int32_t(model.materials.size()));
    for (const MeshObject& o : model.objects) {
        check(o.name[254] == '\0');
        check((o.vertexCount == 0) == (o.vertices == nullptr));
        for (int32_t f = 0; f < o.faceCount; ++f)
            for (int32_t i : o.faces[f].vertexIndex)
                check(i >= 0 && i < o.vertexCount);
        for (int32_t v = 0; v < o.vertexCount; ++v)
            check(std::isfinite(o.normals[v].x) && std::isfinite(o.normals[v].y) &&
                  std::isfinite(o.normals[v].z));
        check(!(o.minCorner.x > 0) && !(o.minCorner.y > 0) && !(o.minCorner.z > 0));
        // 0 stays when a group names a material before any was read
        check(o.materialIndex == 0 || (o.materialIndex >= -1 && o.materialIndex < model.materialCount));
    }
    for (const MeshMaterial& m : model.materials)
        check(m.name[254] == '\0' && m.textureFile[254] == '\0');
    releaseModel(model);
    return 0;
}
