// SPDX-License-Identifier: MIT
// tools: the pieces of a well-formed 3DS model, written with ChunkWriter in the layout the game's
// reader expects. Tests that need broken files write those chunks by hand.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/writers/chunk_writer.h"

// the three corners of a face, as indices into its object's vertex list
using MeshTriangle = std::array<uint16_t, 3>;

// the primary chunk, the file version (3), the editor data and its mesh version (3);
// endModelFile closes the editor data and the primary chunk
void beginModelFile(ChunkWriter& w);
void endModelFile(ChunkWriter& w);

// a material with a 24-bit diffuse colour, and a texture map when textureFile is not empty
void writeMaterial(ChunkWriter& w, const std::string& name, std::array<uint8_t, 3> rgb,
                   const std::string& textureFile = "");

// the object chunk with its name and its triangle mesh, left open for the lists;
// endMeshObject closes both
void beginMeshObject(ChunkWriter& w, const std::string& name);
void endMeshObject(ChunkWriter& w);

// any point with float x, y and z
template <class Point>
void writeVertexList(ChunkWriter& w, const std::vector<Point>& vertices)
{
    w.begin(chunk3ds::kVertices);
    w.u16(uint16_t(vertices.size()));
    for (const Point& p : vertices) {
        w.f32(p.x);
        w.f32(p.y);
        w.f32(p.z);
    }
    w.end();
}

// every edge marked visible; a material group naming every face is nested in the list unless
// material is empty. beginFaceList leaves the list open for more children (w.end() closes it).
void beginFaceList(ChunkWriter& w, const std::vector<MeshTriangle>& faces,
                   const std::string& material);
void writeFaceList(ChunkWriter& w, const std::vector<MeshTriangle>& faces,
                   const std::string& material);

// a whole object: its vertex list, then its face list
template <class Point>
void writeMeshObject(ChunkWriter& w, const std::string& name, const std::vector<Point>& vertices,
                     const std::vector<MeshTriangle>& faces, const std::string& material)
{
    beginMeshObject(w, name);
    writeVertexList(w, vertices);
    writeFaceList(w, faces, material);
    endMeshObject(w);
}
