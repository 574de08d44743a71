// SPDX-License-Identifier: MIT
// scene: what walls the eye in. Hidden inside the bush, the eye can stand within one of its
// lumps; a closed convex surface round the eye fills every pixel with something nearer than all
// that lies outside it, so the drawing may leave that out with the same picture.
#pragma once
#include "assets/model.h"
#include "common/ball.h"
#include "common/vec.h"

// true when the object, mapped by toWorld (column-major, as GL keeps it), is closed and convex
// and holds every one of the inside points at least margin within every face's plane; ball
// then bounds it
bool objectWallsEyeIn(const MeshObject& object, const float toWorld[16], const Vec3* inside,
                      int insideCount, double margin, Ball& ball);
// the bounds of the object's vertices mapped by toWorld (an empty object gives radius -1)
Ball objectBall(const MeshObject& object, const float toWorld[16]);
// The eye and the four corners of the near plane's rectangle, in the coordinates a rigid
// modelview maps from; false for a projection not in perspective or a modelview that scales.
// A convex solid that holds all five holds every line of sight up to past the near plane, so it
// covers every pixel with nothing the near plane cuts away.
bool viewCorners(const double projection[16], const double modelview[16], Vec3 corners[5]);
// whether a ball lies wholly inside a sphere drawn with the given slices and stacks (its corners
// on the sphere, its faces inside it, turned any way about its centre), by at least margin
bool ballInsideTessellatedSphere(const Ball& ball, Vec3 centre, double radius, int slices,
                                 int stacks, double margin);
// the two balls lie apart by more than margin
bool ballsApart(const Ball& a, const Ball& b, double margin);
