// SPDX-License-Identifier: MIT
// assets: the in-memory form of a 3DS model, as the loader fills it and the scene draws it.
#pragma once
#include <cstdint>
#include <vector>

#include "common/vec.h"

struct MeshFace {
    int32_t vertexIndex[3];
};

struct MeshObject {
    int32_t vertexCount;
    int32_t faceCount;
    int32_t texCoordCount;
    int32_t materialIndex;    // -1 when the named material was not found
    char name[255];
    Vec3* vertices;
    Vec3* normals;
    Vec2* texCoords;
    MeshFace* faces;
    Vec3 minCorner;           // componentwise minimum over the vertices and 0
    int32_t presetCode;       // material preset for drawing, 0 = none
};

// every corner of the face names one of the object's vertices; the drawing and every test of a
// model's faces skip a face that does not
inline bool validFace(const MeshObject& object, const MeshFace& face)
{
    for (int32_t v : face.vertexIndex)
        if (v < 0 || v >= object.vertexCount)
            return false;
    return true;
}

struct MeshMaterial {
    char name[255];
    char textureFile[255];
    uint8_t colour[3];
};

struct Model {
    int32_t objectCount = 0;
    int32_t materialCount = 0;
    std::vector<MeshMaterial> materials;
    std::vector<MeshObject> objects;
    Vec3 minCorner{0, 0, 0};
    bool swapYZ = false;
    float size = 1.0f;
    float scale = 1.0f;
    bool useMaterialColours = false;
    bool texturedLists = false;
};
