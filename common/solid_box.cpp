// SPDX-License-Identifier: MIT
// common: what a solid box hides from an eye.
#include "common/solid_box.h"

#include <algorithm>

bool lineEntersBox(const Vec3& eye, const Vec3& point, const SolidBox& box)
{
    const double from[3] = {eye.x, eye.y, eye.z}, to[3] = {point.x, point.y, point.z};
    const double low[3] = {box.low.x, box.low.y, box.low.z};
    const double high[3] = {box.high.x, box.high.y, box.high.z};
    bool eyeInside = true;
    // the part of the line, 0 at the eye and 1 at the point, inside every slab
    double enter = 0.0, leave = 1.0;
    for (int axis = 0; axis < 3; ++axis) {
        eyeInside = eyeInside && low[axis] <= from[axis] && from[axis] <= high[axis];
        const double along = to[axis] - from[axis];
        if (along == 0.0) {
            if (from[axis] <= low[axis] || from[axis] >= high[axis])
                return false;
            continue;
        }
        double a = (low[axis] - from[axis]) / along, b = (high[axis] - from[axis]) / along;
        if (a > b)
            std::swap(a, b);
        enter = std::max(enter, a);
        leave = std::min(leave, b);
        if (enter >= leave)
            return false;
    }
    return !eyeInside;
}

bool Shadows::hide(const Vec3& low, const Vec3& high) const
{
    for (const SolidBox& solid : solids) {
        bool hidden = true;
        for (int corner = 0; corner < 8 && hidden; ++corner) {
            const Vec3 point{corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y,
                             corner & 4 ? high.z : low.z};
            hidden = lineEntersBox(eye, point, solid);
        }
        if (hidden)
            return true;
    }
    return false;
}
