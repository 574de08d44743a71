// SPDX-License-Identifier: MIT
// World: model set-up, the layout of the yard, the ground height and the hit test. No display:
// the Worlds here are built without GL, in a scratch working directory.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "scene/world.h"
#include "terrain/terrain.h"
#include "tools/writers/mesh_writer.h"

namespace {

// one object per entry, one triangle per three vertices
void writeModel(const std::string& path, const std::vector<std::vector<Vec3>>& objects)
{
    ChunkWriter w;
    beginModelFile(w);
    for (size_t k = 0; k < objects.size(); ++k) {
        const std::vector<Vec3>& vertices = objects[k];
        std::vector<MeshTriangle> faces;
        for (size_t f = 0; f + 2 < vertices.size(); f += 3)
            faces.push_back({uint16_t(f), uint16_t(f + 1), uint16_t(f + 2)});
        writeMeshObject(w, "object" + std::to_string(k), vertices, faces, "");
    }
    endModelFile(w);
    ASSERT_TRUE(w.save(path)) << path;
}

std::vector<std::vector<Vec3>> triangles(int count, Vec3 offset)
{
    std::vector<std::vector<Vec3>> objects;
    for (int k = 0; k < count; ++k)
        objects.push_back({offset, vecAdd(offset, Vec3{1, 0, 0}), vecAdd(offset, Vec3{0, 1, 0})});
    return objects;
}

// a scratch working directory for the whole program: the Worlds read their models from it
std::string scratchDir()
{
    static std::string dir;
    if (dir.empty()) {
        char name[] = "/tmp/vx-world-XXXXXX";
        dir = mkdtemp(name);
        EXPECT_EQ(chdir(dir.c_str()), 0);
        std::atexit([] {
            if (chdir("/") == 0)
                std::system(("rm -rf '" + dir + "'").c_str());
        });
        // the loader's message boxes must never wait for a click here
        unsetenv("DISPLAY");
    }
    return dir;
}

// a World whose model files are all missing
World& bareWorld()
{
    static World* world = nullptr;
    if (!world) {
        scratchDir();
        world = new World();
    }
    return *world;
}

// a World with small made-up models: a house reaching 4 below zero, 18 barbecue objects, 12 plant
// objects, a pool reaching below zero after its z-up turn, a coyote wholly above zero
World& furnishedWorld()
{
    static World* world = nullptr;
    if (!world) {
        std::string dir = scratchDir() + "/furnished";
        EXPECT_EQ(system(("mkdir -p " + dir).c_str()), 0);
        writeModel(dir + "/house.3DS", {{{-4, 0, -1}, {3, 0, -2}, {0, 6, 0}}, {{-1, -0.5f, 0}, {1, 0, 0}, {0, 1, 0}}});
        writeModel(dir + "/BBQ.3DS", triangles(18, Vec3{0, 0, 0}));
        writeModel(dir + "/brdLeaf.3DS", triangles(12, Vec3{-0.25f, 0, 0}));
        // stored z-up: (x, y, z) is read as (x, z, -y)
        writeModel(dir + "/pool.3ds", {{{-1, 0, 0}, {0, 2, 0}, {0, 0, -0.5f}}});
        writeModel(dir + "/coyote.3ds", triangles(3, Vec3{0.5f, -2.0f, 0.5f}));  // y <= 0 turns into z >= 0
        EXPECT_EQ(chdir(dir.c_str()), 0);
        world = new World();
        EXPECT_EQ(chdir(scratchDir().c_str()), 0);
    }
    return *world;
}

void showAllPlants(World& world)
{
    for (int i = kFirstPlant; i <= kLastPlant; ++i)
        world.placements[i]->visible = true;
}

// house frame position of a plant's sphere centre
Vec3 plantCentre(const World& world, int i)
{
    Vec3 p = world.placements[i]->position;
    return Vec3{float(p.x - 25.6), float(p.y + 0.22), float(p.z - 25.6)};
}

}  // namespace

TEST(WorldLayout, PlacesTheYardOfTheFourLevelsInOrder)
{
    World& world = bareWorld();
    ASSERT_EQ(world.placements.size(), size_t(kPlacementCount));

    struct Expected {
        const char* name;
        int model;
        int group;
    };
    const Expected expected[kPlacementCount] = {
        {"house", 0, 0}, {"windowFrames", 1, 0}, {"windowPanes", 2, 0}, {"bbq", 4, 1},
        {"bush", 5, 1}, {"plant", 3, 1}, {"plant", 3, 1}, {"plant", 3, 1}, {"plant", 3, 1},
        {"plant", 3, 2}, {"plant", 3, 2}, {"plant", 3, 2}, {"plant", 3, 2}, {"plant", 3, 3},
        {"plant", 3, 3}, {"plant", 3, 3}, {"plant", 3, 3}, {"plant", 3, 4}, {"plant", 3, 4},
        {"plant", 3, 4}, {"plant", 3, 4}, {"pool", 7, 2}, {"bush", 5, 2}, {"coyote", 8, 3},
        {"bush", 5, 3}, {"bench", 6, 4}, {"bush", 5, 4}};
    for (int i = 0; i < kPlacementCount; ++i) {
        const Placement& p = *world.placements[i];
        SCOPED_TRACE(i);
        EXPECT_STREQ(p.name, expected[i].name);
        EXPECT_EQ(p.model, &world.models[expected[i].model]);
        EXPECT_EQ(p.group, expected[i].group);
        bool cover = i == 3 || i == 4 || i >= 21;
        EXPECT_EQ(p.visible, !cover) << "cover objects start hidden, the rest visible";
    }

    const Placement& house = *world.placements[0];
    EXPECT_FLOAT_EQ(house.position.x, 25.6f);
    EXPECT_FLOAT_EQ(house.position.y, 0.0f);
    EXPECT_FLOAT_EQ(house.position.z, 25.6f);
    EXPECT_FLOAT_EQ(world.placements[3]->rotation, 180.0f);
    EXPECT_FLOAT_EQ(world.placements[22]->rotation, -60.0f);
    EXPECT_FLOAT_EQ(world.placements[24]->rotation, 60.0f);
}

TEST(WorldLayout, PlantsKeepTheirLedgeHeightsAndCoverObjectsStandOnTheGround)
{
    World& world = bareWorld();
    // the ledge plants are not put on the ground
    EXPECT_FLOAT_EQ(world.placements[10]->position.y, 4.6f);
    EXPECT_FLOAT_EQ(world.placements[15]->position.y, 4.55f);
    EXPECT_FLOAT_EQ(world.placements[16]->position.y, 2.95f);
    EXPECT_FLOAT_EQ(world.placements[5]->position.y, 0.0f);
    // plants 7 and 19, 16 and 17 share places on different levels
    EXPECT_FLOAT_EQ(world.placements[16]->position.x, world.placements[17]->position.x);
    EXPECT_FLOAT_EQ(world.placements[7]->position.z, world.placements[19]->position.z);

    const int cover[] = {3, 4, 21, 22, 23, 24, 26};
    for (int i : cover) {
        const Placement& p = *world.placements[i];
        EXPECT_EQ(p.position.y, world.groundHeight(p.position.x, p.position.z)) << i;
    }
    // the bench's ground is sampled a unit to its left
    const Placement& bench = *world.placements[25];
    EXPECT_FLOAT_EQ(bench.position.x, 6.3f);
    EXPECT_EQ(bench.position.y, world.groundHeight(5.3f, 42.0f));
}

TEST(WorldGround, ReadsTheNearestSampleAndFoldsNegativeCoordinates)
{
    World& world = bareWorld();
    EXPECT_EQ(world.groundHeight(25.6f, 25.6f), 0.0f) << "the seed at (256, 256) is 15";

    // mark samples so that the one read can be told apart from its neighbours
    Vec3* grid = world.terrain->grid;
    auto at = [&](int i, int j) -> float& { return grid[i * kGridSide + j].y; };
    const int marked[][2] = {{0, 0}, {2, 0}, {3, 0}, {180, 180}, {181, 181}, {512, 512}};
    float saved[6];
    for (int m = 0; m < 6; ++m) {
        saved[m] = at(marked[m][0], marked[m][1]);
        at(marked[m][0], marked[m][1]) = 1.0f + m;
    }
    // |-3 + 0.5| = 2.5 truncates to 2
    EXPECT_FLOAT_EQ(world.groundHeight(-0.3f, 0.0f), (2.0f - 15.0f) * 0.1f);
    EXPECT_FLOAT_EQ(world.groundHeight(-18.1f, -18.1f), (4.0f - 15.0f) * 0.1f);
    EXPECT_FLOAT_EQ(world.groundHeight(0.04f, 0.04f), (1.0f - 15.0f) * 0.1f);
    EXPECT_FLOAT_EQ(world.groundHeight(0.26f, 0.0f), (3.0f - 15.0f) * 0.1f);
    // beyond the square the border answers rather than memory outside the grid
    EXPECT_FLOAT_EQ(world.groundHeight(1000.0f, 1000.0f), (6.0f - 15.0f) * 0.1f);
    for (int m = 0; m < 6; ++m)
        at(marked[m][0], marked[m][1]) = saved[m];
}

TEST(WorldModels, BuildsWithEveryModelFileMissing)
{
    World& world = bareWorld();
    EXPECT_EQ(world.placements.size(), size_t(kPlacementCount));
    for (const Model& m : world.models) {
        EXPECT_EQ(m.objectCount, 0);
        EXPECT_EQ(m.materialCount, 0);
        EXPECT_EQ(m.size, 0.0f);
    }
    EXPECT_EQ(world.houseSize, 0.0f);
    EXPECT_STREQ(world.modelFiles[0], "house.3DS");
    EXPECT_STREQ(world.modelFiles[7], "pool.3ds");
    EXPECT_EQ(world.primitiveMode, kPrimitiveTriangles);
}

TEST(WorldModels, FlagsAndScalesFollowTheModel)
{
    World& world = bareWorld();
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(world.models[i].swapYZ);
        EXPECT_FLOAT_EQ(world.models[i].scale, 256.0f / 22.5f);
    }
    for (int i = 3; i < kModelCount; ++i)
        EXPECT_TRUE(world.models[i].swapYZ) << i;
    EXPECT_TRUE(world.models[0].useMaterialColours);
    EXPECT_TRUE(world.models[3].useMaterialColours);
    EXPECT_FALSE(world.models[4].useMaterialColours);
    EXPECT_TRUE(world.models[5].texturedLists) << "the bush is grass-textured";
    EXPECT_FALSE(world.models[4].texturedLists);
    EXPECT_FLOAT_EQ(world.models[4].scale, 0.75f);
    EXPECT_FLOAT_EQ(world.models[8].scale, 3.0f);
    EXPECT_FLOAT_EQ(world.lightPosition[1], 36.0f);
    EXPECT_FLOAT_EQ(world.lightDiffuse[0], 0.5f);
}

TEST(WorldModels, SizeIsTheReachBelowZeroAlongTheLongestAxis)
{
    World& furnished = furnishedWorld();
    const Model& house = furnished.models[0];
    ASSERT_EQ(house.objectCount, 2);
    EXPECT_FLOAT_EQ(house.minCorner.x, -4.0f);
    EXPECT_FLOAT_EQ(house.minCorner.y, -0.5f);
    EXPECT_FLOAT_EQ(house.minCorner.z, -2.0f);
    EXPECT_FLOAT_EQ(house.size, 4.0f);
    EXPECT_FLOAT_EQ(furnished.houseSize, 4.0f);

    const Model& pool = furnished.models[7];
    EXPECT_FLOAT_EQ(pool.minCorner.x, -1.0f);
    EXPECT_FLOAT_EQ(pool.minCorner.y, -0.5f);
    EXPECT_FLOAT_EQ(pool.minCorner.z, -2.0f);
    EXPECT_FLOAT_EQ(pool.size, 2.0f);

    const Model& coyote = furnished.models[8];
    ASSERT_EQ(coyote.objectCount, 3);
    EXPECT_EQ(coyote.size, 0.0f) << "wholly at non-negative coordinates";
}

TEST(WorldModels, ObjectsGetTheirPresetCodes)
{
    World& world = furnishedWorld();
    const Model& bbq = world.models[4];
    ASSERT_EQ(bbq.objectCount, 18);
    const int bbqCodes[18] = {3, 0, 0, 7, 7, 3, 6, 4, 0, 4, 4, 4, 0, 3, 3, 5, 5, 0};
    for (int k = 0; k < 18; ++k)
        EXPECT_EQ(bbq.objects[k].presetCode, bbqCodes[k]) << "barbecue object " << k;

    const Model& plant = world.models[3];
    ASSERT_EQ(plant.objectCount, 12);
    const int plantCodes[12] = {2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 0, 2};
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(plant.objects[k].presetCode, plantCodes[k]) << "plant object " << k;

    for (const MeshObject& o : world.models[7].objects)
        EXPECT_EQ(o.presetCode, 8);
    for (const MeshObject& o : world.models[8].objects)
        EXPECT_EQ(o.presetCode, 4);
    for (const MeshObject& o : world.models[0].objects)
        EXPECT_EQ(o.presetCode, 0);
}

TEST(WorldHitTest, HouseBoxesHaveExclusiveBounds)
{
    World& world = bareWorld();
    showAllPlants(world);
    EXPECT_EQ(world.hitTest(Vec3{0, 1, 0}, 1, true), 2);
    EXPECT_EQ(world.hitTest(Vec3{8.3f, 6.9f, -11.0f}, 1, true), 2);
    EXPECT_EQ(world.hitTest(Vec3{8.325f, 1, 0}, 1, true), 0);
    EXPECT_EQ(world.hitTest(Vec3{-8.325f, 1, 0}, 1, true), 0);
    EXPECT_EQ(world.hitTest(Vec3{0, 0, 0}, 1, true), 0) << "the ground is not the house";
    EXPECT_EQ(world.hitTest(Vec3{0, -1, 0}, 1, true), 0);
    EXPECT_EQ(world.hitTest(Vec3{0, 6.937f, 0}, 1, true), 0);
    EXPECT_EQ(world.hitTest(Vec3{0, 1, -11.1f}, 1, true), 0);
    EXPECT_EQ(world.hitTest(Vec3{0, 1, 5.55f}, 1, true), 0) << "the seam between the boxes";
    // the lower box in front
    EXPECT_EQ(world.hitTest(Vec3{0, 1, 7}, 1, true), 2);
    EXPECT_EQ(world.hitTest(Vec3{0, 3, 7}, 1, true), 0);
    EXPECT_EQ(world.hitTest(Vec3{0, 1, 8.325f}, 1, true), 0);
    EXPECT_EQ(world.hitTest(Vec3{0, 2.775f, 7}, 1, true), 0);
    EXPECT_EQ(world.hitTest(Vec3{0, 5, 5.5f}, 1, true), 2);
}

TEST(WorldHitTest, PlantsAreSpheresAroundTheirPots)
{
    World& world = bareWorld();
    showAllPlants(world);
    Vec3 c = plantCentre(world, 5);
    EXPECT_EQ(world.hitTest(c, 1, true), 1);
    EXPECT_EQ(world.hitTest(Vec3{c.x + 0.799f, c.y, c.z}, 1, true), 1);
    EXPECT_EQ(world.hitTest(Vec3{c.x + 0.801f, c.y, c.z}, 1, true), 0);
    EXPECT_EQ(world.hitTest(Vec3{c.x, c.y - 0.801f, c.z}, 1, true), 0);
    EXPECT_EQ(world.hitTest(Vec3{c.x, c.y + 0.5f, c.z - 0.5f}, 1, true), 1);
    EXPECT_EQ(world.hitTest(Vec3{c.x, c.y + 0.6f, c.z - 0.6f}, 1, true), 0);
}

TEST(WorldHitTest, OnlyTheCurrentLevelsPlantsAnswer)
{
    World& world = bareWorld();
    showAllPlants(world);
    for (int i = 5; i <= 8; ++i) {
        Vec3 c = plantCentre(world, i);
        EXPECT_EQ(world.hitTest(c, 1, true), 1) << i;
        // plant 19 of level 4 stands where plant 7 does
        for (int level : {0, 2, 3, 4, 5}) {
            if (i == 7 && level == 4)
                continue;
            EXPECT_NE(world.hitTest(c, level, false), 1) << "plant " << i << " at level " << level;
        }
        EXPECT_TRUE(world.placements[i]->visible);
    }
}

TEST(WorldHitTest, PlantsComeBeforeTheHouse)
{
    World& world = bareWorld();
    showAllPlants(world);
    // plant 11 sits on a ledge of the back wall; this point is inside its sphere and box A
    Vec3 c = plantCentre(world, 11);
    Vec3 point{c.x, c.y, -10.9f};
    ASSERT_LT(std::fabs(c.z - point.z), 0.8f);
    EXPECT_EQ(world.hitTest(point, 2, true), 1);
    EXPECT_EQ(world.hitTest(point, 1, true), 2);
}

TEST(WorldHitTest, AnEggKnocksAPlantOutButARollOnlyProbes)
{
    World& world = bareWorld();
    showAllPlants(world);
    Vec3 c = plantCentre(world, 11);
    Vec3 onWall{c.x, c.y, -10.9f};
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(world.hitTest(onWall, 2, true), 1) << "a roll answers 1 every time";
    EXPECT_TRUE(world.placements[11]->visible);

    EXPECT_EQ(world.hitTest(onWall, 2, false), 1);
    EXPECT_FALSE(world.placements[11]->visible);
    EXPECT_EQ(world.hitTest(onWall, 2, false), 2) << "the plant is gone, the wall behind remains";
    EXPECT_EQ(world.hitTest(c, 2, true), 0);

    // plants 16 and 17 share a place: the level-4 egg takes only its own
    Vec3 shared = plantCentre(world, 17);
    EXPECT_EQ(world.hitTest(shared, 4, false), 1);
    EXPECT_FALSE(world.placements[17]->visible);
    EXPECT_TRUE(world.placements[16]->visible);
    EXPECT_EQ(world.hitTest(shared, 3, true), 1);
    showAllPlants(world);
}
