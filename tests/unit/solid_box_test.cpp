// SPDX-License-Identifier: MIT
// What a solid box hides from an eye: the lines that pass through its inside, and the boxes
// wholly behind it.
#include <gtest/gtest.h>

#include "common/solid_box.h"

namespace {

// a block 2 wide, 1 high and 2 deep, standing on the ground round the origin
const SolidBox kBlock{Vec3{-1, 0, -1}, Vec3{1, 1, 1}};

}  // namespace

TEST(SolidBox, ALineHidesItsEndOnlyThroughTheInside)
{
    const struct {
        Vec3 eye, point;
        bool hidden;
        const char* what;
    } rows[] = {
        {{0, 0.5f, 5}, {0, 0.5f, -5}, true, "straight through"},
        {{0, 0.5f, 5}, {0, 0.5f, 0}, true, "to a point inside"},
        {{0, 0.5f, 5}, {0, 0.5f, 2}, false, "stops short of the box"},
        {{0, 0.5f, 5}, {2, 0.5f, -5}, true, "slanting out through a side"},
        {{0, 0.5f, 5}, {5, 0.5f, -5}, false, "slanting past the corner"},
        {{0, 2, 5}, {0, 2, -5}, false, "level above the top"},
        {{0, 1, 5}, {0, 1, -5}, false, "along the top face, not through the inside"},
        {{1, 0.5f, 5}, {1, 0.5f, -5}, false, "along a side face"},
        {{-1, 0.5f, 5}, {-1, 0.5f, -5}, false, "along the other side face"},
        {{2, 0.5f, 0}, {0, 0.5f, 2}, false, "touching only an edge"},
        {{0, 3, 5}, {0, -1, -5}, true, "down through the top"},
        {{0, 0.5f, 0}, {0, 0.5f, -5}, false, "from an eye inside"},
        {{1, 0.5f, 0}, {5, 0.5f, 0}, false, "from an eye on a face, outwards"},
        {{-1, 0.5f, 0}, {5, 0.5f, 0}, false, "from an eye on a face, inwards"},
        {{0, 0.5f, 5}, {0, 0.5f, 5}, false, "no line at all"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(lineEntersBox(row.eye, row.point, kBlock), row.hidden) << row.what;
}

TEST(SolidBox, ShadowsHideOnlyBoxesWhollyBehindOneSolid)
{
    Shadows shadows;
    shadows.eye = Vec3{0, 0.5f, 10};
    EXPECT_FALSE(shadows.hide(Vec3{-0.2f, 0.2f, -3}, Vec3{0.2f, 0.4f, -2})) << "no solids";
    shadows.solids.push_back(kBlock);
    EXPECT_TRUE(shadows.hide(Vec3{-0.2f, 0.2f, -3}, Vec3{0.2f, 0.4f, -2})) << "small, behind";
    EXPECT_TRUE(shadows.hide(Vec3{-0.5f, 0.2f, -0.5f}, Vec3{0.5f, 0.8f, 0.5f})) << "inside";
    EXPECT_FALSE(shadows.hide(Vec3{-0.2f, 0.2f, -3}, Vec3{3, 0.4f, -2})) << "reaching out beside";
    EXPECT_FALSE(shadows.hide(Vec3{-0.2f, 0.2f, -3}, Vec3{0.2f, 3, -2})) << "reaching out above";
    EXPECT_FALSE(shadows.hide(Vec3{-0.2f, 0.2f, 2}, Vec3{0.2f, 0.4f, 3})) << "in front";
    // a box behind the second solid, beside the first
    shadows.solids.push_back(SolidBox{Vec3{4, 0, -1}, Vec3{6, 1, 1}});
    EXPECT_TRUE(shadows.hide(Vec3{5.4f, 0.2f, -3}, Vec3{5.8f, 0.4f, -2})) << "behind the second";
    // across the gap between two solids: each hides a part, neither the whole
    EXPECT_FALSE(shadows.hide(Vec3{0, 0.2f, -3}, Vec3{5.8f, 0.4f, -2})) << "across both";
}
