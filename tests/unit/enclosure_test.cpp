// SPDX-License-Identifier: MIT
// What walls the eye in: the hidden views leave out all that lies outside a lump of the bush
// round the eye, so every condition that makes that safe must hold, and fail when it does not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "scene/enclosure.h"

namespace {

constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// a unit sphere of slices x stacks, poles on z, as the asset generator makes the lumps
struct Sphere {
    std::vector<Vec3> vertices;
    std::vector<MeshFace> faces;
    MeshObject object{};

    Sphere(int slices, int stacks)
    {
        const double pi = std::acos(-1.0);
        vertices.push_back(Vec3{0, 0, 1});
        for (int k = 1; k < stacks; ++k)
            for (int i = 0; i < slices; ++i) {
                double polar = pi * k / stacks, a = 2 * pi * i / slices;
                vertices.push_back(Vec3{float(std::sin(polar) * std::cos(a)),
                                        float(std::sin(polar) * std::sin(a)),
                                        float(std::cos(polar))});
            }
        const int south = int(vertices.size());
        vertices.push_back(Vec3{0, 0, -1});
        auto ring = [&](int k, int i) { return 1 + (k - 1) * slices + i % slices; };
        for (int i = 0; i < slices; ++i)
            faces.push_back({{ring(1, i), ring(1, i + 1), 0}});
        for (int k = 1; k + 1 < stacks; ++k)
            for (int i = 0; i < slices; ++i) {
                faces.push_back({{ring(k + 1, i), ring(k + 1, i + 1), ring(k, i + 1)}});
                faces.push_back({{ring(k + 1, i), ring(k, i + 1), ring(k, i)}});
            }
        for (int i = 0; i < slices; ++i)
            faces.push_back({{south, ring(stacks - 1, i + 1), ring(stacks - 1, i)}});
        refresh();
    }
    void refresh()
    {
        object.vertexCount = int32_t(vertices.size());
        object.faceCount = int32_t(faces.size());
        object.vertices = vertices.data();
        object.faces = faces.data();
    }
};

bool wallsIn(const Sphere& s, const float toWorld[16], std::vector<Vec3> points, double margin)
{
    Ball ball{};
    return objectWallsEyeIn(s.object, toWorld, points.data(), int(points.size()), margin, ball);
}

}  // namespace

TEST(Enclosure, OnlyAClosedConvexSolidRoundEveryPointWallsTheEyeIn)
{
    Sphere sphere(16, 9);
    // a 16 x 9 sphere's surface crosses the x axis at about 0.985
    EXPECT_TRUE(wallsIn(sphere, kIdentity, {{0, 0, 0}, {0.3f, 0.2f, 0.1f}}, 0.05));
    EXPECT_FALSE(wallsIn(sphere, kIdentity, {{0, 0, 0}, {0.96f, 0, 0}}, 0.05)) << "within margin";
    EXPECT_FALSE(wallsIn(sphere, kIdentity, {{0, 0, 0}, {0, 0, 1.5f}}, 0.05)) << "outside";

    // placed: scaled three times and moved, the same point inside it is walled in
    const float placed[16] = {3, 0, 0, 0, 0, 3, 0, 0, 0, 0, 3, 0, 10, 1, 6, 1};
    EXPECT_TRUE(wallsIn(sphere, placed, {{11.5f, 1, 6}}, 0.05));
    EXPECT_FALSE(wallsIn(sphere, placed, {{0.3f, 0.2f, 0.1f}}, 0.05));

    Ball ball{};
    Vec3 centre{0, 0, 0};
    ASSERT_TRUE(objectWallsEyeIn(sphere.object, placed, &centre, 0, 0.05, ball));
    EXPECT_NEAR(ball.centre.x, 10.0, 1e-4);
    EXPECT_NEAR(ball.radius, 3.0, 0.01);

    // a hole: the eye would see out through it
    Sphere open(16, 9);
    open.faces.pop_back();
    open.refresh();
    EXPECT_FALSE(wallsIn(open, kIdentity, {{0, 0, 0}}, 0.05));
    // not convex: a face's plane need not keep the inside on the side of the corners' mean
    Sphere spiked(16, 9);
    spiked.vertices[20] = vecScale(spiked.vertices[20], 3.0f);
    EXPECT_FALSE(wallsIn(spiked, kIdentity, {{0, 0, 0}}, 0.05));
    // a face naming corners the object lacks (a damaged file) is refused before any is read
    for (int32_t bad : {-1, 130, 100000000}) {  // 130 corners: 0 to 129
        Sphere damaged(16, 9);
        damaged.faces[7].vertexIndex[1] = bad;
        damaged.refresh();
        EXPECT_FALSE(wallsIn(damaged, kIdentity, {{0, 0, 0}}, 0.05)) << bad;
    }
}

TEST(Enclosure, ViewCornersAreTheEyeAndTheNearRectangle)
{
    // gluPerspective(90, 2, 0.5, 100) and an eye at (1, 2, 3) looking down -z
    const double n = 0.5, f = 100.0;
    const double projection[16] = {0.5, 0, 0, 0, 0, 1, 0, 0, 0, 0, (f + n) / (n - f), -1,
                                   0, 0, 2 * f * n / (n - f), 0};
    const double modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, -2, -3, 1};
    Vec3 corners[5];
    ASSERT_TRUE(viewCorners(projection, modelview, corners));
    // the eye, then left bottom, right bottom, right top, left top: x 1 -+ 0.5 * 2, y 2 -+ 0.5,
    // the near plane 0.5 ahead
    const Vec3 expected[5] = {{1, 2, 3}, {0, 1.5f, 2.5f}, {2, 1.5f, 2.5f}, {2, 2.5f, 2.5f},
                              {0, 2.5f, 2.5f}};
    for (int k = 0; k < 5; ++k) {
        EXPECT_NEAR(corners[k].x, expected[k].x, 1e-6) << k;
        EXPECT_NEAR(corners[k].y, expected[k].y, 1e-6) << k;
        EXPECT_NEAR(corners[k].z, expected[k].z, 1e-6) << k;
    }
    const double scaled[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
    EXPECT_FALSE(viewCorners(projection, scaled, corners));
    const double orthographic[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    EXPECT_FALSE(viewCorners(orthographic, modelview, corners));
    // w taken from x as well: not the frustum's form
    double skewed[16];
    std::copy(projection, projection + 16, skewed);
    skewed[3] = 0.1;
    EXPECT_FALSE(viewCorners(skewed, modelview, corners));
    // a near plane at the eye, or a view of no width or no height, has no rectangle
    for (int at : {14, 0, 5}) {
        double flat[16];
        std::copy(projection, projection + 16, flat);
        flat[at] = 0.0;
        EXPECT_FALSE(viewCorners(flat, modelview, corners)) << at;
    }
}

TEST(Enclosure, BallsInsideTheSkyAndApart)
{
    // 5 slices leave the dome's faces at about 0.8 of its radius from the centre
    const Vec3 centre{25.6f, 0, 25.6f};
    EXPECT_TRUE(ballInsideTessellatedSphere(Ball{Vec3{10, 1, 6.5f}, 2.5}, centre, 36.2, 5, 10,
                                            0.05));
    EXPECT_FALSE(ballInsideTessellatedSphere(Ball{Vec3{25.6f, 0, 55}, 0.5}, centre, 36.2, 5, 10,
                                             0.05)) << "beyond the faces, inside the sphere";
    EXPECT_TRUE(ballsApart(Ball{Vec3{0, 0, 0}, 1}, Ball{Vec3{3, 0, 0}, 1.9}, 0.05));
    EXPECT_FALSE(ballsApart(Ball{Vec3{0, 0, 0}, 1}, Ball{Vec3{3, 0, 0}, 1.96}, 0.05));
    EXPECT_TRUE(boxOutsideBall(Vec3{2, 2, 2}, Vec3{3, 3, 3}, Ball{Vec3{0, 0, 0}, 3.4}));
    EXPECT_FALSE(boxOutsideBall(Vec3{2, 2, 2}, Vec3{3, 3, 3}, Ball{Vec3{0, 0, 0}, 3.5}));
}
