// SPDX-License-Identifier: MIT
// streamer: drawing one paper strip, solid or as wire lines.
#pragma once

#include <cstddef>

#include "common/vec.h"

class PaperStreamer;

// two triangles between each pair of neighbouring columns
constexpr int kStreamerTriangles = 2 * 39;

// as wire lines while wireframe is set, else solid
void drawStreamer(const PaperStreamer* streamer, bool wireframe);
// the strips in their order, as drawStreamer would draw each; the solid strips go to GL as one
// array of all their triangles
void drawStreamers(const PaperStreamer* const* streamers, size_t count, bool wireframe);

// the normals the solid strip is drawn with, triangle by triangle: for column c, 2c is
// (a0, a1, b0) and 2c + 1 is (a1, b1, b0); a triangle with no area takes the one before it
void streamerTriangleNormals(const PaperStreamer* streamer, Vec3 normals[kStreamerTriangles]);
// the strips' colour: the wire lines are drawn in it, the solid strip leaves it current (lit, the
// solid strip takes the current material and looks like white paper)
constexpr Vec3 kStreamerBlue{0.0f, 0.0f, 1.0f};
// the wire lines mark a few particles at the roll's edge in red
bool streamerParticleMarked(int r, int c);
