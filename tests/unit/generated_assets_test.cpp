// SPDX-License-Identifier: MIT
// The generated asset set, read back through the game's own loaders: what the drawing relies on
// (object counts, colours, sizes, the house's walls where the game's fixed boxes are, faces turned
// outwards, somewhere for every plant to stand), the textures' shapes, the grunt, and the
// generator giving the same bytes on every run. No display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "assets/bmp_loader.h"
#include "scene/house_solids.h"
#include "scene/world.h"

namespace {

const char* const kAssetFiles[] = {
    "house.3DS",  "windowFrames.3DS", "windowPanes.3DS", "brdLeaf.3DS", "BBQ.3DS", "bush1.3DS",
    "bench.3DS",  "pool.3ds",         "coyote.3ds",      "Stucco.bmp",  "Grass.bmp", "GreldaVane1.bmp",
    "sky32.bmp",  "moon1.bmp",        "egg.bmp",         "grunt.wav"};

std::string makeScratchDir()
{
    char name[] = "/tmp/vx-assets-XXXXXX";
    const char* dir = mkdtemp(name);
    return dir ? dir : "";
}

void removeDir(const std::string& dir)
{
    std::string command = "rm -rf '" + dir + "'";
    (void)std::system(command.c_str());
}

// runs the generator built beside this test into a new directory
std::string generateInto()
{
    const char* binaryDir = std::getenv("VX_BINARY_DIR");
    if (!binaryDir)
        return "";
    std::string dir = makeScratchDir();
    std::string command = std::string(binaryDir) + "/tools/assetgen '" + dir + "'";
    if (dir.empty() || std::system(command.c_str()) != 0)
        return "";
    return dir;
}

std::vector<char> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One generated set and a World (without GL) read from it, shared by the tests.
struct Assets {
    std::string dir;
    World* world = nullptr;
};

Assets& assets()
{
    static Assets a;
    if (!a.world) {
        a.dir = generateInto();
        EXPECT_FALSE(a.dir.empty()) << "assetgen did not run (VX_BINARY_DIR set?)";
        char previous[4096];
        EXPECT_NE(getcwd(previous, sizeof previous), nullptr);
        EXPECT_EQ(chdir(a.dir.c_str()), 0);
        a.world = new World();
        EXPECT_EQ(chdir(previous), 0);
        std::atexit([] { removeDir(assets().dir); });
    }
    return a;
}

Model& model(int index) { return assets().world->models[index]; }

// --- geometry in the frame the game draws in -------------------------------------------------

struct Triangle {
    Vec3 a, b, c;
};

Vec3 cross(Vec3 a, Vec3 b) { return vecCross(a, b); }

Vec3 faceNormal(const Triangle& t) { return cross(vecSub(t.b, t.a), vecSub(t.c, t.a)); }

Vec3 centroid(const Triangle& t) { return vecScale(vecAdd(vecAdd(t.a, t.b), t.c), 1.0f / 3.0f); }

// the house group as the World draws it, in the house frame: x and z by scale / houseSize, y by
// half that
Vec3 drawnHouse(Vec3 v)
{
    float k = 11.377778f / assets().world->houseSize;
    return Vec3{v.x * k, v.y * k * 0.5f, v.z * k};
}

std::vector<Triangle> trianglesOf(const MeshObject& o, Vec3 (*place)(Vec3))
{
    std::vector<Triangle> out;
    for (int f = 0; f < o.faceCount; ++f) {
        const int32_t* i = o.faces[f].vertexIndex;
        out.push_back({place(o.vertices[i[0]]), place(o.vertices[i[1]]), place(o.vertices[i[2]])});
    }
    return out;
}

Vec3 asLoaded(Vec3 v) { return v; }

// distance along the ray to the triangle, or -1
double rayHit(Vec3 origin, Vec3 dir, const Triangle& t)
{
    Vec3 e1 = vecSub(t.b, t.a), e2 = vecSub(t.c, t.a);
    Vec3 p = cross(dir, e2);
    double det = vecDot(e1, p);
    if (std::fabs(det) < 1e-12)
        return -1;
    Vec3 s = vecSub(origin, t.a);
    double u = vecDot(s, p) / det;
    Vec3 q = cross(s, e1);
    double v = vecDot(dir, q) / det;
    double along = vecDot(e2, q) / det;
    if (u < 0 || v < 0 || u + v > 1 || along <= 0)
        return -1;
    return along;
}

// how many closed surfaces of the set enclose the point: crossings out minus crossings in along
// a ray
int windingNumber(Vec3 point, Vec3 dir, const std::vector<Triangle>& surface)
{
    int winding = 0;
    for (const Triangle& t : surface)
        if (rayHit(point, dir, t) > 0)
            winding += vecDot(faceNormal(t), dir) > 0 ? 1 : -1;
    return winding;
}

// Every face of closed solids is turned outwards: just behind it lies inside something of the
// same object, and no deeper in than just in front of it. Each count looks along a ray leaving
// the face, so the face itself never decides its own test.
void expectFacesOutward(const std::vector<Triangle>& surface, const std::string& what)
{
    const Vec3 skew = vecNormalize(Vec3{0.5731f, 0.6121f, 0.5447f});
    int wrong = 0;
    for (const Triangle& t : surface) {
        Vec3 n = vecNormalize(faceNormal(t));
        Vec3 c = centroid(t);
        Vec3 back = vecNormalize(vecAdd(vecScale(n, -1), vecScale(skew, 0.3f)));
        Vec3 front = vecNormalize(vecAdd(n, vecScale(skew, 0.3f)));
        int behind = windingNumber(vecSub(c, vecScale(n, 1e-3f)), back, surface);
        int before = windingNumber(vecAdd(c, vecScale(n, 1e-3f)), front, surface);
        if (behind < 1 || behind < before)
            ++wrong;
    }
    EXPECT_EQ(wrong, 0) << what << ": faces turned inwards";
}

struct Bounds {
    Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    void add(Vec3 v)
    {
        lo = Vec3{std::fmin(lo.x, v.x), std::fmin(lo.y, v.y), std::fmin(lo.z, v.z)};
        hi = Vec3{std::fmax(hi.x, v.x), std::fmax(hi.y, v.y), std::fmax(hi.z, v.z)};
    }
};

Bounds drawnBounds(const MeshObject& o)
{
    Bounds b;
    for (int v = 0; v < o.vertexCount; ++v)
        b.add(drawnHouse(o.vertices[v]));
    return b;
}

// the whole house group's faces in the house frame, for rays cast down onto it
std::vector<Triangle> houseGroupTriangles()
{
    std::vector<Triangle> all;
    for (int m = kModelHouse; m <= kModelWindowPanes; ++m)
        for (int k = 0; k < model(m).objectCount; ++k) {
            std::vector<Triangle> t = trianglesOf(model(m).objects[k], drawnHouse);
            all.insert(all.end(), t.begin(), t.end());
        }
    return all;
}

// the height of the first surface below the point, or -100
float surfaceBelow(Vec3 from, const std::vector<Triangle>& triangles)
{
    double nearest = -1;
    for (const Triangle& t : triangles) {
        double d = rayHit(from, Vec3{0, -1, 0}, t);
        if (d > 0 && (nearest < 0 || d < nearest))
            nearest = d;
    }
    return nearest < 0 ? -100.0f : float(from.y - nearest);
}

// --- models -----------------------------------------------------------------------------------

TEST(GeneratedModels, EveryModelLoadsWithWhatItsDrawingNeeds)
{
    const int minimumObjects[kModelCount] = {5, 1, 1, 12, 17, 1, 1, 1, 1};
    for (int m = 0; m < kModelCount; ++m) {
        const Model& md = model(m);
        EXPECT_GE(md.objectCount, minimumObjects[m]) << "model " << m;
        EXPECT_GE(md.materialCount, 1) << "model " << m;
        EXPECT_GT(md.size, 0.0f) << "model " << m;
        for (int k = 0; k < md.objectCount; ++k) {
            const MeshObject& o = md.objects[k];
            EXPECT_GT(o.faceCount, 0) << "model " << m << " object " << k;
            EXPECT_GE(o.materialIndex, 0) << "model " << m << " object " << k << " has no material";
        }
    }
}

TEST(GeneratedModels, EveryDrawnVertexHasAFiniteUnitNormal)
{
    for (int m = 0; m < kModelCount; ++m)
        for (int k = 0; k < model(m).objectCount; ++k) {
            const MeshObject& o = model(m).objects[k];
            std::vector<bool> used(size_t(o.vertexCount), false);
            for (int f = 0; f < o.faceCount; ++f)
                for (int32_t i : o.faces[f].vertexIndex) {
                    ASSERT_GE(i, 0);
                    ASSERT_LT(i, o.vertexCount) << "model " << m << " object " << k;
                    used[size_t(i)] = true;
                }
            for (int v = 0; v < o.vertexCount; ++v) {
                EXPECT_TRUE(used[size_t(v)]) << "model " << m << " object " << k << " vertex " << v << " unused";
                double length = vecLength(o.normals[v]);
                EXPECT_TRUE(std::isfinite(length) && std::fabs(length - 1.0) < 1e-3)
                    << "model " << m << " object " << k << " vertex " << v;
            }
        }
}

TEST(GeneratedModels, PresetsLandOnTheIntendedObjects)
{
    // leaves, and the pot, soil and stems in their own colours
    const Model& plant = model(kModelPlant);
    for (int k = 0; k < plant.objectCount; ++k) {
        bool leaf = k == 0 || k == 2 || k == 4 || k == 6 || k == 8 || k == 11;
        EXPECT_EQ(std::string(plant.objects[k].name).rfind("leaf", 0) == 0, leaf) << plant.objects[k].name;
    }
    // the kettle's bowl and lid are the black objects 3 and 4, its side tables wooden 0 and 13
    const Model& bbq = model(kModelBbq);
    EXPECT_STREQ(bbq.objects[3].name, "bowl");
    EXPECT_STREQ(bbq.objects[4].name, "lid");
    EXPECT_STREQ(bbq.objects[0].name, "tableLeft");
    EXPECT_STREQ(bbq.objects[13].name, "tableRight");
}

TEST(GeneratedModels, YardModelsReachTheirDrawnSizeAndStandOnTheirLowestPoint)
{
    // a model's size is drawn as its scale; the bush must sit on z = 0 or its 2.5-fold stretch
    // would sink it
    for (int m = kModelPlant; m <= kModelCoyote; ++m) {
        const Model& md = model(m);
        EXPECT_NEAR(md.size, md.scale, 0.15f * md.scale) << "model " << m << " built at another size";
        EXPECT_NEAR(md.minCorner.y, 0.0f, 0.02f) << "model " << m;
    }
    // the cover objects are tall enough to crouch behind (eye 0.75 above the ground)
    auto drawnHeight = [](int m, float stretch) {
        const Model& md = model(m);
        float top = 0;
        for (int k = 0; k < md.objectCount; ++k)
            for (int v = 0; v < md.objects[k].vertexCount; ++v)
                top = std::fmax(top, md.objects[k].vertices[v].y);
        return top * md.scale / md.size * stretch;
    };
    EXPECT_GT(drawnHeight(kModelBbq, 1.0f), 1.0f);
    EXPECT_GT(drawnHeight(kModelBush, 2.5f), 2.0f);
    EXPECT_GT(drawnHeight(kModelBench, 1.0f), 1.5f);
    EXPECT_GT(drawnHeight(kModelPool, 1.0f), 0.9f);
    EXPECT_GT(drawnHeight(kModelCoyote, 1.0f), 1.0f);
}

TEST(GeneratedModels, ClosedSolidsOfTheYardModelsFaceOutwards)
{
    for (int m : {kModelPlant, kModelBbq, kModelBush, kModelBench, kModelCoyote})
        for (int k = 0; k < model(m).objectCount; ++k)
            expectFacesOutward(trianglesOf(model(m).objects[k], asLoaded),
                               "model " + std::to_string(m) + " " + model(m).objects[k].name);
}

// --- the house group --------------------------------------------------------------------------

TEST(GeneratedHouse, TheGroupScaleIsOneAndItsWallsMeetTheGameBoxes)
{
    EXPECT_NEAR(assets().world->houseSize, 11.377778f, 1e-4f);
    struct Expected {
        float x0, x1, y0, y1, z0, z1;
    };
    const Expected walls[5] = {
        {-8.325f, 8.325f, 0, 6.937f, -11.1f, -11.1f},     // back
        {-8.325f, 8.325f, 2.775f, 6.937f, 5.55f, 5.55f},  // main block's front, above the porch
        {-8.325f, 8.325f, 0, 2.775f, 8.325f, 8.325f},     // porch front
        {-8.325f, -8.325f, 0, 6.937f, -11.1f, 8.325f},    // left
        {8.325f, 8.325f, 0, 6.937f, -11.1f, 8.325f},      // right
    };
    for (int k = 0; k < 5; ++k) {
        Bounds b = drawnBounds(model(kModelHouse).objects[k]);
        const Expected& e = walls[k];
        EXPECT_NEAR(b.lo.x, e.x0, 0.05f) << "wall " << k;
        EXPECT_NEAR(b.hi.x, e.x1, 0.05f) << "wall " << k;
        EXPECT_NEAR(b.lo.y, e.y0, 0.05f) << "wall " << k;
        EXPECT_NEAR(b.hi.y, e.y1, 0.05f) << "wall " << k;
        EXPECT_NEAR(b.lo.z, e.z0, 0.05f) << "wall " << k;
        EXPECT_NEAR(b.hi.z, e.z1, 0.05f) << "wall " << k;
    }
}

TEST(GeneratedHouse, WallsAndPanesFaceAwayFromTheHouse)
{
    // objects 0-2 face along z, 3 and 4 along x, as the stucco projection expects
    const Vec3 outward[5] = {{0, 0, -1}, {0, 0, 1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}};
    for (int k = 0; k < 5; ++k)
        for (const Triangle& t : trianglesOf(model(kModelHouse).objects[k], drawnHouse))
            EXPECT_GT(vecDot(vecNormalize(faceNormal(t)), outward[k]), 0.999f) << "wall " << k;

    // each pane faces out of the wall it lies on
    for (int k = 0; k < model(kModelWindowPanes).objectCount; ++k)
        for (const Triangle& t : trianglesOf(model(kModelWindowPanes).objects[k], drawnHouse)) {
            Vec3 c = centroid(t), n = vecNormalize(faceNormal(t));
            bool onSide = std::fabs(std::fabs(c.x) - 8.325f) < 0.1f;
            Vec3 expected = onSide ? Vec3{c.x < 0 ? -1.0f : 1.0f, 0, 0} : Vec3{0, 0, c.z < 0 ? -1.0f : 1.0f};
            EXPECT_GT(vecDot(n, expected), 0.999f) << "pane of object " << k;
        }
}

TEST(GeneratedHouse, EverythingElseOfTheGroupIsClosedAndFacesOutwards)
{
    for (int m = kModelHouse; m <= kModelWindowFrames; ++m)
        for (int k = m == kModelHouse ? 5 : 0; k < model(m).objectCount; ++k)
            expectFacesOutward(trianglesOf(model(m).objects[k], drawnHouse),
                               "model " + std::to_string(m) + " " + model(m).objects[k].name);
}

// drawnHouse as a matrix, for the drawing's own checks
void drawnHouseMatrix(float m[16])
{
    const float k = 11.377778f / assets().world->houseSize;
    const float diagonal[16] = {k, 0, 0, 0, 0, k * 0.5f, 0, 0, 0, 0, k, 0, 0, 0, 0, 1};
    std::copy(diagonal, diagonal + 16, m);
}

// The ground behind the house is left out of the frame when the house's blocks hide it: from
// eyes where a player stands, every line into a block crosses a face of the house turned
// towards the eye before it gets there.
TEST(GeneratedHouse, WhatItsBlocksHideItsWallsHide)
{
    float toHouse[16];
    drawnHouseMatrix(toHouse);
    ASSERT_TRUE(wallsCloseHouseBlocks(model(kModelHouse), toHouse));
    std::vector<Triangle> house;
    for (int k = 0; k < model(kModelHouse).objectCount; ++k) {
        std::vector<Triangle> t = trianglesOf(model(kModelHouse).objects[k], drawnHouse);
        house.insert(house.end(), t.begin(), t.end());
    }
    uint32_t seed = 12345;
    auto uniform = [&seed](float low, float high) {
        seed = seed * 1664525u + 1013904223u;
        return low + (high - low) * float(seed >> 8) / float(1u << 24);
    };
    int lines = 0, uncovered = 0;
    while (lines < 400) {
        const float turn = uniform(0, 6.2831853f), reach = uniform(10, 30);
        const Vec3 eye{reach * std::cos(turn), uniform(0.15f, 2.6f), reach * std::sin(turn)};
        if (!eyeSeesHouseBlocksFromOutside(eye))
            continue;
        for (const SolidBox& block : houseBlocks()) {
            const Vec3 inside{uniform(block.low.x, block.high.x), uniform(block.low.y, block.high.y),
                              uniform(block.low.z, block.high.z)};
            const Vec3 point = vecAdd(eye, vecScale(vecSub(inside, eye), uniform(1.0f, 3.0f)));
            ASSERT_TRUE(lineEntersBox(eye, point, block));
            ++lines;
            const Vec3 along = vecSub(point, eye);
            uncovered += std::none_of(house.begin(), house.end(), [&](const Triangle& t) {
                double at = rayHit(eye, along, t);
                return at > 0 && at < 1 && vecDot(faceNormal(t), along) < 0;
            });
        }
    }
    EXPECT_EQ(uncovered, 0) << "of " << lines << " lines into the blocks";
}

TEST(GeneratedHouse, AHouseThatDoesNotCloseItsBlocksHidesNothing)
{
    float toHouse[16];
    drawnHouseMatrix(toHouse);
    Model holed = model(kModelHouse);  // shares the loaded arrays, which it only reads
    holed.objects[0].faceCount -= 1;
    EXPECT_FALSE(wallsCloseHouseBlocks(holed, toHouse)) << "half the back wall gone";

    Model turnedIn = model(kModelHouse);
    const MeshObject& left = turnedIn.objects[3];
    std::vector<MeshFace> flipped(left.faces, left.faces + left.faceCount);
    for (MeshFace& face : flipped)
        std::swap(face.vertexIndex[1], face.vertexIndex[2]);
    turnedIn.objects[3].faces = flipped.data();
    EXPECT_FALSE(wallsCloseHouseBlocks(turnedIn, toHouse)) << "the left wall facing in";

    // a face pointing past its object's vertices is skipped, as the drawing skips it
    Model badFace = model(kModelHouse);
    const MeshObject& back = badFace.objects[0];
    std::vector<MeshFace> faces(back.faces, back.faces + back.faceCount);
    faces.push_back(MeshFace{{0, 1, back.vertexCount}});
    badFace.objects[0].faces = faces.data();
    badFace.objects[0].faceCount += 1;
    EXPECT_TRUE(wallsCloseHouseBlocks(badFace, toHouse)) << "a face out of range";

    toHouse[12] = 0.5f;
    EXPECT_FALSE(wallsCloseHouseBlocks(model(kModelHouse), toHouse)) << "drawn off its blocks";
    drawnHouseMatrix(toHouse);
    toHouse[5] *= 0.9f;
    EXPECT_FALSE(wallsCloseHouseBlocks(model(kModelHouse), toHouse)) << "drawn lower";
}

TEST(GeneratedHouse, OnlyAnEyeOutsideBelowThePorchRoofIsHiddenFrom)
{
    const struct {
        Vec3 eye;
        bool sees;
        const char* what;
    } rows[] = {
        {{0, 1.5f, 25.6f}, true, "a station in front"},
        {{-25.6f, 1.5f, 0}, true, "a station at the side"},
        {{9, 1, 0}, true, "just beside the house"},
        {{0, 1, -11.5f}, true, "just behind the back wall"},
        {{0, 3, 25.6f}, false, "above the porch's roof"},
        {{0, 0.05f, 25.6f}, false, "at the ground"},
        {{0, 1, 0}, false, "inside the main block"},
        {{0, 1, 7}, false, "inside the porch"},
        {{0, 1, 8.35f}, false, "within the margin of the porch's wall"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(eyeSeesHouseBlocksFromOutside(row.eye), row.sees) << row.what;
}

TEST(GeneratedHouse, FlatRoofsAtTheWallHeights)
{
    std::vector<Triangle> roof = trianglesOf(model(kModelHouse).objects[5], drawnHouse);
    for (float x : {-7.0f, 0.0f, 7.0f}) {
        for (float z : {-10.0f, 0.0f, 5.0f}) {
            float top = surfaceBelow(Vec3{x, 20, z}, roof);
            EXPECT_GE(top, 6.937f - 0.01f) << x << ", " << z;
            EXPECT_LE(top, 7.07f) << x << ", " << z;
        }
        float porch = surfaceBelow(Vec3{x, 20, 7.0f}, roof);
        EXPECT_GE(porch, 2.775f - 0.01f) << x;
        EXPECT_LE(porch, 2.96f) << x;
    }
}

TEST(GeneratedHouse, EveryRaisedPlantHasSomethingToStandOn)
{
    // the plants' lowest points in the house frame, level by level
    const Vec3 plants[] = {{-8.6f, 0.6f, -6.6f}, {-4.1f, 0.6f, -11.6f}, {8.6f, 0.65f, -6.1f}, {8.4f, 4.6f, -7.3f},
                           {2.9f, 4.6f, -11.3f}, {3.9f, 0.6f, -11.3f},  {-4.1f, 0.6f, 8.6f},  {8.6f, 0.65f, 6.4f},
                           {3.4f, 4.55f, 5.8f},  {5.4f, 2.95f, 8.1f},   {-6.6f, 2.95f, 8.1f}, {-8.6f, 4.5f, 0.9f}};
    std::vector<Triangle> group = houseGroupTriangles();
    for (const Vec3& p : plants)
        EXPECT_NEAR(surfaceBelow(Vec3{p.x, p.y + 0.3f, p.z}, group), p.y, 0.02f)
            << "plant at " << p.x << ", " << p.y << ", " << p.z;

    // and the plants on the ground have no ledge under them
    for (Vec3 p : {Vec3{-7.1f, 0, -11.6f}, Vec3{-9.1f, 0, -10.1f}})
        EXPECT_LT(surfaceBelow(Vec3{p.x, 2.0f, p.z}, group), 0.0f);
}

TEST(GeneratedHouse, PanesAreInRegisterWithTheirFrames)
{
    // looking sideways from a quarter of the way across each pane, just in front of it, the frame
    // stands right at the pane's edge
    std::vector<Triangle> frames;
    for (int k = 0; k < model(kModelWindowFrames).objectCount; ++k) {
        std::vector<Triangle> t = trianglesOf(model(kModelWindowFrames).objects[k], drawnHouse);
        frames.insert(frames.end(), t.begin(), t.end());
    }
    int panes = 0;
    for (int k = 0; k < model(kModelWindowPanes).objectCount; ++k) {
        std::vector<Triangle> t = trianglesOf(model(kModelWindowPanes).objects[k], drawnHouse);
        for (size_t i = 0; i + 1 < t.size(); i += 2, ++panes) {
            Vec3 n = vecNormalize(faceNormal(t[i]));
            Vec3 along = std::fabs(n.x) > 0.5f ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
            Bounds b;
            for (const Triangle* tri : {&t[i], &t[i + 1]})
                for (Vec3 v : {tri->a, tri->b, tri->c})
                    b.add(v);
            Vec3 centre = vecAdd(vecScale(vecAdd(b.lo, b.hi), 0.5f), vecScale(n, 0.02f));
            float halfWidth = 0.5f * vecDot(vecSub(b.hi, b.lo), along);
            for (float side : {-1.0f, 1.0f}) {
                Vec3 dir = vecScale(along, side);
                Vec3 probe = vecAdd(centre, vecScale(dir, halfWidth * 0.5f));
                double nearest = 1e9;
                for (const Triangle& f : frames) {
                    double d = rayHit(probe, dir, f);
                    if (d > 0 && d < nearest)
                        nearest = d;
                }
                EXPECT_NEAR(nearest, halfWidth * 0.5f, 0.02) << "pane " << panes << " of object " << k;
            }
        }
    }
    EXPECT_GE(panes, 4 * 2);
    // lit windows glow a warm yellow
    for (const MeshMaterial& m : model(kModelWindowPanes).materials) {
        EXPECT_GT(m.colour[0], 200);
        EXPECT_GT(m.colour[1], 150);
        EXPECT_LT(m.colour[2], 140);
    }
}

// --- textures and sound -----------------------------------------------------------------------

struct LoadedImage {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* at(uint32_t x, uint32_t y) const { return &rgb[(size_t(y) * width + x) * 3]; }
    double brightnessOfRow(uint32_t y) const
    {
        double sum = 0;
        for (uint32_t x = 0; x < width; ++x)
            sum += at(x, y)[0] + at(x, y)[1] + at(x, y)[2];
        return sum / (3.0 * width);
    }
};

LoadedImage loadImage(const char* file)
{
    LoadedImage out;
    Image image{};
    std::string path = assets().dir + "/" + file;
    EXPECT_EQ(loadBmp(path.c_str(), &image), 1) << file;
    out.width = image.width;
    out.height = image.height;
    out.rgb.assign(image.pixels, image.pixels + size_t(image.width) * image.height * 3);
    std::free(image.pixels);
    return out;
}

bool powerOfTwo(uint32_t v) { return v && !(v & (v - 1)); }

TEST(GeneratedTextures, PowerOfTwoSidesAndRowsWithoutPadding)
{
    for (const char* file : {"Stucco.bmp", "Grass.bmp", "GreldaVane1.bmp", "sky32.bmp", "moon1.bmp", "egg.bmp"}) {
        LoadedImage image = loadImage(file);
        EXPECT_TRUE(powerOfTwo(image.width) && powerOfTwo(image.height)) << file;
        EXPECT_EQ(image.width * 3 % 4, 0u) << file;
        // the reader takes the pixels as one block from byte 54; nothing may follow them
        EXPECT_EQ(readFile(assets().dir + "/" + file).size(), 54 + size_t(image.width) * image.height * 3) << file;
    }
    // one stucco repeat spans twice as much wall across as up (the house's height is halved)
    LoadedImage stucco = loadImage("Stucco.bmp");
    EXPECT_EQ(stucco.width, 2 * stucco.height);
}

TEST(GeneratedTextures, AddedPicturesAreSeeThroughAroundTheirSubject)
{
    // drawn with additive blending: the border must be pure black, the subject bright
    for (const char* file : {"GreldaVane1.bmp", "egg.bmp"}) {
        LoadedImage image = loadImage(file);
        size_t lit = 0;
        for (uint32_t y = 0; y < image.height; ++y)
            for (uint32_t x = 0; x < image.width; ++x) {
                const uint8_t* p = image.at(x, y);
                bool border = x == 0 || y == 0 || x == image.width - 1 || y == image.height - 1;
                if (border) {
                    EXPECT_EQ(p[0] + p[1] + p[2], 0) << file << " at " << x << ", " << y;
                }
                lit += p[0] + p[1] + p[2] > 150;
            }
        EXPECT_GT(lit, size_t(image.width) * image.height / 10) << file;
    }
}

TEST(GeneratedTextures, TheSkyDarkensUpwardsFromAHorizonGlow)
{
    LoadedImage sky = loadImage("sky32.bmp");
    double horizon = sky.brightnessOfRow(sky.height / 2 + 2);
    double middle = sky.brightnessOfRow(sky.height * 3 / 4);
    EXPECT_GT(horizon, middle);
    // the top rows are dark but for the stars
    double darkest = 1e9;
    for (uint32_t y = sky.height * 7 / 8; y < sky.height; ++y)
        darkest = std::fmin(darkest, sky.brightnessOfRow(y));
    EXPECT_LT(darkest, middle);
}

TEST(GeneratedSound, TheGruntIsAShortLoud16BitPcmSound)
{
    std::vector<char> wav = readFile(assets().dir + "/grunt.wav");
    ASSERT_GT(wav.size(), 44u);
    auto u16 = [&](size_t at) { return uint32_t(uint8_t(wav[at])) | uint32_t(uint8_t(wav[at + 1])) << 8; };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    EXPECT_EQ(std::string(wav.data(), 4), "RIFF");
    EXPECT_EQ(std::string(wav.data() + 8, 4), "WAVE");
    EXPECT_EQ(u16(20), 1u);   // PCM
    EXPECT_EQ(u16(34), 16u);  // bits per sample
    uint32_t channels = u16(22), rate = u32(24), bytes = u32(40);
    ASSERT_EQ(bytes + 44, wav.size());
    double seconds = double(bytes) / (2.0 * channels * rate);
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 0.4);
    int peak = 0;
    for (size_t at = 44; at + 1 < wav.size(); at += 2)
        peak = std::max(peak, std::abs(int(int16_t(u16(at)))));
    EXPECT_GT(peak, 16000);
    EXPECT_LT(std::abs(int(int16_t(u16(wav.size() - 2)))), 200);  // ends without a click
}

// the file the game finds its data by: the set's name, then every file written, each there
TEST(Assetgen, TheManifestNamesTheSetAndEveryFile)
{
    std::ifstream in(assets().dir + "/vendettix.manifest");
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line, "vendettix-data 1");
    std::vector<std::string> named;
    while (std::getline(in, line)) {
        EXPECT_FALSE(readFile(assets().dir + "/" + line).empty()) << line;
        named.push_back(line);
    }
    for (const char* file : kAssetFiles)
        EXPECT_NE(std::find(named.begin(), named.end(), file), named.end()) << file;
}

TEST(Assetgen, TwoRunsWriteTheSameBytes)
{
    std::string second = generateInto();
    ASSERT_FALSE(second.empty());
    for (const char* file : kAssetFiles) {
        std::vector<char> a = readFile(assets().dir + "/" + file), b = readFile(second + "/" + file);
        EXPECT_FALSE(a.empty()) << file;
        EXPECT_TRUE(a == b) << file << " differs between runs";
    }
    removeDir(second);
}

}  // namespace
