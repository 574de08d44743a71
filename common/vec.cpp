// SPDX-License-Identifier: MIT
// common: vector operations shared by the camera, the rolls and the drawing.
#include "common/vec.h"

#include <cmath>

#include "common/exact_math.h"

double vecLength(Vec3 v)
{
    return std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
}

Vec3 vecNormalize(Vec3 v)
{
    double len = vecLength(v);
    if (len == 0.0)
        return v;
    return Vec3{float(v.x / len), float(v.y / len), float(v.z / len)};
}

Vec3 vecCross(Vec3 a, Vec3 b)
{
    return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double vecAngle(Vec3 a, Vec3 b)
{
    double lengths = vecLength(a) * vecLength(b);
    if (lengths == 0.0)
        return 0.0;
    double c = (double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z) / lengths;
    // rounding can push the cosine of (anti-)parallel vectors just past 1
    if (c > 1.0)
        c = 1.0;
    if (c < -1.0)
        c = -1.0;
    return vxAcos(c);
}
