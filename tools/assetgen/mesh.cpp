// SPDX-License-Identifier: MIT
// assetgen: the parametric solids and the 3DS writer.
#include "tools/assetgen/mesh.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "tools/writers/mesh_writer.h"

namespace {

constexpr float kPi = 3.14159265358979f;

uint16_t addVertex(MeshPart& part, P3 p)
{
    if (part.vertices.size() >= 65535) {
        std::fprintf(stderr, "assetgen: object %s has too many vertices\n", part.name.c_str());
        std::exit(1);
    }
    part.vertices.push_back(p);
    return uint16_t(part.vertices.size() - 1);
}

// a mirroring placement turns the winding inside out; undo that
void addFace(MeshPart& part, bool mirrored, uint16_t a, uint16_t b, uint16_t c)
{
    if (mirrored)
        part.faces.push_back({a, c, b});
    else
        part.faces.push_back({a, b, c});
}

bool insideTriangle(P3 p, P3 a, P3 b, P3 c)
{
    auto side = [](P3 u, P3 v, P3 w) { return (v.x - u.x) * (w.y - u.y) - (v.y - u.y) * (w.x - u.x); };
    return side(a, b, p) > 0 && side(b, c, p) > 0 && side(c, a, p) > 0;
}

// ear clipping of a counter-clockwise outline; returns index triples
std::vector<int> triangulate(const std::vector<P3>& outline)
{
    std::vector<int> left;
    for (size_t i = 0; i < outline.size(); ++i)
        left.push_back(int(i));
    std::vector<int> out;
    size_t guard = 0;
    while (left.size() > 3 && guard++ < outline.size() * outline.size()) {
        size_t n = left.size();
        for (size_t i = 0; i < n; ++i) {
            int ia = left[(i + n - 1) % n], ib = left[i], ic = left[(i + 1) % n];
            P3 a = outline[ia], b = outline[ib], c = outline[ic];
            float turn = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
            if (turn <= 0)
                continue;
            bool ear = true;
            for (int k : left)
                if (k != ia && k != ib && k != ic && insideTriangle(outline[k], a, b, c))
                    ear = false;
            if (!ear)
                continue;
            out.insert(out.end(), {ia, ib, ic});
            left.erase(left.begin() + long(i));
            break;
        }
    }
    if (left.size() == 3)
        out.insert(out.end(), {left[0], left[1], left[2]});
    return out;
}

}  // namespace

P3 Xform::apply(P3 p) const
{
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + t.x,
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + t.y,
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + t.z};
}

float Xform::determinant() const
{
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

Xform Xform::operator*(const Xform& inner) const
{
    Xform r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = m[i][0] * inner.m[0][j] + m[i][1] * inner.m[1][j] + m[i][2] * inner.m[2][j];
    r.t = apply(inner.t);
    return r;
}

Xform Xform::translate(P3 d)
{
    Xform r;
    r.t = d;
    return r;
}

Xform Xform::scale(P3 s)
{
    Xform r;
    r.m[0][0] = s.x;
    r.m[1][1] = s.y;
    r.m[2][2] = s.z;
    return r;
}

static Xform rotation(int axis, float degrees)
{
    float a = degrees * kPi / 180.0f, c = std::cos(a), s = std::sin(a);
    int u = (axis + 1) % 3, v = (axis + 2) % 3;
    Xform r;
    r.m[u][u] = c;
    r.m[u][v] = -s;
    r.m[v][u] = s;
    r.m[v][v] = c;
    return r;
}

Xform Xform::rotateX(float degrees) { return rotation(0, degrees); }
Xform Xform::rotateY(float degrees) { return rotation(1, degrees); }
Xform Xform::rotateZ(float degrees) { return rotation(2, degrees); }

void ModelData::material(const std::string& name, uint8_t r, uint8_t g, uint8_t b)
{
    materials.push_back({name, r, g, b});
}

MeshPart& ModelData::object(const std::string& name, const std::string& materialName)
{
    objects.push_back(MeshPart{name, materialName, {}, {}});
    return objects.back();
}

void addBox(MeshPart& part, const Xform& at)
{
    // each face: outward axis, then four corners counter-clockwise seen from outside
    static const float faces[6][4][3] = {
        {{0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}},
        {{-0.5f, 0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}},
        {{0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}},
        {{-0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, 0.5f}, {-0.5f, -0.5f, 0.5f}},
        {{-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}},
        {{-0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}},
    };
    bool mirrored = at.determinant() < 0;
    for (const auto& face : faces) {
        uint16_t v[4];
        for (int k = 0; k < 4; ++k)
            v[k] = addVertex(part, at.apply({face[k][0], face[k][1], face[k][2]}));
        addFace(part, mirrored, v[0], v[1], v[2]);
        addFace(part, mirrored, v[0], v[2], v[3]);
    }
}

void addBoxMinMax(MeshPart& part, P3 lo, P3 hi)
{
    addBox(part, Xform::translate((lo + hi) * 0.5f) * Xform::scale(hi - lo));
}

void addCylinder(MeshPart& part, const Xform& at, int segments, float bottomRadius, float topRadius,
                 float height, bool bottomCap, bool topCap)
{
    bool mirrored = at.determinant() < 0;
    auto ringPoint = [&](int i, float radius, float z) {
        float a = 2.0f * kPi * float(i % segments) / float(segments);
        return at.apply({radius * std::cos(a), radius * std::sin(a), z});
    };
    uint16_t bottom0 = uint16_t(part.vertices.size());
    for (int i = 0; i < segments; ++i)
        addVertex(part, ringPoint(i, bottomRadius, 0));
    if (topRadius > 0) {
        uint16_t top0 = uint16_t(part.vertices.size());
        for (int i = 0; i < segments; ++i)
            addVertex(part, ringPoint(i, topRadius, height));
        for (int i = 0; i < segments; ++i) {
            uint16_t b0 = uint16_t(bottom0 + i), b1 = uint16_t(bottom0 + (i + 1) % segments);
            uint16_t t0 = uint16_t(top0 + i), t1 = uint16_t(top0 + (i + 1) % segments);
            addFace(part, mirrored, b0, b1, t1);
            addFace(part, mirrored, b0, t1, t0);
        }
        if (topCap) {
            uint16_t centre = addVertex(part, at.apply({0, 0, height}));
            uint16_t ring = uint16_t(part.vertices.size());
            for (int i = 0; i < segments; ++i)
                addVertex(part, ringPoint(i, topRadius, height));
            for (int i = 0; i < segments; ++i)
                addFace(part, mirrored, centre, uint16_t(ring + i), uint16_t(ring + (i + 1) % segments));
        }
    } else {
        uint16_t apex = addVertex(part, at.apply({0, 0, height}));
        for (int i = 0; i < segments; ++i)
            addFace(part, mirrored, uint16_t(bottom0 + i), uint16_t(bottom0 + (i + 1) % segments), apex);
    }
    if (bottomCap) {
        uint16_t centre = addVertex(part, at.apply({0, 0, 0}));
        uint16_t ring = uint16_t(part.vertices.size());
        for (int i = 0; i < segments; ++i)
            addVertex(part, ringPoint(i, bottomRadius, 0));
        for (int i = 0; i < segments; ++i)
            addFace(part, mirrored, centre, uint16_t(ring + (i + 1) % segments), uint16_t(ring + i));
    }
}

Xform pointing(P3 from, P3 dir)
{
    const float degrees = 180.0f / kPi;
    float horizontal = std::sqrt(dir.x * dir.x + dir.y * dir.y);
    float polar = std::atan2(horizontal, dir.z) * degrees;
    float azimuth = std::atan2(dir.y, dir.x) * degrees;
    return Xform::translate(from) * Xform::rotateZ(azimuth) * Xform::rotateY(polar);
}

void addRod(MeshPart& part, P3 from, P3 to, float radius, int segments)
{
    P3 d = to - from;
    addCylinder(part, pointing(from, d), segments, radius, radius, std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z));
}

void addSphere(MeshPart& part, const Xform& at, int slices, int stacks)
{
    bool mirrored = at.determinant() < 0;
    uint16_t north = addVertex(part, at.apply({0, 0, 1}));
    uint16_t first = uint16_t(part.vertices.size());
    for (int k = 1; k < stacks; ++k) {
        float polar = kPi * float(k) / float(stacks);
        for (int i = 0; i < slices; ++i) {
            float a = 2.0f * kPi * float(i) / float(slices);
            addVertex(part, at.apply({std::sin(polar) * std::cos(a), std::sin(polar) * std::sin(a),
                                      std::cos(polar)}));
        }
    }
    uint16_t south = addVertex(part, at.apply({0, 0, -1}));
    auto ring = [&](int k, int i) { return uint16_t(first + (k - 1) * slices + (i % slices)); };
    for (int i = 0; i < slices; ++i)
        addFace(part, mirrored, ring(1, i), ring(1, i + 1), north);
    for (int k = 1; k + 1 < stacks; ++k)
        for (int i = 0; i < slices; ++i) {
            addFace(part, mirrored, ring(k + 1, i), ring(k + 1, i + 1), ring(k, i + 1));
            addFace(part, mirrored, ring(k + 1, i), ring(k, i + 1), ring(k, i));
        }
    for (int i = 0; i < slices; ++i)
        addFace(part, mirrored, south, ring(stacks - 1, i + 1), ring(stacks - 1, i));
}

void addDome(MeshPart& part, const Xform& at, int slices, int stacks)
{
    bool mirrored = at.determinant() < 0;
    uint16_t north = addVertex(part, at.apply({0, 0, 1}));
    uint16_t first = uint16_t(part.vertices.size());
    for (int k = 1; k <= stacks; ++k) {
        float polar = 0.5f * kPi * float(k) / float(stacks);
        for (int i = 0; i < slices; ++i) {
            float a = 2.0f * kPi * float(i) / float(slices);
            float z = k == stacks ? 0.0f : std::cos(polar);
            addVertex(part, at.apply({std::sin(polar) * std::cos(a), std::sin(polar) * std::sin(a), z}));
        }
    }
    auto ring = [&](int k, int i) { return uint16_t(first + (k - 1) * slices + (i % slices)); };
    for (int i = 0; i < slices; ++i)
        addFace(part, mirrored, ring(1, i), ring(1, i + 1), north);
    for (int k = 1; k < stacks; ++k)
        for (int i = 0; i < slices; ++i) {
            addFace(part, mirrored, ring(k + 1, i), ring(k + 1, i + 1), ring(k, i + 1));
            addFace(part, mirrored, ring(k + 1, i), ring(k, i + 1), ring(k, i));
        }
    uint16_t centre = addVertex(part, at.apply({0, 0, 0}));
    uint16_t rim = uint16_t(part.vertices.size());
    for (int i = 0; i < slices; ++i) {
        float a = 2.0f * kPi * float(i) / float(slices);
        addVertex(part, at.apply({std::cos(a), std::sin(a), 0}));
    }
    for (int i = 0; i < slices; ++i)
        addFace(part, mirrored, centre, uint16_t(rim + (i + 1) % slices), uint16_t(rim + i));
}

void flipFaces(MeshPart& part, size_t firstFace)
{
    for (size_t i = firstFace; i < part.faces.size(); ++i)
        std::swap(part.faces[i][1], part.faces[i][2]);
}

void addExtrusion(MeshPart& part, const Xform& at, const std::vector<P3>& outline, float depth)
{
    bool mirrored = at.determinant() < 0;
    size_t n = outline.size();
    for (size_t i = 0; i < n; ++i) {
        P3 a = outline[i], b = outline[(i + 1) % n];
        uint16_t a0 = addVertex(part, at.apply({a.x, a.y, 0}));
        uint16_t b0 = addVertex(part, at.apply({b.x, b.y, 0}));
        uint16_t b1 = addVertex(part, at.apply({b.x, b.y, depth}));
        uint16_t a1 = addVertex(part, at.apply({a.x, a.y, depth}));
        addFace(part, mirrored, a0, b0, b1);
        addFace(part, mirrored, a0, b1, a1);
    }
    std::vector<int> tris = triangulate(outline);
    for (float z : {0.0f, depth}) {
        uint16_t base = uint16_t(part.vertices.size());
        for (P3 p : outline)
            addVertex(part, at.apply({p.x, p.y, z}));
        for (size_t k = 0; k + 2 < tris.size(); k += 3) {
            uint16_t a = uint16_t(base + tris[k]), b = uint16_t(base + tris[k + 1]),
                     c = uint16_t(base + tris[k + 2]);
            if (z == 0.0f)
                addFace(part, mirrored, a, c, b);
            else
                addFace(part, mirrored, a, b, c);
        }
    }
}

void addPolygon(MeshPart& part, const std::vector<P3>& corners)
{
    uint16_t base = uint16_t(part.vertices.size());
    for (P3 p : corners)
        addVertex(part, p);
    for (size_t k = 1; k + 1 < corners.size(); ++k)
        part.faces.push_back({base, uint16_t(base + k), uint16_t(base + k + 1)});
}

std::vector<uint8_t> write3ds(const ModelData& model)
{
    ChunkWriter w;
    beginModelFile(w);
    for (const Material& m : model.materials)
        writeMaterial(w, m.name, {m.r, m.g, m.b});
    for (const MeshPart& part : model.objects) {
        if (part.faces.size() > 65535) {
            std::fprintf(stderr, "assetgen: object %s has too many faces\n", part.name.c_str());
            std::exit(1);
        }
        writeMeshObject(w, part.name, part.vertices, part.faces, part.material);
    }
    endModelFile(w);
    return w.data();
}
