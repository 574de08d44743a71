// SPDX-License-Identifier: MIT
// tools: 3DS model pieces.
#include "tools/writers/mesh_writer.h"

using namespace chunk3ds;

namespace {

constexpr uint32_t kFileVersion = 3;
constexpr uint16_t kAllEdgesVisible = 7;

}  // namespace

void beginModelFile(ChunkWriter& w)
{
    w.begin(kPrimary);
    w.begin(kVersion);
    w.u32(kFileVersion);
    w.end();
    w.begin(kEditor);
    w.begin(kMeshVersion);
    w.u32(kFileVersion);
    w.end();
}

void endModelFile(ChunkWriter& w)
{
    w.end();
    w.end();
}

void writeMaterial(ChunkWriter& w, const std::string& name, std::array<uint8_t, 3> rgb,
                   const std::string& textureFile)
{
    w.begin(kMaterial);
    w.begin(kMaterialName);
    w.str(name);
    w.end();
    w.begin(kDiffuse);
    w.begin(kColour24);
    w.bytes(rgb.data(), rgb.size());
    w.end();
    w.end();
    if (!textureFile.empty()) {
        w.begin(kTextureMap);
        w.begin(kMapFile);
        w.str(textureFile);
        w.end();
        w.end();
    }
    w.end();
}

void beginMeshObject(ChunkWriter& w, const std::string& name)
{
    w.begin(kObject);
    w.str(name);
    w.begin(kTriMesh);
}

void endMeshObject(ChunkWriter& w)
{
    w.end();
    w.end();
}

void beginFaceList(ChunkWriter& w, const std::vector<MeshTriangle>& faces,
                   const std::string& material)
{
    w.begin(kFaces);
    w.u16(uint16_t(faces.size()));
    for (const MeshTriangle& f : faces) {
        w.u16(f[0]);
        w.u16(f[1]);
        w.u16(f[2]);
        w.u16(kAllEdgesVisible);
    }
    if (!material.empty()) {
        w.begin(kFaceMaterial);
        w.str(material);
        w.u16(uint16_t(faces.size()));
        for (size_t f = 0; f < faces.size(); ++f)
            w.u16(uint16_t(f));
        w.end();
    }
}

void writeFaceList(ChunkWriter& w, const std::vector<MeshTriangle>& faces,
                   const std::string& material)
{
    beginFaceList(w, faces, material);
    w.end();
}
