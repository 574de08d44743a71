// SPDX-License-Identifier: MIT
// common: the view volume's planes, taken from the combined matrix.
#include "common/view_frustum.h"

#include <cmath>

ViewFrustum::ViewFrustum(const double projection[16], const double modelview[16], double margin)
    : margin(margin)
{
    // row r of projection x modelview; GL stores element (r, c) at c * 4 + r
    double rows[4][4];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += projection[k * 4 + r] * modelview[c * 4 + k];
            rows[r][c] = sum;
        }
    // inside the clip volume: -w <= x, y, z <= w
    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side < 2; ++side) {
            double* plane = planes[axis * 2 + side];
            double sign = side == 0 ? 1.0 : -1.0;
            for (int c = 0; c < 4; ++c)
                plane[c] = rows[3][c] + sign * rows[axis][c];
            double length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
            if (length > 0.0) {
                for (int c = 0; c < 4; ++c)
                    plane[c] /= length;
            } else {
                // no direction to measure along: a plane that keeps everything
                plane[0] = plane[1] = plane[2] = 0.0;
                plane[3] = 1.0;
            }
        }
}

bool ViewFrustum::mayShow(const Vec3& low, const Vec3& high) const
{
    for (const double* plane : planes) {
        // the corner of the box furthest inside this plane
        double x = plane[0] >= 0.0 ? high.x : low.x;
        double y = plane[1] >= 0.0 ? high.y : low.y;
        double z = plane[2] >= 0.0 ? high.z : low.z;
        if (plane[0] * x + plane[1] * y + plane[2] * z + plane[3] < -margin)
            return false;
    }
    return true;
}
