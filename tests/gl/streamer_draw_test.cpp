// SPDX-License-Identifier: MIT
// streamer: the solid strip's normals and the wire lines' colours, computed and read back.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>


#include <cmath>
#include <cstring>

#include "app/app.h"
#include "streamer/paper_streamer.h"
#include "streamer/streamer_draw.h"
#include "tests/support/gl_fixture.h"

namespace {

class StreamerDrawTest : public ::testing::Test {
protected:
    void SetUp() override { resetAllGlobals(); }
    void TearDown() override { resetAllGlobals(); }
};

void expectUnit(Vec3 n, Vec3 expected)
{
    EXPECT_NEAR(n.x, expected.x, 1e-6f);
    EXPECT_NEAR(n.y, expected.y, 1e-6f);
    EXPECT_NEAR(n.z, expected.z, 1e-6f);
}

TEST_F(StreamerDrawTest, FreshStripFacesAlongX)
{
    // it stands in a plane of constant x, row 1 behind row 0 along z
    for (PaperStreamer s : {PaperStreamer(Vec3{0, 0, 0}, Vec3{0, 0, 0.3f}),
                            PaperStreamer(Vec3{-7.5f, 1.5f, -25.6f}, Vec3{9, 9, -25.3f})}) {
        Vec3 normals[kStreamerTriangles];
        streamerTriangleNormals(&s, normals);
        for (int t = 0; t < kStreamerTriangles; ++t) {
            SCOPED_TRACE(t);
            expectUnit(normals[t], Vec3{1, 0, 0});
        }
    }
}

TEST_F(StreamerDrawTest, TriangleWithNoAreaTakesTheNormalBeforeIt)
{
    // a strip of no width: every triangle is a line, so all take the upward fallback
    PaperStreamer flat(Vec3{0, 5, -20}, Vec3{1, 5, -20});
    Vec3 normals[kStreamerTriangles];
    streamerTriangleNormals(&flat, normals);
    for (const Vec3& n : normals)
        expectUnit(n, Vec3{0, 1, 0});

    // column 5 collapsed onto column 4: the two triangles between them have no area
    PaperStreamer s(Vec3{0, 0, 0}, Vec3{0, 0, 0.3f});
    s.at(0, 5).position = s.at(0, 4).position;
    s.at(1, 5).position = s.at(1, 4).position;
    streamerTriangleNormals(&s, normals);
    expectUnit(normals[8], normals[7]);
    expectUnit(normals[9], normals[7]);
    for (const Vec3& n : normals)
        EXPECT_TRUE(std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z));
}

TEST_F(StreamerDrawTest, WireLinesMarkTheRollEdgeInRed)
{
    // the colours themselves are read back in WireframeReadBackShowsTheMarks
    for (auto [r, c] : {std::pair{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 2}})
        EXPECT_TRUE(streamerParticleMarked(r, c)) << r << c;
    EXPECT_FALSE(streamerParticleMarked(1, 1));
    for (int r = 0; r < kStreamerRows; ++r)
        for (int c = 3; c < kStreamerColumns; ++c)
            EXPECT_FALSE(streamerParticleMarked(r, c)) << r << c;
}

// the brightest pixel around a particle's projection: lines are thin and the projection may
// fall between pixel centres
const uint8_t* pixelAt(const Pixels& pixels, Vec3 p)
{
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx, wy, wz;
    gluProject(p.x, p.y, p.z, model, projection, viewport, &wx, &wy, &wz);
    const uint8_t* best = pixels.at(int(wx), int(wy));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const uint8_t* q = pixels.at(int(wx) + dx, int(wy) + dy);
            if (q[0] + q[1] + q[2] > best[0] + best[1] + best[2])
                best = q;
        }
    return best;
}


// looks at the strip from +x, the whole of it in view, with lighting off so colours show
PaperStreamer lookAtStrip()
{
    glTestWindow(600, 600);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-21, 21, -21, 21, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(10, 20.5, 0.5, 0, 20.5, 0.5, 0, 1, 0);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // columns and rows 1 apart, about 14 pixels on screen
    return PaperStreamer(Vec3{0, 0, 0}, Vec3{0, 0, 1});
}

TEST_F(StreamerDrawTest, WireframeReadBackShowsTheMarks)
{
    PaperStreamer s = lookAtStrip();
    drawStreamer(&s, true);
    const Pixels pixels = glReadBack();
    savePng(pixels, "streamer_wireframe");

    const uint8_t* marked = pixelAt(pixels, s.at(1, 2).position);
    EXPECT_GT(marked[0], 200);
    EXPECT_LT(marked[2], 60);
    const uint8_t* plain = pixelAt(pixels, s.at(1, 1).position);
    EXPECT_GT(plain[2], 200);
    EXPECT_LT(plain[0], 60);
    const uint8_t* far = pixelAt(pixels, s.at(0, 30).position);
    EXPECT_GT(far[2], 200);
    EXPECT_LT(far[0], 60);
    GLfloat size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 3.0f);
}

TEST_F(StreamerDrawTest, SolidStripCoversItsQuadsAndEndsAtTheLastColumn)
{
    PaperStreamer s = lookAtStrip();
    drawStreamer(&s, false);
    const Pixels pixels = glReadBack();
    savePng(pixels, "streamer_solid");
    // the middle of the quad between columns 10 and 11, unlit: the blue of its colour call
    const Vec3 middle = vecScale(vecAdd(s.at(0, 10).position, s.at(1, 11).position), 0.5f);
    const uint8_t* inside = pixelAt(pixels, middle);
    EXPECT_GT(inside[2], 200);
    // below column 39 there is no quad
    const uint8_t* below = pixelAt(pixels, vecAdd(s.at(0, 39).position, Vec3{0, -0.5f, 0.5f}));
    EXPECT_EQ(below[0] + below[1] + below[2], 0);
}

} // namespace
