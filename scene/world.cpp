// SPDX-License-Identifier: MIT
// scene: building the World: terrain, the nine models with their drawing parameters, the 27
// placements of the yard, and the ground-height query.
#include "scene/world.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "common/house.h"
#include "platform/startup_trace.h"
#include "terrain/terrain.h"

World* gWorld = nullptr;

World& buildWorld(Terrain* builtTerrain)
{
    gWorld = new World(builtTerrain);
    return *gWorld;
}

// the house group is drawn 256 / 22.5 times its file size (then divided by the house's size)
constexpr float kHouseGroupScale = 11.377778f;

namespace {

struct ModelSetup {
    const char* file;
    bool swapYZ;
    float scale;
    bool useMaterialColours;
    bool texturedLists;
};

// the bush is drawn with its display lists grass-textured under white, so it reads as foliage
// rather than taking whatever material the object before it left behind
const ModelSetup kModelSetups[kModelCount] = {
    {"house.3DS", false, kHouseGroupScale, true, false},
    {"windowFrames.3DS", false, kHouseGroupScale, true, false},
    {"windowPanes.3DS", false, kHouseGroupScale, false, false},
    {"brdLeaf.3DS", true, 0.5f, true, false},
    {"BBQ.3DS", true, 0.75f, false, false},
    {"bush1.3DS", true, 2.0f, false, true},
    {"bench.3DS", true, 2.0f, false, false},
    {"pool.3ds", true, 2.0f, false, false},
    {"coyote.3ds", true, 3.0f, false, false},
};

// presetCode for object k of model m; -1 leaves the loaded value alone
int32_t presetFor(int m, int k)
{
    switch (m) {
    case kModelPlant:
        // the leaves; stems and pot take their 3DS colours
        return (k == 0 || k == 2 || k == 4 || k == 6 || k == 8 || k == 11) ? 2 : 0;
    case kModelBbq:
        if (k == 0 || k == 5 || k == 13 || k == 14) return 3;
        if (k == 7 || k == 9 || k == 10 || k == 11) return 4;
        if (k == 15 || k == 16) return 5;
        if (k == 6) return 6;
        if (k == 3 || k == 4) return 7;
        return -1;
    case kModelBush: return 0;
    case kModelBench: return 3;
    case kModelPool: return 8;
    case kModelCoyote: return 4;
    default: return 0;  // the house group
    }
}

struct PlacementSetup {
    const char* name;
    int model;
    float x, y, z;
    bool onGround;       // y is the ground height sampled at (groundX, z)
    float groundX;
    float rotation;
    int32_t group;
    bool visible;
};

// Each level's two cover objects stand together at one corner of the yard (level 1 low x and
// low z, then round the house); they are shown only while the player hides. The bench's ground
// is sampled a unit to its left.
// the house group stands at the yard's centre
constexpr float kYardCentre = float(kYardOffset);
const PlacementSetup kLayout[kPlacementCount] = {
    {"house", kModelHouse, kYardCentre, 0.0f, kYardCentre, false, 0, 0, 0, true},
    {"windowFrames", kModelWindowFrames, kYardCentre, 0.0f, kYardCentre, false, 0, 0, 0, true},
    {"windowPanes", kModelWindowPanes, kYardCentre, 0.0f, kYardCentre, false, 0, 0, 0, true},
    {"bbq", kModelBbq, 7.25f, 0, 9.3f, true, 7.25f, 180, 1, false},
    {"bush", kModelBush, 10.0f, 0, 6.5f, true, 10.0f, 60, 1, false},
    {"plant", kModelPlant, 18.5f, 0.0f, 14.0f, false, 0, 0, 1, true},
    {"plant", kModelPlant, 16.5f, 0.0f, 15.5f, false, 0, 0, 1, true},
    {"plant", kModelPlant, 17.0f, 0.6f, 19.0f, false, 0, 0, 1, true},
    {"plant", kModelPlant, 21.5f, 0.6f, 14.0f, false, 0, 0, 1, true},
    {"plant", kModelPlant, 34.2f, 0.65f, 19.5f, false, 0, 0, 2, true},
    {"plant", kModelPlant, 34.0f, 4.6f, 18.3f, false, 0, 0, 2, true},
    {"plant", kModelPlant, 28.5f, 4.6f, 14.3f, false, 0, 0, 2, true},
    {"plant", kModelPlant, 29.5f, 0.6f, 14.3f, false, 0, 0, 2, true},
    {"plant", kModelPlant, 21.5f, 0.6f, 34.2f, false, 0, 0, 3, true},
    {"plant", kModelPlant, 34.2f, 0.65f, 32.0f, false, 0, 0, 3, true},
    {"plant", kModelPlant, 29.0f, 4.55f, 31.4f, false, 0, 0, 3, true},
    {"plant", kModelPlant, 31.0f, 2.95f, 33.7f, false, 0, 0, 3, true},
    {"plant", kModelPlant, 31.0f, 2.95f, 33.7f, false, 0, 0, 4, true},
    {"plant", kModelPlant, 19.0f, 2.95f, 33.7f, false, 0, 0, 4, true},
    {"plant", kModelPlant, 17.0f, 0.6f, 19.0f, false, 0, 0, 4, true},
    {"plant", kModelPlant, 17.0f, 4.5f, 26.5f, false, 0, 0, 4, true},
    {"pool", kModelPool, 44.5f, 0, 11.5f, true, 44.5f, 0, 2, false},
    {"bush", kModelBush, 41.7f, 0, 6.8f, true, 41.7f, -60, 2, false},
    {"coyote", kModelCoyote, 41.0f, 0, 43.8f, true, 41.0f, 0, 3, false},
    {"bush", kModelBush, 41.7f, 0, 44.3f, true, 41.7f, 60, 3, false},
    {"bench", kModelBench, 6.3f, 0, 42.0f, true, 5.3f, 0, 4, false},
    {"bush", kModelBush, 10.0f, 0, 43.0f, true, 10.0f, -60, 4, false},
};

}  // namespace

World::World(Terrain* builtTerrain)
{
    terrain = builtTerrain;
    if (!terrain) {
        terrain = new Terrain;  // its grid is too large for the stack
        terrain->build();
    }
    markStartupPhase("terrain");

    for (Model& m : models) {
        m.objectCount = 0;
        m.materialCount = 0;
        m.size = 1.0f;
        m.minCorner = Vec3{0, 0, 0};
    }

    const float position[4] = {kYardCentre, 36.0f, kYardCentre, 1.0f};  // over the house
    const float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const float diffuse[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const float specular[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    std::copy(position, position + 4, lightPosition);
    std::copy(ambient, ambient + 4, lightAmbient);
    std::copy(diffuse, diffuse + 4, lightDiffuse);
    std::copy(specular, specular + 4, lightSpecular);
    primitiveMode = kPrimitiveTriangles;
    std::fill(listBase, listBase + 6, 0u);
    houseSize = 1.0f;
    for (int i = 0; i < kModelCount; ++i)
        modelFiles[i] = kModelSetups[i].file;

    loadModels();
    markStartupPhase("models");
    layoutObjects();
}

void World::loadModels()
{
    for (int i = 0; i < kModelCount; ++i) {
        Model& m = models[i];
        m.swapYZ = kModelSetups[i].swapYZ;
        m.scale = kModelSetups[i].scale;
        m.useMaterialColours = kModelSetups[i].useMaterialColours;
        m.texturedLists = kModelSetups[i].texturedLists;

        // a file that fails leaves the model empty, after the loader's message
        loader.load(m, modelFiles[i]);

        m.minCorner = Vec3{0, 0, 0};
        int count = std::min<int>(m.objectCount, int(m.objects.size()));
        for (int k = 0; k < count; ++k) {
            MeshObject& object = m.objects[k];
            int32_t code = presetFor(i, k);
            if (code >= 0)
                object.presetCode = code;
            m.minCorner.x = std::min(m.minCorner.x, object.minCorner.x);
            m.minCorner.y = std::min(m.minCorner.y, object.minCorner.y);
            m.minCorner.z = std::min(m.minCorner.z, object.minCorner.z);
        }

        // how far the model reaches below zero along its longest axis: about half the extent of
        // a model centred on its origin, 0 for one wholly at non-negative coordinates
        m.size = std::max({-m.minCorner.x, -m.minCorner.y, -m.minCorner.z});
        if (i == kModelHouse)
            houseSize = m.size;
    }
}

void World::layoutObjects()
{
    for (const PlacementSetup& s : kLayout) {
        float y = s.onGround ? groundHeight(s.groundX, s.z) : s.y;
        placements.push_back(new Placement{&models[s.model], Vec3{s.x, y, s.z}, s.rotation, s.group,
                                           s.visible, s.name});
    }
}

void World::restoreLayout()
{
    for (size_t i = 0; i < placements.size() && i < std::size(kLayout); ++i)
        placements[i]->visible = kLayout[i].visible;
}

// no GL: the drawing reads the mode, so the bindings can switch it without a display
void World::toggleWireframe()
{
    primitiveMode = primitiveMode == kPrimitiveTriangles ? kPrimitiveLineStrip : kPrimitiveTriangles;
}

// The inverse of the terrain's drawing transform: the drawn height of the grid sample nearest to
// (x, z). Negative coordinates (the camera's house-centred frame) fold onto positive indices.
float World::groundHeight(float x, float z) const
{
    constexpr double kSamplesPerUnit = 10.0;
    constexpr double kGroundShift = 15.0;
    constexpr double kLast = kGridSide - 1;
    // beyond the grid the border sample answers (this also keeps the conversion defined)
    double fi = std::min(std::fabs(x * kSamplesPerUnit + 0.5), kLast);
    double fj = std::min(std::fabs(z * kSamplesPerUnit + 0.5), kLast);
    if (std::isnan(fi)) fi = 0;
    if (std::isnan(fj)) fj = 0;
    float h = terrain->heightAt(int32_t(fi), int32_t(fj));
    return float((h - kGroundShift) * 0.1);
}

// While the player hides, the level's cover object on that side is shown (right wins).
int World::coverPlacement(int32_t level, int32_t hideLeft, int32_t hideRight) const
{
    static const int kRight[5] = {-1, 3, 22, 23, 26};
    static const int kLeft[5] = {-1, 4, 21, 24, 25};
    if (level < 1 || level > 4)
        return -1;
    if (hideRight != 0)
        return kRight[level];
    if (hideLeft != 0)
        return kLeft[level];
    return -1;
}

