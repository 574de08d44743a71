// SPDX-License-Identifier: MIT
// The view volume that leaves out ground tiles and projectiles that cannot reach the screen.
#include <gtest/gtest.h>

#include <cmath>

#include "common/view_frustum.h"

namespace {

// GL's column-major matrices for a perspective view and an eye at the origin looking down -z
void perspective(double fovY, double aspect, double near, double far, double m[16])
{
    double f = 1.0 / std::tan(fovY * 3.14159265358979 / 360.0);
    for (int k = 0; k < 16; ++k)
        m[k] = 0.0;
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (far + near) / (near - far);
    m[11] = -1.0;
    m[14] = 2.0 * far * near / (near - far);
}

constexpr double kMargin = 4.0;
constexpr double kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

bool mayShowCube(const ViewFrustum& view, double x, double y, double z, double half)
{
    return view.mayShow(Vec3{float(x - half), float(y - half), float(z - half)},
                        Vec3{float(x + half), float(y + half), float(z + half)});
}

}  // namespace

TEST(ViewFrustum, LeavesOutOnlyBoxesWhollyOutsideOnePlane)
{
    double projection[16];
    perspective(60.0, 1.0, 0.5, 73.0, projection);
    ViewFrustum view(projection, kIdentity, kMargin);
    EXPECT_TRUE(mayShowCube(view, 0, 0, -10, 1));     // straight ahead
    EXPECT_FALSE(mayShowCube(view, 0, 0, 20, 1));     // behind the eye
    EXPECT_FALSE(mayShowCube(view, -40, 0, -10, 1));  // far off to the left
    EXPECT_FALSE(mayShowCube(view, 0, 40, -10, 1));   // far above
    EXPECT_FALSE(mayShowCube(view, 0, 0, -90, 1));    // beyond the far plane
    EXPECT_TRUE(mayShowCube(view, 0, 0, -74, 2));     // across the far plane
    EXPECT_TRUE(mayShowCube(view, 0, 0, 0, 1));       // round the eye, across the near plane
    // outside the left and the top planes at once, but not wholly outside either: kept
    EXPECT_TRUE(mayShowCube(view, -10, 10, -10, 6));
    // a box just outside a side plane is kept; one clear of the margin is not
    double edge = 10.0 * std::tan(30.0 * 3.14159265358979 / 180.0);
    EXPECT_TRUE(mayShowCube(view, edge + 1.5, 0, -10, 1));
    EXPECT_FALSE(mayShowCube(view, edge + 10.0, 0, -10, 1));
    // the margin is the caller's: a tight one leaves out the box the wide one keeps
    ViewFrustum tight(projection, kIdentity, 0.5);
    EXPECT_FALSE(mayShowCube(tight, edge + 2.5, 0, -10, 1));
    EXPECT_TRUE(mayShowCube(view, edge + 2.5, 0, -10, 1));
    EXPECT_TRUE(mayShowCube(tight, edge + 1.2, 0, -10, 1));
}

TEST(ViewFrustum, PlanesFollowTheModelview)
{
    double projection[16];
    perspective(60.0, 1.0, 0.5, 73.0, projection);
    // the eye turned to look down +x: the same as moving the world a quarter turn round y
    double modelview[16] = {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    ViewFrustum view(projection, modelview, kMargin);
    EXPECT_TRUE(mayShowCube(view, 10, 0, 0, 1));
    EXPECT_FALSE(mayShowCube(view, 0, 0, -10, 1));
    EXPECT_FALSE(mayShowCube(view, -10, 0, 0, 1));
    // scaled by 0.1 and shifted, as the ground is drawn: a box in grid units
    double scaled[16] = {0.1, 0, 0, 0, 0, 0.1, 0, 0, 0, 0, 0.1, 0, -25.6, -1.5, -25.6, 1};
    ViewFrustum ground(projection, scaled, kMargin);
    EXPECT_TRUE(ground.mayShow(Vec3{200, 0, 100}, Vec3{264, 20, 164}));   // yard x -5..1, z -15..-9
    EXPECT_FALSE(ground.mayShow(Vec3{200, 0, 448}, Vec3{264, 20, 512}));  // behind the eye
}

// a view volume without depth range (a broken matrix) keeps everything rather than nothing
TEST(ViewFrustum, AFlatMatrixCullsNothing)
{
    double zero[16] = {};
    ViewFrustum view(zero, kIdentity, kMargin);
    EXPECT_TRUE(mayShowCube(view, 0, 0, -10, 1));
    EXPECT_TRUE(mayShowCube(view, 1000, 0, 1000, 1));
}

// the eye stands where the modelview takes the origin of eye space from
TEST(ViewFrustum, TheEyeInTheDrawnObjectsCoordinates)
{
    Vec3 eye;
    ASSERT_TRUE(eyeInModel(kIdentity, eye));
    EXPECT_FLOAT_EQ(eye.x, 0.0f);
    // turned a quarter round y and moved 5 along eye x: the eye stands 5 back along world z
    const double turned[16] = {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 5, 0, 0, 1};
    ASSERT_TRUE(eyeInModel(turned, eye));
    EXPECT_NEAR(eye.x, 0.0, 1e-6);
    EXPECT_NEAR(eye.z, -5.0, 1e-6);
    // the ground's scaled and shifted frame: the eye in grid units
    const double scaled[16] = {0.1, 0, 0, 0, 0, 0.2, 0, 0, 0, 0, 0.1, 0, -25.6, -1.5, -25.6, 1};
    ASSERT_TRUE(eyeInModel(scaled, eye));
    EXPECT_NEAR(eye.x, 256.0, 1e-3);
    EXPECT_NEAR(eye.y, 7.5, 1e-3);
    EXPECT_NEAR(eye.z, 256.0, 1e-3);
    // a matrix that flattens space has no eye in it
    const double flat[16] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_FALSE(eyeInModel(flat, eye));
}