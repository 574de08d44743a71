// SPDX-License-Identifier: MIT
// terrain drawing read back from the frame buffer: the one-list drawing against the triangles
// drawn one by one, pixel for pixel.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <memory>
#include <set>
#include <vector>

#include "common/view_frustum.h"
#include "terrain/terrain.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/literal_drawing.h"

namespace {

constexpr int kSize = 600;

struct Camera {
    double eyeX, eyeY, eyeZ, atX, atY, atZ;
    double upZ = 0.0;  // for a view straight down; otherwise y is up
};

// eye height and a station on the circle round the house, looking at the house
Camera station(int level)
{
    double angle = 3.92699 + level * 1.5707963;
    return Camera{25.6 * std::cos(angle), 1.7, 25.6 * std::sin(angle), 0.0, 1.0, 0.0};
}

const Camera kStation{0.0, 1.7, 25.6, 0.0, 0.0, 0.0};
const Camera kOverhead{0.0, 45.0, 12.0, 0.0, 0.0, 0.0};
// the bird's-eye view: high over the house, straight down
const Camera kBirdsEye{0.0, 40.0, 0.0, 0.0, 0.0, 0.0, 1.0};
// standing in the yard, looking at the grass at one's feet
const Camera kAtTheGround{10.0, 1.7, 5.0, 10.0, -1.0, 5.01, 0.0};
// looking up into the sky: no ground at all
const Camera kAtTheSky{0.0, 1.7, 0.0, 0.0, 40.0, 1.0};

class TerrainDrawTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        glTestWindow(kSize, kSize);
        uploadGrassStandIn();
        terrain = std::make_unique<Terrain>();
        terrain->build();
    }
    static void TearDownTestSuite()
    {
        terrain->releaseDrawBatch();
        terrain.reset();
    }

    // a busy mipmapped texture under the grass name, so any change in coordinates shows
    static void uploadGrassStandIn()
    {
        constexpr int side = 64;
        std::vector<uint8_t> texels(side * side * 3);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                uint8_t* t = &texels[(y * side + x) * 3];
                t[0] = uint8_t(40 + (x * 37 + y * 11) % 90);
                t[1] = uint8_t(100 + ((x ^ y) * 13) % 150);
                t[2] = uint8_t((x / 8 + y / 8) % 2 ? 20 : 90);
            }
        glBindTexture(GL_TEXTURE_2D, 2);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, side, side, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    // the scene's set-up for the ground: light at the eye, white material, textured, then the
    // house-frame shift and the terrain's own scale and height shift
    void setUpFrame(const Camera& c)
    {
        glClearColor(0.0f, 0.0f, 0.2f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 1.0, 0.5, 73.0);  // the game's view volume
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const float position[] = {25.6f, 36.0f, 25.6f, 1.0f};
        const float diffuse[] = {0.9f, 0.9f, 0.8f, 1.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, position);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glEnable(GL_LIGHT0);
        glEnable(GL_LIGHTING);
        glEnable(GL_NORMALIZE);
        glDisable(GL_CULL_FACE);
        glDisable(GL_COLOR_MATERIAL);
        const float white[] = {1.0f, 1.0f, 1.0f, 1.0f};
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, white);
        glEnable(GL_TEXTURE_2D);
        gluLookAt(c.eyeX, c.eyeY, c.eyeZ, c.atX, c.atY, c.atZ, 0.0, c.upZ != 0.0 ? 0.0 : 1.0, c.upZ);
        glTranslatef(-25.6f, 0.0f, -25.6f);
        glScalef(0.1f, 0.1f, 0.1f);
        glTranslatef(0.0f, -15.0f, 0.0f);
    }

    Pixels drawEachTriangle(const Camera& c)
    {
        setUpFrame(c);
        EXPECT_EQ(drawTerrainEachTriangle(*terrain), 8192);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        return glReadBack();
    }

    // every tile's list, whatever the camera, with everything in view: false draws the tiles in
    // the camera's view, as the game does
    Pixels drawBatched(const Camera& c, bool everyTile = false)
    {
        setUpFrame(c);
        if (everyTile) {
            const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
            terrain->drawInView(ViewFrustum(identity, identity, 1e9));
        } else {
            terrain->draw();
        }
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        return glReadBack();
    }

    static std::unique_ptr<Terrain> terrain;
};

std::unique_ptr<Terrain> TerrainDrawTest::terrain;

// the ground covers most of the picture and is textured, not a flat colour
void expectTexturedGround(const Pixels& px, double minCover)
{
    int ground = 0;
    std::set<int> colours;
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x) {
            const uint8_t* p = px.at(x, y);
            if (p[0] == 0 && p[1] == 0 && p[2] == 51)
                continue;
            ++ground;
            colours.insert(p[0] << 16 | p[1] << 8 | p[2]);
        }
    EXPECT_GT(ground, int(minCover * px.width * px.height));
    EXPECT_GT(colours.size(), 500u);
}

int differingPixels(const Pixels& a, const Pixels& b)
{
    int n = 0;
    for (size_t k = 0; k + 2 < a.rgb.size(); k += 3)
        n += a.rgb[k] != b.rgb[k] || a.rgb[k + 1] != b.rgb[k + 1] || a.rgb[k + 2] != b.rgb[k + 2];
    return n;
}

}  // namespace

// the tiles left out of a view are ones that would not have lit a pixel, and the rest keep
// their order, so depth ties fall the same way
TEST_F(TerrainDrawTest, TilesInViewDrawTheSamePixelsAsTriangleByTriangle)
{
    std::vector<Camera> cameras{station(0), station(1), station(2), station(3), kBirdsEye,
                                kAtTheGround, kOverhead};
    for (size_t k = 0; k < cameras.size(); ++k) {
        SCOPED_TRACE(k);
        const Camera& camera = cameras[k];
        Pixels single = drawEachTriangle(camera);
        Pixels culled = drawBatched(camera);
        int32_t drawn = terrain->drawnTriangles;
        Pixels replayed = drawBatched(camera);
        ASSERT_EQ(single.rgb.size(), culled.rgb.size());
        EXPECT_EQ(differingPixels(single, culled), 0);
        EXPECT_EQ(differingPixels(single, replayed), 0);
        EXPECT_EQ(terrain->drawnTriangles, drawn);
        EXPECT_GT(drawn, 0);
        EXPECT_EQ(drawn % 64, 0);  // whole tiles
        if (k < 4 || &camera == &cameras[5]) {
            // a station sees the house side of the yard, not what lies behind the eye
            EXPECT_LT(drawn, 8192 * 3 / 4);
        }
        expectTexturedGround(culled, camera.eyeY > 10.0 ? 0.6 : 0.3);
    }
    savePng(drawBatched(station(0)), "terrain_station");
    savePng(drawBatched(kBirdsEye), "terrain_birds_eye");
}

TEST_F(TerrainDrawTest, EveryTileDrawnStillMatchesAndALookAtTheSkyDrawsNone)
{
    for (const Camera& camera : {station(1), kAtTheGround}) {
        Pixels all = drawBatched(camera, true);
        EXPECT_EQ(terrain->drawnTriangles, 8192);
        EXPECT_EQ(differingPixels(drawEachTriangle(camera), all), 0);
    }

    Pixels single = drawEachTriangle(kAtTheSky);
    Pixels culled = drawBatched(kAtTheSky);
    EXPECT_EQ(terrain->drawnTriangles, 0);
    EXPECT_EQ(differingPixels(single, culled), 0);
}

// whatever is left out, GL's current normal and texture coordinate are those of the last
// triangle, as after the drawing triangle by triangle
TEST_F(TerrainDrawTest, CurrentNormalAndTextureCoordinateEndAsAfterEveryTriangle)
{
    float normal[2][4], texture[2][4];
    for (const Camera& camera : {kAtTheSky, station(2)}) {
        for (bool batched : {false, true}) {
            setUpFrame(camera);
            if (batched)
                terrain->draw();
            else
                drawTerrainEachTriangle(*terrain);
            glGetFloatv(GL_CURRENT_NORMAL, normal[batched]);
            glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texture[batched]);
        }
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(normal[0][c], normal[1][c]);
        EXPECT_EQ(texture[0][0], texture[1][0]);
        EXPECT_EQ(texture[0][1], texture[1][1]);
    }
}

TEST_F(TerrainDrawTest, DrawingLeavesTheGrassBoundAndTheColourWhite)
{
    for (bool batched : {false, true}) {
        setUpFrame(kStation);
        glBindTexture(GL_TEXTURE_2D, 0);
        glColor3f(0.2f, 0.3f, 0.4f);
        if (batched)
            terrain->draw();
        else
            drawTerrainEachTriangle(*terrain);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, 2);
        float colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_EQ(colour[0], 1.0f);
        EXPECT_EQ(colour[1], 1.0f);
        EXPECT_EQ(colour[2], 1.0f);
    }
}

TEST_F(TerrainDrawTest, TreeDrawCountsItsLevel)
{
    setUpFrame(kOverhead);
    EXPECT_EQ(terrain->root1->draw(kDrawLevel, terrain->samples()), 4096);
    EXPECT_EQ(terrain->root2->draw(kDrawLevel, terrain->samples()), 4096);
    EXPECT_EQ(terrain->root1->draw(kMaxDepth + 1, terrain->samples()), 0);
    EXPECT_EQ(terrain->root1->leftChild()->draw(0, terrain->samples()), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// a terrain drawn while someone compiles a list ends up in that list, not in a nested one
TEST_F(TerrainDrawTest, DrawnIntoAnotherListStillDrawsTheGround)
{
    auto fresh = std::make_unique<Terrain>();
    fresh->build();
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    fresh->draw();
    glEndList();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    Pixels expected = drawEachTriangle(kOverhead);
    setUpFrame(kOverhead);
    glCallList(list);
    EXPECT_EQ(differingPixels(expected, glReadBack()), 0);
    glDeleteLists(list, 1);

    // and a rebuilt terrain compiles its list again
    fresh->build();
    EXPECT_EQ(differingPixels(expected, [&] {
        setUpFrame(kOverhead);
        fresh->draw();
        return glReadBack();
    }()), 0);
    fresh->releaseDrawBatch();
}

// start-up gives the tree back once the lists exist: the ground looks the same from every view,
// also replayed from a list made afterwards, and the heights are the grid's
TEST_F(TerrainDrawTest, TreeGivenBackDrawsTheSameGround)
{
    auto fresh = std::make_unique<Terrain>();
    fresh->build();
    const std::vector<Camera> cameras{station(0), station(2), kBirdsEye, kAtTheGround};
    std::vector<Pixels> before;
    for (const Camera& camera : cameras)
        before.push_back(drawEachTriangle(camera));
    const float height = fresh->heightAt(100, 200);

    fresh->releaseTree();
    EXPECT_EQ(fresh->treeBytes(), 0u);
    EXPECT_EQ(fresh->root1, nullptr);
    ASSERT_NE(fresh->firstRoot(), nullptr);
    EXPECT_EQ(fresh->heightAt(100, 200), height);
    for (size_t k = 0; k < cameras.size(); ++k) {
        SCOPED_TRACE(k);
        setUpFrame(cameras[k]);
        fresh->draw();
        EXPECT_EQ(differingPixels(before[k], glReadBack()), 0);
    }

    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    fresh->draw();
    glEndList();
    setUpFrame(kOverhead);
    glCallList(list);
    EXPECT_EQ(differingPixels(drawEachTriangle(kOverhead), glReadBack()), 0);
    EXPECT_EQ(fresh->drawnTriangles, 8192);
    glDeleteLists(list, 1);
    fresh->releaseDrawBatch();
}
