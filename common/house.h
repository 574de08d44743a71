// SPDX-License-Identifier: MIT
// common: the measures of the yard and the house that several subsystems share.
//
// The house is two blocks centred on x = 0 in the house frame (y up, ground at 0): the main
// block from z = -11.1 to 5.55, and the porch in front of it up to z = 8.325. Each subsystem
// that asks "is this inside the house?" asks with its own boxes or planes, sized for what it
// tests; they are all here, side by side, so a change to the house is made in one place.
#pragma once

// the game's own pi: the turn, the look limits and the roll's heading are all measured with it
constexpr double kGamePi = 3.141592;

// the house's centre in the world's frame: the World is drawn shifted by minus this along x and
// z, and the stations stand on a circle of this radius round the house
constexpr double kYardOffset = 25.6;

namespace house {

// the walls as the models are built (assetgen) and as the hit test sees them
namespace walls {
constexpr float kHalfWidth = 8.325f;   // side walls at x = -8.325 and 8.325
constexpr float kBackZ = -11.1f;
constexpr float kFrontZ = 5.55f;       // the main block's front wall, behind the porch
constexpr float kPorchZ = 8.325f;      // the porch's front wall
constexpr float kMainHeight = 6.937f;  // the eaves
constexpr float kPorchHeight = 2.775f;
constexpr float kMainRoofTop = 7.062f;  // where a strip settles on the main roof
}  // namespace walls

// the boxes a strip's particle strikes: wider than the walls by the overhang of the eaves and as
// high as the roof's ridge, so a strip catches on the roof's edge before it reaches the wall.
// The ends are exact decimal values, compared in double: as floats some would round across a
// particle's position.
namespace strip {
constexpr double kHalfWidth = 8.602;
constexpr double kMainBack = -11.1, kMainFront = 5.827, kMainHeight = 7.062;
constexpr double kLowBack = 5.55, kLowFront = 8.602, kLowHeight = 2.91;
// the first strike puts the striking particle on the roof of the block it came over
constexpr float kMainRoof = 7.0f, kLowRoof = 2.775f;
}  // namespace strip

// the planes a roll bounces off: a roll is only tested once the hit test reports contact, and
// the plane it has crossed tells which wall it met; they sit inside the walls so that a roll in
// contact has always crossed one
namespace bounce {
constexpr float kBackZ = -10.5f;
constexpr float kFrontZ = 5.0f;
constexpr float kSideX = 7.5f;
}  // namespace bounce

// where an egg's splat goes: an egg past a test plane (inside the walls, like the bounce planes,
// with the porch's front at 8.0) is laid on the matching splat plane, just outside the wall so
// the splat is not hidden in it
namespace splat {
constexpr float kBackWallZ = -10.5f, kBackSplatZ = -11.2f;
constexpr float kSideWallX = 7.5f, kSideSplatX = 8.42f;
constexpr float kPorchFrontZ = 8.0f, kPorchSplatZ = 8.42f;
constexpr float kMainFrontZ = 5.0f, kMainSplatZ = 5.65f;
}  // namespace splat

}  // namespace house
