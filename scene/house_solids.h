// SPDX-License-Identifier: MIT
// scene: the house's two blocks as solids the ground behind them may be left out for. The main
// block and the porch (common/house.h) are each closed by walls on their four sides; an eye above
// the ground and below the porch's roof can only look into either block through those walls, so
// whatever it sees wholly through a block is hidden, once the house is drawn.
#pragma once
#include <array>

#include "assets/model.h"
#include "common/solid_box.h"

// in the house frame (common/house.h): in yard units, y up, the ground at 0
constexpr double kHouseSolidMargin = 0.1;  // how far inside its walls each block is taken

// the main block and the porch in the house frame, each shrunk by kHouseSolidMargin
std::array<SolidBox, 2> houseBlocks();

// The eye (house frame) is one the blocks hide things from: above the ground, below the porch's
// roof, and outside both blocks.
bool eyeSeesHouseBlocksFromOutside(const Vec3& eye);

// The house model, placed by toHouse (GL's column-major matrix, model to house frame), has walls
// over every side of both blocks, facing out: the front faces of its triangles lying in each
// side's plane cover that side's whole area. A house that does not (another model, a wall with a
// hole in it) hides nothing.
bool wallsCloseHouseBlocks(const Model& house, const float toHouse[16]);
