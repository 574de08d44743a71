// SPDX-License-Identifier: MIT
// common: the view volume in the coordinates of whatever is being drawn, to leave out what cannot
// reach the screen (tiles of the ground, projectiles out of sight).
#pragma once
#include "common/vec.h"

class ViewFrustum {
public:
    // from GL's column-major projection and modelview matrices as they stand at draw time; the
    // margin, in the drawn object's units, covers the difference between this arithmetic and the
    // renderer's
    ViewFrustum(const double projection[16], const double modelview[16], double margin);

    // false only when the box lies wholly outside one of the six planes, by more than the margin
    bool mayShow(const Vec3& low, const Vec3& high) const;

private:
    double planes[6][4];  // a x + b y + c z + d >= 0 inside, (a, b, c) of unit length
    double margin;
};

// where the eye stands in the coordinates the modelview (GL's, column-major) maps from; a
// modelview that flattens space has no such place, and gives false
bool eyeInModel(const double modelview[16], Vec3& eye);
