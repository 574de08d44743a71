// SPDX-License-Identifier: MIT
// assetgen: the cover objects the player steps behind: bush, bench, pool and coyote. All z-up,
// standing on z = 0 and built to the size the game draws them at (their longest reach below zero
// is drawn as 2, 2, 2 and 3), so the numbers here are the sizes seen in the yard. The bush is
// drawn 2.5 times taller than built.
#include <cmath>
#include <string>

#include "tools/assetgen/assetgen.h"

namespace {

constexpr float kPi = 3.14159265358979f;

Xform ellipsoid(P3 centre, P3 radii) { return Xform::translate(centre) * Xform::scale(radii); }

// a flat-topped ring between two radii, seen from every side
void addRing(MeshPart& part, int segments, float inner, float outer, float z0, float z1)
{
    Xform base = Xform::translate({0, 0, z0});
    addCylinder(part, base, segments, outer, outer, z1 - z0, false, false);
    size_t innerFaces = part.faces.size();
    addCylinder(part, base, segments, inner, inner, z1 - z0, false, false);
    flipFaces(part, innerFaces);
    for (float z : {z0, z1}) {
        size_t first = part.faces.size();
        for (int i = 0; i < segments; ++i) {
            float a0 = 2 * kPi * float(i) / float(segments), a1 = 2 * kPi * float(i + 1) / float(segments);
            addPolygon(part, {{outer * std::cos(a0), outer * std::sin(a0), z}, {outer * std::cos(a1), outer * std::sin(a1), z},
                              {inner * std::cos(a1), inner * std::sin(a1), z}, {inner * std::cos(a0), inner * std::sin(a0), z}});
        }
        if (z == z0)
            flipFaces(part, first);
    }
}

}  // namespace

// A rounded mound of leafy lumps, none below z = 0: the game lifts the bush before stretching it
// 2.5 times upwards, so anything below would sink 1.5 times as deep. Textured with grass seen
// from above.
ModelData makeBush()
{
    ModelData bush;
    bush.material("foliage", 34, 70, 30);
    Rng rng(0xB05Cu);
    MeshPart& core = bush.object("lumpCore", "foliage");
    addSphere(core, ellipsoid({0, 0, 0.56f}, {1.2f, 1.1f, 0.56f}), 16, 9);
    for (int i = 0; i < 7; ++i) {
        float a = (float(i) * 360.0f / 7.0f + rng.range(-12, 12)) / 180.0f * kPi;
        float across = rng.range(0.72f, 0.9f), up = rng.range(0.3f, 0.42f);
        float out = rng.range(0.95f, 1.08f);
        MeshPart& lump = bush.object("lump" + std::to_string(i + 1), "foliage");
        addSphere(lump, ellipsoid({out * std::cos(a), out * std::sin(a), up + rng.range(0, 0.1f)}, {across, across * 0.9f, up}),
                  14, 8);
    }
    MeshPart& crown = bush.object("lumpCrown", "foliage");
    addSphere(crown, ellipsoid({0.15f, -0.1f, 0.88f}, {0.7f, 0.65f, 0.32f}), 14, 8);
    return bush;
}

// A garden bench 4 long with its back to +y.
ModelData makeBench()
{
    ModelData bench;
    bench.material("wood", 128, 64, 0);
    // side frame in (depth, height): front leg and arm post, seat rail, back leg rising into the
    // back post
    const std::vector<P3> kSide = {{-0.5f, 0, 0},     {-0.38f, 0, 0},    {-0.38f, 0.74f, 0}, {0.38f, 0.74f, 0},
                                   {0.38f, 0, 0},     {0.5f, 0, 0},      {0.5f, 0.86f, 0},   {0.68f, 1.9f, 0},
                                   {0.56f, 1.9f, 0},  {0.4f, 0.9f, 0},   {-0.38f, 0.9f, 0},  {-0.38f, 1.3f, 0},
                                   {-0.5f, 1.3f, 0}};
    Xform sideways;  // outline x -> y, outline y -> z, extrusion -> x
    sideways.m[0][0] = 0, sideways.m[0][2] = 1;
    sideways.m[1][0] = 1, sideways.m[1][1] = 0;
    sideways.m[2][1] = 1, sideways.m[2][2] = 0;
    for (float x : {-1.86f, 1.74f}) {
        MeshPart& frame = bench.object(x < 0 ? "frameLeft" : "frameRight", "wood");
        addExtrusion(frame, Xform::translate({x, 0, 0}) * sideways, kSide, 0.12f);
        addBoxMinMax(frame, {x - 0.03f, -0.58f, 1.3f}, {x + 0.15f, 0.5f, 1.37f});  // arm rest
    }
    MeshPart& seat = bench.object("seat", "wood");
    for (int k = 0; k < 5; ++k) {
        float y = -0.54f + 0.19f * float(k);
        addBoxMinMax(seat, {-2.0f, y, 0.9f}, {2.0f, y + 0.15f, 0.97f});
    }
    MeshPart& back = bench.object("back", "wood");
    for (int k = 0; k < 3; ++k) {
        float z = 1.15f + 0.25f * float(k);
        float y = 0.5f + (z - 0.9f) * 0.17f;
        addBox(back, Xform::translate({0, y, z}) * Xform::rotateX(-10) * Xform::scale({3.6f, 0.06f, 0.17f}));
    }
    return bench;
}

// A round above-ground pool with a ladder over its wall.
ModelData makePool()
{
    ModelData pool;
    pool.material("liner", 60, 140, 200);
    const float kWall = 2.0f, kInner = 1.88f, kRimZ = 1.1f, kWater = 0.95f;
    MeshPart& wall = pool.object("wall", "liner");
    addCylinder(wall, Xform(), 36, kWall, kWall, kRimZ, false, false);
    size_t inside = wall.faces.size();
    addCylinder(wall, Xform::translate({0, 0, kWater - 0.01f}), 36, kInner, kInner, kRimZ - kWater + 0.01f, false, false);
    flipFaces(wall, inside);
    MeshPart& rim = pool.object("rim", "liner");
    addRing(rim, 36, kInner - 0.02f, kWall + 0.08f, kRimZ, kRimZ + 0.05f);
    MeshPart& water = pool.object("water", "liner");
    addCylinder(water, Xform(), 36, kInner, kInner, kWater, false, true);
    MeshPart& posts = pool.object("posts", "liner");
    for (int i = 0; i < 12; ++i) {
        float a = (float(i) + 0.5f) * 30.0f;
        addBox(posts, Xform::rotateZ(a) * Xform::translate({kWall + 0.04f, 0, kRimZ * 0.5f}) * Xform::scale({0.08f, 0.12f, kRimZ}));
    }
    MeshPart& ladder = pool.object("ladder", "liner");
    for (float y : {-0.25f, 0.25f}) {
        addRod(ladder, {kWall + 0.55f, y, 0}, {kWall + 0.08f, y, kRimZ + 0.35f}, 0.03f);
        addRod(ladder, {kWall + 0.08f, y, kRimZ + 0.35f}, {kInner - 0.1f, y, kRimZ + 0.35f}, 0.03f);
        addRod(ladder, {kInner - 0.1f, y, kRimZ + 0.35f}, {kInner - 0.5f, y, 0.3f}, 0.03f);
    }
    for (int k = 1; k <= 3; ++k) {
        float t = float(k) / 4.0f;
        float x = kWall + 0.55f - 0.47f * t, z = (kRimZ + 0.35f) * t;
        addRod(ladder, {x, -0.25f, z}, {x, 0.25f, z}, 0.025f);
    }
    return pool;
}

// A coyote statue, nose at x = 0 and tail out to x = -3, standing on its four feet.
ModelData makeCoyote()
{
    ModelData coyote;
    coyote.material("stone", 128, 128, 128);
    MeshPart& body = coyote.object("body", "stone");
    addSphere(body, ellipsoid({-1.2f, 0, 0.76f}, {0.62f, 0.21f, 0.24f}), 16, 10);
    addSphere(body, ellipsoid({-0.76f, 0, 0.8f}, {0.3f, 0.2f, 0.27f}), 14, 8);
    MeshPart& neck = coyote.object("neck", "stone");
    addSphere(neck, Xform::translate({-0.6f, 0, 0.94f}) * Xform::rotateY(40) * Xform::scale({0.17f, 0.15f, 0.3f}), 12, 8);
    MeshPart& head = coyote.object("head", "stone");
    addSphere(head, ellipsoid({-0.38f, 0, 1.18f}, {0.19f, 0.14f, 0.14f}), 14, 8);
    MeshPart& snout = coyote.object("snout", "stone");
    addCylinder(snout, pointing({-0.3f, 0, 1.15f}, {1.0f, 0, -0.28f}), 10, 0.08f, 0.0f, 0.31f);
    MeshPart& ears = coyote.object("ears", "stone");
    for (float side : {-1.0f, 1.0f})
        addCylinder(ears, pointing({-0.44f, side * 0.07f, 1.26f}, {-0.12f, side * 0.3f, 1.0f}), 8, 0.055f, 0.0f, 0.19f);
    MeshPart& legs = coyote.object("legs", "stone");
    for (float side : {-1.0f, 1.0f}) {
        float y = side * 0.1f;
        addCylinder(legs, pointing({-0.8f, y, 0.02f}, {0.02f, 0, 1.0f}), 8, 0.035f, 0.06f, 0.74f);
        addSphere(legs, ellipsoid({-1.56f, side * 0.12f, 0.6f}, {0.2f, 0.08f, 0.22f}), 10, 6);
        addCylinder(legs, pointing({-1.7f, side * 0.12f, 0.02f}, {0.14f, 0, 0.55f}), 8, 0.035f, 0.05f, 0.6f);
        addSphere(legs, ellipsoid({-0.76f, y, 0.025f}, {0.07f, 0.04f, 0.025f}), 8, 4);
        addSphere(legs, ellipsoid({-1.67f, side * 0.12f, 0.025f}, {0.07f, 0.04f, 0.025f}), 8, 4);
    }
    MeshPart& tail = coyote.object("tail", "stone");
    addSphere(tail, Xform::translate({-2.3f, 0, 0.52f}) * Xform::rotateY(-25) * Xform::scale({0.62f, 0.13f, 0.14f}), 14, 8);
    return coyote;
}
