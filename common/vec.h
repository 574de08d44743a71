// SPDX-License-Identifier: MIT
// common: the shared vector types and the few vector operations the game uses.
#pragma once

struct Vec3 {
    float x, y, z;
};

struct Vec2 {
    float u, v;
};

inline Vec3 vecAdd(Vec3 a, Vec3 b) { return Vec3{a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 vecSub(Vec3 a, Vec3 b) { return Vec3{a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 vecScale(Vec3 a, float s) { return Vec3{a.x * s, a.y * s, a.z * s}; }
inline float vecDot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// length in double precision
double vecLength(Vec3 v);
// v divided by its length; a zero vector stays zero rather than turning into NaN
Vec3 vecNormalize(Vec3 v);
Vec3 vecCross(Vec3 a, Vec3 b);
// unsigned angle in radians, 0..pi; parallel and anti-parallel vectors give 0 and pi, never NaN
double vecAngle(Vec3 a, Vec3 b);
