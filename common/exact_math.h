// SPDX-License-Identifier: MIT
// common: the simulation's own sine, cosine, arc cosine and hypotenuse. A game is its input
// log, and it must play the same on every machine: these are written in plain IEEE-754
// arithmetic (additions, multiplications, divisions and square roots, each rounded once, and
// the exact floor, fabs and fmod), so they give the same bits on every IEEE-754 target,
// whatever its C library; the C library's own round differently from one library to the next.
// The rules and the simulation call these; drawing may keep the C library's.
//
// Accuracy against the correctly rounded result: sine and cosine within 1 ulp for |x| below
// 2^20 (larger arguments are reduced with the double nearest 2 pi, the same on every target
// but no longer accurate); arc cosine within 1 ulp; the hypotenuse within 1 ulp of float.
// tests/unit/exact_math_test.cpp holds the bits every target must give for a table of inputs.
#pragma once

double vxSin(double x);
double vxCos(double x);
// in [0, pi]; NaN outside [-1, 1]
double vxAcos(double x);
// sqrt(x*x + y*y) without overflow or underflow in between
float vxHypot(float x, float y);
