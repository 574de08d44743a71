// SPDX-License-Identifier: MIT
// Scene drawing read back from the frame buffer, with the generated assets: the panes' dark and
// lit states, the cover objects while hiding, knocked-out plants, the wireframe switch, the
// game-over level, and the station views saved for a person to look at.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "assets/texture_loader.h"
#include "scene/world.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/literal_drawing.h"

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
        if (!world) {
            world = new World();
            world->startDrawing();
        }
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }

    void SetUp() override
    {
        ASSERT_NE(world, nullptr);
        ASSERT_GT(world->models[0].objectCount, 0) << "the generated house.3DS is missing";
        if (world->primitiveMode != kPrimitiveTriangles)
            world->toggleWireframe();
        sky = true;
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
        if (afresh)
            drawWorldAfresh(*world, ownerSees, level, hideLeft, hideRight, sky);
        else
            world->draw(ownerSees, level, hideLeft, hideRight, sky);
        glPopMatrix();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        return glReadBack();
    }

    bool afresh = false;  // the literal drawing instead of the game's replayed one
    bool sky = true;      // the dome and the moon drawn
    static World* world;
};

World* SceneDrawTest::world = nullptr;

TEST_F(SceneDrawTest, PanesAreDarkUntilTheOwnerSeesThePlayer)
{
    Camera c = stationCamera(*world, 1);
    Pixels dark = frame(c, false, 1);
    EXPECT_FALSE(world->models[2].useMaterialColours);
    Pixels lit = frame(c, true, 1);
    EXPECT_FALSE(world->models[2].useMaterialColours) << "the drawing writes no model field";
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
    sky = false;
    Pixels yard = frame(birdsEye, false, 1);
    sky = true;
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
                afresh = true;
                Pixels literal = frame(c, ownerSees, level, 0, 1);
                afresh = false;
                Pixels first = frame(c, ownerSees, level, 0, 1);
                Pixels replayed = frame(c, ownerSees, level, 0, 1);
                if (wire)
                    world->toggleWireframe();
                EXPECT_EQ(differing(literal, first), 0) << level << ownerSees << wire;
                EXPECT_EQ(differing(literal, replayed), 0) << level << ownerSees << wire;
            }
    }
}

// The triangles World::draw hands to GL, read back through feedback mode under an orthographic
// view that holds the whole yard, seen askew so that no wall is edge-on: the first `count`
// polygons drawn, in eye coordinates. frontClockwise turns the culling of the house group round.
struct Feedback {
    GLfloat view[16];  // the modelview the World was drawn under (column-major)
    std::vector<std::array<Vec3, 3>> triangles;

    Vec3 eye(Vec3 p) const
    {
        return Vec3{view[0] * p.x + view[4] * p.y + view[8] * p.z + view[12],
                    view[1] * p.x + view[5] * p.y + view[9] * p.z + view[13],
                    view[2] * p.x + view[6] * p.y + view[10] * p.z + view[14]};
    }
};

Feedback drawnTriangles(World& world, int level, int hideRight, size_t count, bool frontClockwise)
{
    Feedback out;
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -100, 100, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(37.0f, 1.0f, 0.6f, 0.3f);
    glGetFloatv(GL_MODELVIEW_MATRIX, out.view);
    glFrontFace(frontClockwise ? GL_CW : GL_CCW);
    // the placements come before the terrain and the sky; a buffer that overflows keeps its start
    std::vector<GLfloat> buffer(count * 11 + 64);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    world.draw(false, level, 0, hideRight);
    glRenderMode(GL_RENDER);
    glFrontFace(GL_CCW);

    auto eye = [&](const GLfloat* w) {
        return Vec3{w[0] / kSize * 200 - 100, w[1] / kSize * 200 - 100, (1 - 2 * w[2]) * 1000};
    };
    for (size_t i = 0; i + 1 < buffer.size() && out.triangles.size() < count;) {
        GLfloat token = buffer[i];
        if (token == GL_POLYGON_TOKEN) {
            size_t n = size_t(buffer[i + 1]);
            if (n != 3 || i + 2 + 9 > buffer.size())
                break;
            const GLfloat* v = &buffer[i + 2];
            out.triangles.push_back({eye(v), eye(v + 3), eye(v + 6)});
            i += 2 + 3 * n;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 2;
        } else {
            break;  // nothing else is drawn before the terrain
        }
    }
    return out;
}

bool near(Vec3 a, Vec3 b)
{
    return std::fabs(a.x - b.x) < 2e-3f && std::fabs(a.y - b.y) < 2e-3f && std::fabs(a.z - b.z) < 2e-2f;
}

// How many of the drawn triangles are the model's faces under `place` (model space to yard),
// each face counted once; faces culled away are passed over. Within an object the faces come in
// order, but the objects need not: the bush's lumps are drawn nearest the eye first.
template <class Place>
size_t matchFaces(const Model& model, const Feedback& drawn, Place place)
{
    size_t matched = 0;
    std::vector<bool> used(drawn.triangles.size(), false);
    auto at = [&](Vec3 v) { return drawn.eye(place(v)); };
    for (const MeshObject& o : model.objects) {
        size_t from = 0;  // the object's faces follow one another
        for (int f = 0; f < o.faceCount; ++f) {
            const int32_t* v = o.faces[f].vertexIndex;
            const Vec3 a = at(o.vertices[v[0]]), b = at(o.vertices[v[1]]), c = at(o.vertices[v[2]]);
            for (size_t k = from; k < drawn.triangles.size(); ++k) {
                const auto& t = drawn.triangles[k];
                if (!used[k] && near(t[0], a) && near(t[1], b) && near(t[2], c)) {
                    used[k] = true;
                    ++matched;
                    from = k + 1;
                    break;
                }
            }
        }
    }
    return matched;
}

size_t faceCount(const Model& model)
{
    size_t n = 0;
    for (const MeshObject& o : model.objects)
        n += size_t(o.faceCount);
    return n;
}

// shows only placement `only` (as the draw at that level would), or nothing when -1
struct OnlyPlacement {
    OnlyPlacement(World& world, int only) : world(world)
    {
        for (int i = 0; i < kPlacementCount; ++i) {
            saved[i] = world.placements[i]->visible;
            world.placements[i]->visible = i == only;
        }
    }
    ~OnlyPlacement()
    {
        for (int i = 0; i < kPlacementCount; ++i)
            world.placements[i]->visible = saved[i];
    }
    World& world;
    bool saved[kPlacementCount];
};

TEST_F(SceneDrawTest, YardModelsStandOnTheirLiftStretchedAndTurned)
{
    // the bush of level 2 (rotation -60), shown by leaning right; a plant; the barbecue turned 180
    struct Case {
        int placement, level, hideRight;
    };
    for (Case c : {Case{22, 2, 1}, Case{5, 1, 0}, Case{3, 1, 1}}) {
        SCOPED_TRACE(c.placement);
        const Placement& p = *world->placements[c.placement];
        const Model& m = *p.model;
        ASSERT_GT(m.size, 0.0f);
        OnlyPlacement only(*world, c.hideRight ? -1 : c.placement);
        size_t faces = faceCount(m);
        Feedback drawn = drawnTriangles(*world, c.level, c.hideRight, faces, false);
        EXPECT_FALSE(world->placements[c.placement]->visible == (c.hideRight != 0));

        double turn = p.rotation * 3.14159265358979 / 180;
        float stretch = std::strcmp(p.name, "bush") == 0 ? 2.5f : 1.0f;
        // lifted by the unstretched reach below zero, stretched, sized, turned last
        float lift = -m.minCorner.y * m.scale / m.size;
        auto place = [&](Vec3 v) {
            double x = std::cos(turn) * v.x + std::sin(turn) * v.z;
            double z = -std::sin(turn) * v.x + std::cos(turn) * v.z;
            return Vec3{float(p.position.x + x * m.scale / m.size),
                        float(p.position.y + lift + v.y * m.scale * stretch / m.size),
                        float(p.position.z + z * m.scale / m.size)};
        };
        EXPECT_EQ(drawn.triangles.size(), faces);
        EXPECT_EQ(matchFaces(m, drawn, place), faces) << "every face where it belongs";
    }
}

// the lit colour of the first vertex of each of the first `count` polygons drawn
std::vector<std::array<GLfloat, 4>> drawnColours(World& world, int level, int hideRight, size_t count)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -100, 100, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<GLfloat> buffer(count * 23 + 64);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    world.draw(false, level, 0, hideRight);
    glRenderMode(GL_RENDER);
    std::vector<std::array<GLfloat, 4>> colours;
    for (size_t i = 0; i + 2 + 21 <= buffer.size() && colours.size() < count;) {
        if (buffer[i] != GL_POLYGON_TOKEN || buffer[i + 1] != 3)
            break;
        colours.push_back({buffer[i + 5], buffer[i + 6], buffer[i + 7], buffer[i + 8]});
        i += 2 + 3 * 7;
    }
    return colours;
}

TEST_F(SceneDrawTest, BarbecueObjectsWithoutAPresetKeepTheMaterialBeforeThem)
{
    Model& bbq = world->models[kModelBbq];
    ASSERT_GE(bbq.objectCount, 2);
    ASSERT_EQ(bbq.objects[1].presetCode, 0);
    size_t first = size_t(bbq.objects[0].faceCount), second = size_t(bbq.objects[1].faceCount);
    ASSERT_GT(second, 0u);
    OnlyPlacement only(*world, -1);
    int32_t saved = bbq.objects[0].presetCode;
    bbq.objects[0].presetCode = 7;  // black: no light comes back from it
    auto colours = drawnColours(*world, 1, 1, first + second);
    bbq.objects[0].presetCode = saved;
    ASSERT_EQ(colours.size(), first + second);
    for (size_t f = first; f < first + second; ++f)
        EXPECT_EQ((std::array<GLfloat, 3>{colours[f][0], colours[f][1], colours[f][2]}),
                  (std::array<GLfloat, 3>{0, 0, 0}))
            << "object 1 is drawn in object 0's black";

    auto lit = drawnColours(*world, 1, 1, first + second);
    ASSERT_EQ(lit.size(), first + second);
    EXPECT_GT(lit[first][0] + lit[first][1] + lit[first][2], 0.0f) << "and in its brown otherwise";
}

TEST_F(SceneDrawTest, TheHouseGroupIsHalfAsTallAsItsScaleAndSharesTheHousesSize)
{
    for (int i : {0, 1, 2}) {
        SCOPED_TRACE(i);
        const Placement& p = *world->placements[i];
        const Model& m = *p.model;
        OnlyPlacement only(*world, i);
        size_t faces = faceCount(m);
        float unit = m.scale / world->houseSize;
        auto place = [&](Vec3 v) {
            return Vec3{p.position.x + v.x * unit, p.position.y + v.y * unit * 0.5f,
                        p.position.z + v.z * unit};
        };
        // the house group is culled: each face is drawn under one of the two windings
        size_t front = matchFaces(m, drawnTriangles(*world, 1, 0, faces, false), place);
        size_t back = matchFaces(m, drawnTriangles(*world, 1, 0, faces, true), place);
        EXPECT_GT(front, 0u);
        EXPECT_GT(back, 0u);
        EXPECT_EQ(front + back, faces) << "every face where it belongs";
    }
}

TEST_F(SceneDrawTest, LeavesTheStateTheRestOfTheFrameExpects)
{
    GLfloat light[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_FLOAT_EQ(light[0], 25.6f) << "given under an identity modelview: in eye coordinates";
    EXPECT_FLOAT_EQ(light[1], 36.0f);
    EXPECT_FLOAT_EQ(light[2], 25.6f);
    EXPECT_FLOAT_EQ(light[3], 1.0f);
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, light);
    EXPECT_FLOAT_EQ(light[0], 0.2f);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, light);
    EXPECT_FLOAT_EQ(light[0], 0.5f);
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, light);
    EXPECT_FLOAT_EQ(light[3], 0.0f);

    for (bool sky : {true, false})
        for (bool replay : {true, false}) {
            SCOPED_TRACE(std::to_string(sky) + std::to_string(replay));
            this->sky = sky;
            afresh = !replay;
            // leaning at level 1 puts a preset-coloured barbecue and the lit panes in the frame
            frame(stationCamera(*world, 1), true, 1, 0, 1);
            EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
            EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
            EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
            EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
            EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
            GLint shade = 0;
            glGetIntegerv(GL_SHADE_MODEL, &shade);
            EXPECT_EQ(shade, GL_SMOOTH);
            // the white preset under the textures is the material left current
            const GLenum parts[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR};
            const GLfloat white[3][4] = {{1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 1}, {0, 0, 0, 1}};
            for (int k = 0; k < 3; ++k) {
                GLfloat value[4];
                glGetMaterialfv(GL_FRONT, parts[k], value);
                for (int c = 0; c < 4; ++c)
                    EXPECT_FLOAT_EQ(value[c], white[k][c]) << k << c;
            }
            GLfloat shininess = -1;
            glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
            EXPECT_EQ(shininess, 0.0f);
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
