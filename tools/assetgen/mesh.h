// SPDX-License-Identifier: MIT
// assetgen: triangle meshes built from a few parametric solids, and their 3DS form.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/writers/mesh_writer.h"

struct P3 {
    float x, y, z;
};

inline P3 operator+(P3 a, P3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline P3 operator-(P3 a, P3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline P3 operator*(P3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }

// an affine map: p -> m * p + t
struct Xform {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    P3 t{0, 0, 0};

    P3 apply(P3 p) const;
    float determinant() const;
    // this map applied after `inner`
    Xform operator*(const Xform& inner) const;

    static Xform translate(P3 d);
    static Xform scale(P3 s);
    static Xform rotateX(float degrees);
    static Xform rotateY(float degrees);
    static Xform rotateZ(float degrees);
};

struct MeshPart {
    std::string name;
    std::string material;
    std::vector<P3> vertices;
    std::vector<MeshTriangle> faces;  // counter-clockwise seen from outside
};

struct Material {
    std::string name;
    uint8_t r, g, b;
};

struct ModelData {
    std::vector<Material> materials;
    std::vector<MeshPart> objects;

    void material(const std::string& name, uint8_t r, uint8_t g, uint8_t b);
    // appends an empty object and returns it (valid until the next call)
    MeshPart& object(const std::string& name, const std::string& materialName);
};

// places local z along `dir`, starting at `from`
Xform pointing(P3 from, P3 dir);

// The solids. Each is placed by `at`; a mirroring map keeps the faces turned outwards.
// unit cube [-0.5, 0.5]^3 with flat faces
void addBox(MeshPart& part, const Xform& at);
// axis-aligned box between two corners
void addBoxMinMax(MeshPart& part, P3 lo, P3 hi);
// along local z from 0 to height; a top radius of 0 makes a cone; caps flat
void addCylinder(MeshPart& part, const Xform& at, int segments, float bottomRadius, float topRadius,
                 float height, bool bottomCap = true, bool topCap = true);
// a cylinder from one point to another
void addRod(MeshPart& part, P3 from, P3 to, float radius, int segments = 6);
// unit sphere with smooth normals
void addSphere(MeshPart& part, const Xform& at, int slices, int stacks);
// upper half of the unit sphere, closed by a flat disc at z = 0
void addDome(MeshPart& part, const Xform& at, int slices, int stacks);
// turns the faces from `firstFace` on inside out (for surfaces seen from within, like a pool's
// inner wall)
void flipFaces(MeshPart& part, size_t firstFace);
// a flat outline (counter-clockwise in local xy, may be concave) extruded along local z from 0
// to depth
void addExtrusion(MeshPart& part, const Xform& at, const std::vector<P3>& outline, float depth);
// a flat convex polygon, counter-clockwise seen from the side it faces
void addPolygon(MeshPart& part, const std::vector<P3>& corners);

// the 3DS file the game's reader expects: materials and objects inside the editor chunk, each
// object's material group nested in its face list
std::vector<uint8_t> write3ds(const ModelData& model);
