// SPDX-License-Identifier: MIT
// streamer: the arithmetic of one spring, and the relaxation step's fast path, which measures
// each spring once and relaxes four particles of a row side by side. Both give exactly what the
// particle-by-particle step gives.
#pragma once
#include <cmath>

#include "streamer/paper_streamer.h"

// what a spring's pull needs besides its direction: the same seen from either end
struct SpringMeasure {
    float length;
    float inverse;  // 1 / length
    float strain;
};

// false for a spring that cannot pull: coincident particles have no direction, a strip thrown
// with no width no scale
inline bool measureSpring(Vec3 offset, float rest, SpringMeasure& out)
{
    const float len = std::sqrt(offset.x * offset.x + offset.y * offset.y + offset.z * offset.z);
    if (len == 0.0f || rest == 0.0f || !std::isfinite(len))
        return false;
    out.length = len;
    out.inverse = 1.0f / len;
    out.strain = (len - rest) / rest * gSpringStrainScale;
    return true;
}

// the unit vector towards the neighbour, divided by the length once more: the pull falls off as
// 1 / len
inline Vec3 springDirection(Vec3 offset, const SpringMeasure& m)
{
    return vecScale(vecScale(offset, m.inverse), m.inverse);
}

inline Vec3 springPullAlong(Vec3 direction, const SpringMeasure& m)
{
    return vecScale(vecScale(direction, m.strain), gSpringForceScale);
}

// a displacement window on the squared length: s is inside exactly when sqrt(s) lies inside the
// window [low, high], its ends taken as exact decimal values
struct SquaredWindow {
    float low, high;
};
SquaredWindow squaredWindow(double low, double high);

// every particle's proposal (the positions of next) and the scratch of its last spring, from
// the current positions; the particles' rest lengths are all the same (initRestLengths)
void proposeFromSprings(PaperStreamer* streamer, float dt, SquaredWindow window, Vec3 gravity);
