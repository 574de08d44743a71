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

bool eyeInModel(const double modelview[16], Vec3& eye)
{
    // the eye is at the origin of eye space: the model point m with A m + t = 0
    auto a = [modelview](int row, int column) { return modelview[column * 4 + row]; };
    // the inverse of A by cofactors: inverse(r, c) = cofactor(c, r) / det
    double cofactor[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            cofactor[r][c] = a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
        }
    const double det = a(0, 0) * cofactor[0][0] + a(0, 1) * cofactor[0][1] + a(0, 2) * cofactor[0][2];
    if (!(std::fabs(det) > 1e-12))
        return false;
    double m[3];
    for (int r = 0; r < 3; ++r)
        m[r] = -(cofactor[0][r] * modelview[12] + cofactor[1][r] * modelview[13] +
                 cofactor[2][r] * modelview[14]) / det;
    eye = Vec3{float(m[0]), float(m[1]), float(m[2])};
    return true;
}
