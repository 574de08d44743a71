// terrain drawing read back from the frame buffer: the one-list drawing against the triangles
// drawn one by one, pixel for pixel.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <memory>
#include <set>
#include <vector>

#include "tests/support/gl_fixture.h"
#include "terrain/terrain.h"

namespace {

constexpr int kSize = 600;

struct Camera {
    double eyeX, eyeY, eyeZ, atX, atY, atZ;
};

// where the player stands at the first station, and high over the yard looking down
const Camera kStation{0.0, 1.7, 25.6, 0.0, 0.0, 0.0};
const Camera kOverhead{0.0, 45.0, 12.0, 0.0, 0.0, 0.0};

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
        gluPerspective(60.0, 1.0, 0.5, 200.0);
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
        gluLookAt(c.eyeX, c.eyeY, c.eyeZ, c.atX, c.atY, c.atZ, 0.0, 1.0, 0.0);
        glTranslatef(-25.6f, 0.0f, -25.6f);
        glScalef(0.1f, 0.1f, 0.1f);
        glTranslatef(0.0f, -15.0f, 0.0f);
    }

    Pixels drawEachTriangle(const Camera& c)
    {
        setUpFrame(c);
        EXPECT_EQ(terrain->drawEachTriangle(), 8192);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        return glReadBack();
    }

    Pixels drawBatched(const Camera& c)
    {
        setUpFrame(c);
        terrain->draw();
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

TEST_F(TerrainDrawTest, OneListDrawsTheSamePixelsAsTriangleByTriangle)
{
    for (const Camera& camera : {kStation, kOverhead}) {
        Pixels single = drawEachTriangle(camera);
        Pixels batched = drawBatched(camera);
        Pixels replayed = drawBatched(camera);
        ASSERT_EQ(single.rgb.size(), batched.rgb.size());
        EXPECT_EQ(differingPixels(single, batched), 0);
        EXPECT_EQ(differingPixels(single, replayed), 0);
        expectTexturedGround(batched, camera.eyeY > 10.0 ? 0.6 : 0.3);
    }
    savePng(drawBatched(kStation), "terrain_station");
    savePng(drawBatched(kOverhead), "terrain_overhead");
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
            terrain->drawEachTriangle();
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
