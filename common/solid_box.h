// SPDX-License-Identifier: MIT
// common: solid boxes, closed on every side an eye can see them from, and what they hide from
// that eye: the drawing leaves out what lies wholly behind the house.
#pragma once
#include <vector>

#include "common/vec.h"

struct SolidBox {
    Vec3 low, high;
};

// the line from the eye to the point passes through the box's inside; false for an eye in or on
// the box, which hides nothing from it
bool lineEntersBox(const Vec3& eye, const Vec3& point, const SolidBox& box);

// the solids that hide things from one eye, all in the coordinates of what is being drawn
struct Shadows {
    Vec3 eye{0, 0, 0};
    std::vector<SolidBox> solids;

    // The box low..high lies wholly behind one solid: the lines to its eight corners all pass
    // through that solid's inside, and so (the solid being convex) do the lines to every point
    // of it. Shrink the solids by a margin: a line only grazing a solid's face is not hidden.
    bool hide(const Vec3& low, const Vec3& high) const;
};
