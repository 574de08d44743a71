// Scene drawing read back from the frame buffer, with the generated assets: the panes' dark and
// lit states, the cover objects while hiding, knocked-out plants, the wireframe switch, the
// game-over level, and the station views saved for a person to look at.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/texture_loader.h"
#include "scene/world.h"
#include "tests/support/gl_fixture.h"

namespace {

constexpr int kSize = 600;
constexpr float kYard = 25.6f;

struct Camera {
    Vec3 eye, centre, up;
};

// the first-person camera at a level's station, facing the house as at the start of the level
Camera stationCamera(const World& world, int level)
{
    double quarter = 3.141592 / 2;
    double station = 3.92699 + (level - 1) * quarter;
    double yaw = 0.785398 + (level - 1) * quarter, pitch = 0.785398;
    double bx = std::cos(station) * kYard, bz = std::sin(station) * kYard;
    float ground = world.groundHeight(float(bx), float(bz));
    return Camera{Vec3{float(bx), ground + 1.5f, float(bz)},
                  Vec3{float(bx + std::cos(pitch) * std::cos(yaw)), float(ground + std::sin(pitch) + 1.0),
                       float(bz + std::sin(yaw) * std::cos(pitch))},
                  Vec3{0, 1, 0}};
}

// looking at a point of the house frame from an offset
Camera lookingAt(Vec3 target, Vec3 offset)
{
    return Camera{vecAdd(target, offset), target, Vec3{0, 1, 0}};
}

// a yard position in the house frame
Vec3 houseFrame(Vec3 p) { return Vec3{p.x - kYard, p.y, p.z - kYard}; }

int differing(const Pixels& a, const Pixels& b)
{
    int n = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3)
        n += a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2];
    return n;
}

int brightness(const uint8_t* p) { return p[0] + p[1] + p[2]; }


class SceneDrawTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        glTestWindow(kSize, kSize);
        const char* run = std::getenv("VX_RUN_DIR");
        ASSERT_TRUE(run && *run) << "VX_RUN_DIR names the generated assets";
        ASSERT_EQ(chdir(run), 0) << run;
        // the game's start-up state
        glClearColor(0, 0, 0, 1);
        glEnable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_NORMALIZE);
        loadTextures();
        if (!world)
            world = new World(true);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }

    void SetUp() override
    {
        ASSERT_NE(world, nullptr);
        ASSERT_GT(world->models[0].objectCount, 0) << "the generated house.3DS is missing";
        if (world->primitiveMode != kPrimitiveTriangles)
            world->toggleWireframe();
        world->replayStaticDrawing = true;
        world->skyVisible = true;
        for (int i = kFirstPlant; i <= kLastPlant; ++i)
            world->placements[i]->visible = true;
    }

    // one frame of the World as the game draws it inside its yard translation
    Pixels frame(const Camera& c, bool ownerSees, int level, int hideLeft = 0, int hideRight = 0)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 1.0, 0.5, 73.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(c.eye.x, c.eye.y, c.eye.z, c.centre.x, c.centre.y, c.centre.z, c.up.x, c.up.y,
                  c.up.z);
        glPushMatrix();
        glTranslatef(-kYard, 0, -kYard);
        world->draw(ownerSees, level, hideLeft, hideRight);
        glPopMatrix();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        return glReadBack();
    }

    static World* world;
};

World* SceneDrawTest::world = nullptr;

TEST_F(SceneDrawTest, PanesAreDarkUntilTheOwnerSeesThePlayer)
{
    Camera c = stationCamera(*world, 1);
    Pixels dark = frame(c, false, 1);
    EXPECT_FALSE(world->models[2].useMaterialColours);
    Pixels lit = frame(c, true, 1);
    EXPECT_TRUE(world->models[2].useMaterialColours) << "set from the owner's sight every frame";
    EXPECT_EQ(differing(dark, frame(c, false, 1)), 0);

    int panes = 0, darkPanes = 0, brighter = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const uint8_t* d = dark.at(x, y);
            const uint8_t* l = lit.at(x, y);
            if (d[0] == l[0] && d[1] == l[1] && d[2] == l[2])
                continue;
            ++panes;
            darkPanes += brightness(d) <= 15;
            brighter += brightness(l) > brightness(d) + 30;
        }
    EXPECT_GT(panes, 300) << "the windows facing the station change";
    EXPECT_GT(darkPanes, panes * 9 / 10) << "unlit panes are black";
    EXPECT_GT(brighter, panes * 9 / 10) << "lit panes show their colours";
}

TEST_F(SceneDrawTest, ACoverObjectShowsForOneFrameWhileHiding)
{
    // from above the level-2 corner, where the pool (21) and the bush (22) stand
    Vec3 corner = houseFrame(Vec3{43.0f, 0.0f, 9.0f});
    Camera c{vecAdd(corner, Vec3{0, 12, 0}), corner, Vec3{0, 0, 1}};
    Pixels none = frame(c, false, 2);
    Pixels right = frame(c, false, 2, 0, 1);
    EXPECT_FALSE(world->placements[22]->visible) << "hidden again after the frame";
    Pixels left = frame(c, false, 2, -1, 0);
    EXPECT_FALSE(world->placements[21]->visible);
    Pixels both = frame(c, false, 2, -1, 2);
    EXPECT_FALSE(world->placements[21]->visible);
    EXPECT_FALSE(world->placements[22]->visible);

    EXPECT_GT(differing(none, right), 500) << "the bush appears";
    EXPECT_GT(differing(none, left), 500) << "the pool appears";
    EXPECT_GT(differing(left, right), 500);
    EXPECT_EQ(differing(both, right), 0) << "leaning right wins";
    // no cover object belongs to the level being played elsewhere
    Pixels otherLevel = frame(c, false, 3, 0, 1);
    EXPECT_EQ(differing(otherLevel, frame(c, false, 3)), 0);
}

TEST_F(SceneDrawTest, AKnockedOutPlantIsNotDrawn)
{
    Vec3 pot = houseFrame(world->placements[9]->position);
    Camera c = lookingAt(pot, Vec3{3, 1.5f, -3});
    Pixels before = frame(c, false, 2);
    Pixels otherLevel = frame(c, false, 1);
    EXPECT_GT(differing(before, otherLevel), 500) << "the level-2 plant is in view";

    ASSERT_EQ(world->hitTest(Vec3{pot.x, pot.y + 0.22f, pot.z}, 2, false), 1);
    Pixels after = frame(c, false, 2);
    EXPECT_EQ(differing(after, otherLevel), 0) << "nothing of it is left";
}

TEST_F(SceneDrawTest, WireframeReachesTheHouseButNotTheTerrainOrThePlants)
{
    Camera c = stationCamera(*world, 1);
    Pixels filled = frame(c, false, 1);
    world->toggleWireframe();
    EXPECT_EQ(world->primitiveMode, kPrimitiveLineStrip);
    Pixels wire = frame(c, false, 1);
    world->toggleWireframe();
    EXPECT_EQ(world->primitiveMode, kPrimitiveTriangles);
    EXPECT_EQ(differing(filled, frame(c, false, 1)), 0);

    EXPECT_GT(differing(filled, wire), 5000) << "the house opens up into lines";
    // the ground in front of the house stays filled
    int groundChanged = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < kSize; ++x) {
            const uint8_t* a = filled.at(x, y);
            const uint8_t* b = wire.at(x, y);
            groundChanged += a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
        }
    EXPECT_EQ(groundChanged, 0);

    // a plant alone (no house behind it) is display-listed and stays filled
    world->placements[0]->visible = world->placements[1]->visible = world->placements[2]->visible = false;
    Camera plant = lookingAt(houseFrame(world->placements[5]->position), Vec3{-2, 1, -2});
    Pixels plantFilled = frame(plant, false, 1);
    world->toggleWireframe();
    Pixels plantWire = frame(plant, false, 1);
    world->toggleWireframe();
    world->placements[0]->visible = world->placements[1]->visible = world->placements[2]->visible = true;
    EXPECT_EQ(differing(plantFilled, plantWire), 0);
}

TEST_F(SceneDrawTest, AfterTheLastLevelOnlyTheHouseGroupIsDrawn)
{
    Camera c{Vec3{0, 25, -20}, Vec3{0, 0, 0}, Vec3{0, 1, 0}};
    Pixels gameOver = frame(c, false, 5, -2, 2);
    for (int i = 3; i < kPlacementCount; ++i)
        EXPECT_EQ(world->placements[i]->visible, i < 3 || (i >= kFirstPlant && i <= kLastPlant)) << i;

    // level 1 with everything but the house group hidden looks the same
    bool saved[kPlacementCount];
    for (int i = 0; i < kPlacementCount; ++i) {
        saved[i] = world->placements[i]->visible;
        if (world->placements[i]->group != 0)
            world->placements[i]->visible = false;
    }
    Pixels houseOnly = frame(c, false, 1);
    for (int i = 0; i < kPlacementCount; ++i)
        world->placements[i]->visible = saved[i];

    EXPECT_EQ(differing(gameOver, houseOnly), 0);
    EXPECT_GT(differing(gameOver, frame(c, false, 1)), 100) << "level 1's plants are in view";
}

TEST_F(SceneDrawTest, FromHighAboveTheYardShowsWithoutTheSky)
{
    Camera birdsEye{Vec3{0, 40, 0}, Vec3{0, 0, 0}, Vec3{0, 0, 1}};
    world->skyVisible = false;
    Pixels yard = frame(birdsEye, false, 1);
    world->skyVisible = true;
    Pixels sky = frame(birdsEye, false, 1);
    // the roof seen from straight above differs from the ground around it
    int roof = brightness(yard.at(kSize / 2, kSize / 2));
    int ground = brightness(yard.at(kSize / 2, 20));
    EXPECT_NE(roof, ground);
    EXPECT_GT(differing(yard, sky), kSize * kSize / 2) << "with the sky the moon fills the view";
    savePng(yard, "birds-eye");
}

TEST_F(SceneDrawTest, ReplayedDrawingMatchesTheLiteralDrawing)
{
    for (int level = 1; level <= 4; ++level) {
        Camera c = stationCamera(*world, level);
        for (bool ownerSees : {false, true})
            for (int wire = 0; wire < 2; ++wire) {
                if (wire)
                    world->toggleWireframe();
                world->replayStaticDrawing = false;
                Pixels literal = frame(c, ownerSees, level, 0, 1);
                world->replayStaticDrawing = true;
                Pixels first = frame(c, ownerSees, level, 0, 1);
                Pixels replayed = frame(c, ownerSees, level, 0, 1);
                if (wire)
                    world->toggleWireframe();
                EXPECT_EQ(differing(literal, first), 0) << level << ownerSees << wire;
                EXPECT_EQ(differing(literal, replayed), 0) << level << ownerSees << wire;
            }
    }
}

TEST_F(SceneDrawTest, StationViews)
{
    for (int level = 1; level <= 4; ++level) {
        Pixels view = frame(stationCamera(*world, level), level % 2 == 0, level);
        std::string path = savePng(view, "station" + std::to_string(level));
        EXPECT_FALSE(path.empty());
        // the night sky above, the ground below, the house between
        EXPECT_LT(brightness(view.at(kSize / 2, kSize - 5)), 3 * 255);
        int lit = 0;
        for (int y = 0; y < kSize; y += 10)
            for (int x = 0; x < kSize; x += 10)
                lit += brightness(view.at(x, y)) > 0;
        EXPECT_GT(lit, 3000) << "the view is filled";

        // the cover objects, as a player leaning out sees them
        savePng(frame(stationCamera(*world, level), false, level, 0, 1),
                "station" + std::to_string(level) + "-right");
        savePng(frame(stationCamera(*world, level), false, level, -1, 0),
                "station" + std::to_string(level) + "-left");
    }
}

}  // namespace
