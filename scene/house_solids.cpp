// SPDX-License-Identifier: MIT
// scene: the house's blocks as solids, and the check that the house model's walls close them.
#include "scene/house_solids.h"

#include <algorithm>
#include <cmath>

#include "common/house.h"

namespace {

using namespace house::walls;

// one side of a block: the plane coordinate[axis] == at, facing out along sign, spanning
// [low, high] in the other two coordinates (in axis order)
struct Side {
    int axis;
    double at, sign;
    double low[2], high[2];
};

// The sides an eye below the porch's roof can look into a block through. The main block's front
// below the porch's roof lies inside the porch, which its own walls close.
const Side kSides[] = {
    {2, kBackZ, -1, {-kHalfWidth, 0}, {kHalfWidth, kMainHeight}},                  // back
    {2, kFrontZ, 1, {-kHalfWidth, kPorchHeight}, {kHalfWidth, kMainHeight}},       // front, above the porch
    {2, kPorchZ, 1, {-kHalfWidth, 0}, {kHalfWidth, kPorchHeight}},                 // porch front
    {0, -kHalfWidth, -1, {0, kBackZ}, {kMainHeight, kFrontZ}},                     // left
    {0, -kHalfWidth, -1, {0, kFrontZ}, {kPorchHeight, kPorchZ}},                   // porch left
    {0, kHalfWidth, 1, {0, kBackZ}, {kMainHeight, kFrontZ}},                       // right
    {0, kHalfWidth, 1, {0, kFrontZ}, {kPorchHeight, kPorchZ}},                     // porch right
};

constexpr double kOnPlane = 1e-3;  // house units: a vertex this near a side's plane lies in it

Vec3 place(const float m[16], const Vec3& p)
{
    return Vec3{m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
                m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

double coordinate(const Vec3& p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

// the area of the triangle's part inside the side, if it lies in the side's plane facing out;
// a triangle reaching beyond the side counts none of its area
double areaOnSide(const Side& side, const Vec3 corner[3])
{
    const int u = side.axis == 0 ? 1 : 0, v = side.axis == 2 ? 1 : 2;
    for (int k = 0; k < 3; ++k) {
        if (std::fabs(coordinate(corner[k], side.axis) - side.at) > kOnPlane)
            return 0.0;
        const double cu = coordinate(corner[k], u), cv = coordinate(corner[k], v);
        if (cu < side.low[0] - kOnPlane || cu > side.high[0] + kOnPlane ||
            cv < side.low[1] - kOnPlane || cv > side.high[1] + kOnPlane)
            return 0.0;
    }
    const Vec3 n = vecCross(vecSub(corner[1], corner[0]), vecSub(corner[2], corner[0]));
    const double outward = coordinate(n, side.axis) * side.sign;
    return outward > 0.0 ? 0.5 * outward : 0.0;
}

}  // namespace

std::array<SolidBox, 2> houseBlocks()
{
    const float m = float(kHouseSolidMargin);
    return {SolidBox{Vec3{-kHalfWidth + m, m, kBackZ + m}, Vec3{kHalfWidth - m, kMainHeight - m, kFrontZ - m}},
            SolidBox{Vec3{-kHalfWidth + m, m, kFrontZ + m}, Vec3{kHalfWidth - m, kPorchHeight - m, kPorchZ - m}}};
}

bool eyeSeesHouseBlocksFromOutside(const Vec3& eye)
{
    const double m = kHouseSolidMargin;
    if (!(eye.y > m && eye.y < kPorchHeight - m))
        return false;
    const bool besideTheHouse = eye.x < -kHalfWidth - m || eye.x > kHalfWidth + m;
    return besideTheHouse || eye.z < kBackZ - m || eye.z > kPorchZ + m;
}

bool wallsCloseHouseBlocks(const Model& house, const float toHouse[16])
{
    double covered[std::size(kSides)] = {};
    const int objects = std::min<int>(house.objectCount, int(house.objects.size()));
    for (int k = 0; k < objects; ++k) {
        const MeshObject& object = house.objects[k];
        for (int f = 0; f < object.faceCount; ++f) {
            if (!validFace(object, object.faces[f]))
                continue;  // the drawing skips it too
            const int32_t* index = object.faces[f].vertexIndex;
            const Vec3 corner[3] = {place(toHouse, object.vertices[index[0]]),
                                    place(toHouse, object.vertices[index[1]]),
                                    place(toHouse, object.vertices[index[2]])};
            for (size_t s = 0; s < std::size(kSides); ++s)
                covered[s] += areaOnSide(kSides[s], corner);
        }
    }
    for (size_t s = 0; s < std::size(kSides); ++s) {
        const Side& side = kSides[s];
        const double area = (side.high[0] - side.low[0]) * (side.high[1] - side.low[1]);
        if (covered[s] < area * (1.0 - 1e-4))
            return false;
    }
    return true;
}
