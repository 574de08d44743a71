// SPDX-License-Identifier: MIT
// The shared vector operations, where rounding could turn an angle into NaN.
#include "common/vec.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(VecAngle, ParallelAndAntiParallelGiveZeroAndPiNeverNaN)
{
    const Vec3 dirs[] = {{1, 0, 0}, {0.3f, 0.7f, -0.1f}, {-18.1f, 1.5f, 18.1f}, {1e-3f, 2e-3f, 3e-3f}};
    for (Vec3 d : dirs) {
        double same = vecAngle(d, vecScale(d, 3.7f));
        double opposite = vecAngle(d, vecScale(d, -0.4f));
        EXPECT_FALSE(std::isnan(same));
        EXPECT_FALSE(std::isnan(opposite));
        EXPECT_NEAR(same, 0.0, 1e-3);
        EXPECT_NEAR(opposite, M_PI, 1e-3);
    }
    EXPECT_NEAR(vecAngle({1, 0, 0}, {0, 0, 1}), M_PI / 2, 1e-12);
}

TEST(VecOps, CrossNormalizeAndLength)
{
    Vec3 side = vecNormalize(vecCross({0, 1, 0}, {0.5f, -0.5f, 0.5f}));
    EXPECT_NEAR(vecLength(side), 1.0, 1e-6);
    EXPECT_NEAR(side.y, 0.0, 1e-7);
    // the up x view vector points to the viewer's left: (view.z, 0, -view.x) normalised
    EXPECT_NEAR(side.x, std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(side.z, -std::sqrt(0.5), 1e-6);
    EXPECT_DOUBLE_EQ(vecLength({3, 4, 12}), 13.0);
}
