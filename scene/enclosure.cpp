// SPDX-License-Identifier: MIT
// scene: what walls the eye in, in plain arithmetic (the drawing feeds it GL's matrices).
#include "scene/enclosure.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "common/exact_math.h"

namespace {

struct D3 {
    double x, y, z;
};

D3 operator-(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3 cross(D3 a, D3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double length(D3 a) { return std::sqrt(dot(a, a)); }
D3 toD3(Vec3 v) { return {v.x, v.y, v.z}; }

D3 mapPoint(const float m[16], Vec3 p)
{
    return {double(m[0]) * p.x + double(m[4]) * p.y + double(m[8]) * p.z + m[12],
            double(m[1]) * p.x + double(m[5]) * p.y + double(m[9]) * p.z + m[13],
            double(m[2]) * p.x + double(m[6]) * p.y + double(m[10]) * p.z + m[14]};
}

// every edge shared by exactly two faces, once each way round or twice the same way (the faces
// of one closed surface need not agree on their winding)
bool closed(const MeshObject& object)
{
    std::map<std::pair<int32_t, int32_t>, int> edges;
    for (int f = 0; f < object.faceCount; ++f) {
        const MeshFace& face = object.faces[f];
        if (!validFace(object, face))
            return false;
        for (int k = 0; k < 3; ++k) {
            int32_t a = face.vertexIndex[k], b = face.vertexIndex[(k + 1) % 3];
            if (a == b)
                return false;
            ++edges[{std::min(a, b), std::max(a, b)}];
        }
    }
    if (edges.empty())
        return false;
    for (const auto& edge : edges)
        if (edge.second != 2)
            return false;
    return true;
}

// a plane through three corners, facing the inside point
bool inwardPlane(D3 a, D3 b, D3 c, D3 inside, D3& normal, double& offset)
{
    normal = cross(b - a, c - a);
    double n = length(normal);
    if (n < 1e-12)
        return false;
    normal = {normal.x / n, normal.y / n, normal.z / n};
    offset = -dot(normal, a);
    if (dot(normal, inside) + offset < 0) {
        normal = {-normal.x, -normal.y, -normal.z};
        offset = -offset;
    }
    return true;
}

}  // namespace

Ball objectBall(const MeshObject& object, const float toWorld[16])
{
    if (object.vertexCount <= 0)
        return Ball{Vec3{0, 0, 0}, -1.0};
    D3 low = mapPoint(toWorld, object.vertices[0]), high = low;
    for (int v = 1; v < object.vertexCount; ++v) {
        D3 p = mapPoint(toWorld, object.vertices[v]);
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    D3 centre{(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    double radius = 0;
    for (int v = 0; v < object.vertexCount; ++v)
        radius = std::max(radius, length(mapPoint(toWorld, object.vertices[v]) - centre));
    // the float centre handed out stays within the ball's reach
    Vec3 c{float(centre.x), float(centre.y), float(centre.z)};
    return Ball{c, radius + length(toD3(c) - centre) + 1e-6 * (1 + radius)};
}

bool objectWallsEyeIn(const MeshObject& object, const float toWorld[16], const Vec3* inside,
                      int insideCount, double margin, Ball& ball)
{
    if (object.faceCount < 4 || object.vertexCount < 4)
        return false;
    std::vector<D3> corners(size_t(object.vertexCount));
    D3 mean{0, 0, 0};
    for (int v = 0; v < object.vertexCount; ++v) {
        corners[size_t(v)] = mapPoint(toWorld, object.vertices[v]);
        mean = {mean.x + corners[size_t(v)].x, mean.y + corners[size_t(v)].y,
                mean.z + corners[size_t(v)].z};
    }
    mean = {mean.x / object.vertexCount, mean.y / object.vertexCount, mean.z / object.vertexCount};
    const double flat = 1e-6 * (1 + length(corners[0] - mean));
    // the points first (they fail at once for most objects), then a closed surface, then a convex
    // one: every corner on the inner side of every face's plane, which makes the mean an inner
    // point and the planes the surface's own
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1 && !closed(object))
            return false;
        for (int f = 0; f < object.faceCount; ++f) {
            const int32_t* k = object.faces[f].vertexIndex;
            if (!validFace(object, object.faces[f]))
                return false;
            D3 normal;
            double offset;
            if (!inwardPlane(corners[size_t(k[0])], corners[size_t(k[1])], corners[size_t(k[2])],
                             mean, normal, offset))
                return false;
            if (pass == 0) {
                for (int p = 0; p < insideCount; ++p)
                    if (dot(normal, toD3(inside[p])) + offset <= margin)
                        return false;
                continue;
            }
            for (const D3& c : corners)
                if (dot(normal, c) + offset < -flat)
                    return false;
        }
    }
    ball = objectBall(object, toWorld);
    return true;
}

bool viewCorners(const double p[16], const double m[16], Vec3 corners[5])
{
    // gluPerspective's or glFrustum's form only
    if (p[3] != 0.0 || p[7] != 0.0 || p[11] != -1.0 || p[15] != 0.0 || p[0] <= 0.0 ||
        p[5] <= 0.0 || p[10] == 1.0)
        return false;
    // the columns of the modelview's 3x3 part orthonormal, its bottom row 0 0 0 1
    if (m[3] != 0.0 || m[7] != 0.0 || m[11] != 0.0 || m[15] != 1.0)
        return false;
    const D3 c[3] = {{m[0], m[1], m[2]}, {m[4], m[5], m[6]}, {m[8], m[9], m[10]}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (std::fabs(dot(c[i], c[j]) - (i == j ? 1.0 : 0.0)) > 1e-5)
                return false;
    const double nearPlane = p[14] / (p[10] - 1.0);
    if (!(nearPlane > 0.0))
        return false;
    const double left = nearPlane * (p[8] - 1.0) / p[0], right = nearPlane * (p[8] + 1.0) / p[0];
    const double bottom = nearPlane * (p[9] - 1.0) / p[5], top = nearPlane * (p[9] + 1.0) / p[5];
    const D3 t{m[12], m[13], m[14]};
    // eye space to the modelview's own: the transposed 3x3 part after taking off the translation
    auto back = [&](D3 e) {
        D3 d = e - t;
        return Vec3{float(dot(c[0], d)), float(dot(c[1], d)), float(dot(c[2], d))};
    };
    corners[0] = back({0, 0, 0});
    corners[1] = back({left, bottom, -nearPlane});
    corners[2] = back({right, bottom, -nearPlane});
    corners[3] = back({right, top, -nearPlane});
    corners[4] = back({left, top, -nearPlane});
    return true;
}

bool ballInsideTessellatedSphere(const Ball& ball, Vec3 centre, double radius, int slices,
                                 int stacks, double margin)
{
    if (slices < 3 || stacks < 2)
        return false;
    const double pi = vxAcos(-1.0);
    auto corner = [&](int stack, int slice) {
        double polar = pi * stack / stacks, around = 2 * pi * slice / slices;
        return D3{centre.x + radius * vxSin(polar) * vxCos(around),
                  centre.y + radius * vxCos(polar),
                  centre.z + radius * vxSin(polar) * vxSin(around)};
    };
    // the faces are the quads between neighbouring corners (triangles at the poles); their
    // hull holds the ball of the nearest face plane's distance round the centre, however the
    // sphere is turned about its centre
    const D3 inside = toD3(centre);
    double inscribed = radius;
    for (int stack = 0; stack < stacks; ++stack)
        for (int slice = 0; slice < slices; ++slice) {
            D3 a = corner(stack, slice), b = corner(stack + 1, slice),
               c = corner(stack + 1, slice + 1);
            if (stack == stacks - 1)
                c = corner(stack, slice + 1);
            D3 normal;
            double offset;
            if (!inwardPlane(a, b, c, inside, normal, offset))
                return false;
            inscribed = std::min(inscribed, dot(normal, inside) + offset);
        }
    return length(toD3(ball.centre) - inside) + ball.radius + margin < inscribed * (1 - 1e-6);
}

bool ballsApart(const Ball& a, const Ball& b, double margin)
{
    return length(toD3(a.centre) - toD3(b.centre)) > a.radius + b.radius + margin;
}
