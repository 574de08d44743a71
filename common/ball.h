// SPDX-License-Identifier: MIT
// common: a ball, for what the drawing may leave out round a solid that walls the eye in.
#pragma once
#include "common/vec.h"

struct Ball {
    Vec3 centre;
    double radius;
};

// the box lies wholly outside the ball
inline bool boxOutsideBall(Vec3 low, Vec3 high, const Ball& ball)
{
    double d2 = 0;
    const double c[3] = {ball.centre.x, ball.centre.y, ball.centre.z};
    const double lo[3] = {low.x, low.y, low.z}, hi[3] = {high.x, high.y, high.z};
    for (int i = 0; i < 3; ++i) {
        double d = c[i] < lo[i] ? lo[i] - c[i] : c[i] > hi[i] ? c[i] - hi[i] : 0.0;
        d2 += d * d;
    }
    return d2 > ball.radius * ball.radius;
}
