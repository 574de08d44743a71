// SPDX-License-Identifier: MIT
// common: the simulation's sine, cosine, arc cosine and hypotenuse in plain IEEE-754 arithmetic
// (see exact_math.h). Every constant is written in hexadecimal, bit for bit; every operation is
// one rounding, so the build must not fuse or reorder them (cmake/exact_arithmetic.cmake).
#include "common/exact_math.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace {

// pi/2 in three parts, the first two of 33 bits: k times either is exact for |k| < 2^20
constexpr double kHalfPi1 = 0x1.921fb544p+0;
constexpr double kHalfPi2 = 0x1.0b4611a6p-34;
constexpr double kHalfPi3 = 0x1.3198a2e037073p-69;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
// below this the quarter turns to take off stay below 2^20
constexpr double kReducible = 0x1p20;
constexpr double kTwoPi = 0x1.921fb54442d18p+2;
// pi and pi/2 as the nearest double and what it leaves over
constexpr double kPiHi = 0x1.921fb54442d18p+1, kPiLo = 0x1.1a62633145c07p-53;
constexpr double kHalfPiHi = 0x1.921fb54442d18p+0, kHalfPiLo = 0x1.1a62633145c07p-54;

// the Taylor series' coefficients, each the double nearest (-1)^k/n!; to x^17 and x^18 they
// leave less than 2^-60 out on [-pi/4, pi/4]
constexpr double kSin3 = -0x1.5555555555555p-3, kSin5 = 0x1.1111111111111p-7,
                 kSin7 = -0x1.a01a01a01a01ap-13, kSin9 = 0x1.71de3a556c734p-19,
                 kSin11 = -0x1.ae64567f544e4p-26, kSin13 = 0x1.6124613a86d09p-33,
                 kSin15 = -0x1.ae7f3e733b81fp-41, kSin17 = 0x1.952c77030ad4ap-49;
constexpr double kCos4 = 0x1.5555555555555p-5, kCos6 = -0x1.6c16c16c16c17p-10,
                 kCos8 = 0x1.a01a01a01a01ap-16, kCos10 = -0x1.27e4fb7789f5cp-22,
                 kCos12 = 0x1.1eed8eff8d898p-29, kCos14 = -0x1.93974a8c07c9dp-37,
                 kCos16 = 0x1.ae7f3e733b81fp-45, kCos18 = -0x1.6827863b97d97p-53;
// asin's series, (2n)! / (4^n n!^2 (2n+1)) for x^(2n+1), n = 1 to 25: on [-1/2, 1/2] the rest
// is below 2^-60
constexpr double kAsin[] = {
    0x1.5555555555555p-3, 0x1.3333333333333p-4, 0x1.6db6db6db6db7p-5, 0x1.f1c71c71c71c7p-6,
    0x1.6e8ba2e8ba2e9p-6, 0x1.1c4ec4ec4ec4fp-6, 0x1.c99999999999ap-7, 0x1.7a87878787878p-7,
    0x1.3fde50d79435ep-7, 0x1.12ef3cf3cf3cfp-7, 0x1.df3bd37a6f4dfp-8, 0x1.a6863d70a3d71p-8,
    0x1.782dda12f684cp-8, 0x1.51ba308d3dcb1p-8, 0x1.31683bdef7bdfp-8, 0x1.15ee9d45d1746p-8,
    0x1.fcaf8fb6db6dbp-9, 0x1.d3d2a8e0dd67dp-9, 0x1.b026f57b13b14p-9, 0x1.90cb77f60c7cep-9,
    0x1.750de64d7d05fp-9, 0x1.5c5f56efaaaabp-9, 0x1.464c0950f7d47p-9, 0x1.3275586c5f2f0p-9,
    0x1.208d3570ae5a6p-9,
};

// a + b = *sum + *err exactly, whichever is larger
void twoSum(double a, double b, double* sum, double* err)
{
    const double s = a + b;
    const double bPart = s - a;
    *err = (a - (s - bPart)) + (b - bPart);
    *sum = s;
}

// a * a = *product + *err exactly: a split in two halves of 26 bits (Veltkamp), whose products
// are exact (Dekker)
void twoSquare(double a, double* product, double* err)
{
    const double c = 0x1.0000002p+27 * a;  // 2^27 + 1
    const double high = c - (c - a);
    const double low = a - high;
    const double p = a * a;
    *err = ((high * high - p) + 2.0 * high * low) + low * low;
    *product = p;
}

// x = k pi/2 + (*hi + *lo) with |*hi| at most a little over pi/4; returns k mod 4
int reduce(double x, double* hi, double* lo)
{
    if (!(std::fabs(x) < kReducible))
        x = std::fmod(x, kTwoPi);  // exact: what remains of the double nearest 2 pi
    // the nearest quarter turn (ties either way: the result holds for any k)
    const double k = double(int64_t(x * kTwoOverPi + (x < 0 ? -0.5 : 0.5)));
    if (k == 0.0) {
        *hi = x;
        *lo = 0.0;
        return 0;
    }
    // exact: x and k pi/2 are within a factor of 2 of each other, and k kHalfPi1 has 53 bits
    const double a = x - k * kHalfPi1;
    double s, e, s2, e2;
    twoSum(a, -(k * kHalfPi2), &s, &e);
    twoSum(s, -(k * kHalfPi3), &s2, &e2);
    const double rest = e + e2;
    *hi = s2 + rest;
    *lo = (s2 - *hi) + rest;
    return int(int64_t(k) & 3);
}

// sin(hi + lo) for |hi| <= about pi/4, |lo| <= ulp(hi)
double sinKernel(double hi, double lo)
{
    const double z = hi * hi;
    const double p =
        kSin3 + z * (kSin5 + z * (kSin7 + z * (kSin9 + z * (kSin11 + z * (kSin13 +
        z * (kSin15 + z * kSin17))))));
    // sin(hi + lo) = sin(hi) + lo cos(hi), and lo is too small for more of cos than 1 - z/2
    return hi + (hi * z * p + lo * (1.0 - 0.5 * z));
}

// cos(hi + lo) for |hi| <= about pi/4, |lo| <= ulp(hi)
double cosKernel(double hi, double lo)
{
    double z, zErr;
    twoSquare(hi, &z, &zErr);
    const double half = 0.5 * z;
    const double w = 1.0 - half;
    const double wErr = (1.0 - w) - half;  // exact: what 1 - z/2 lost to rounding
    const double p =
        kCos4 + z * (kCos6 + z * (kCos8 + z * (kCos10 + z * (kCos12 + z * (kCos14 +
        z * (kCos16 + z * kCos18))))));
    // cos(hi + lo) = cos(hi) - lo sin(hi), and sin(hi) is hi near enough for lo
    return w + (wErr + (z * z * p - (0.5 * zErr + hi * lo)));
}

// asin(t) - t for |t| <= 1/2
double asinRest(double t)
{
    const double z = t * t;
    double p = kAsin[std::size(kAsin) - 1];
    for (size_t i = std::size(kAsin) - 1; i-- > 0;)
        p = kAsin[i] + z * p;
    return t * z * p;
}

}  // namespace

double vxSin(double x)
{
    if (!(std::fabs(x) <= DBL_MAX))
        return x - x;  // NaN for NaN and the infinities
    // x^3/6 is below half of x's last place: sin(x) rounds to x, and -0 stays -0
    if (std::fabs(x) < 0x1p-26)
        return x;
    double hi, lo;
    switch (reduce(x, &hi, &lo)) {
    case 0: return sinKernel(hi, lo);
    case 1: return cosKernel(hi, lo);
    case 2: return -sinKernel(hi, lo);
    default: return -cosKernel(hi, lo);
    }
}

double vxCos(double x)
{
    if (!(std::fabs(x) <= DBL_MAX))
        return x - x;
    double hi, lo;
    switch (reduce(x, &hi, &lo)) {
    case 0: return cosKernel(hi, lo);
    case 1: return -sinKernel(hi, lo);
    case 2: return -cosKernel(hi, lo);
    default: return sinKernel(hi, lo);
    }
}

double vxAcos(double x)
{
    if (!(std::fabs(x) <= 1.0))
        return (x - x) / (x - x);  // NaN
    if (std::fabs(x) <= 0.5)
        return kHalfPiHi - (x - (kHalfPiLo - asinRest(x)));
    // acos(|x|) = 2 asin(s), s = sqrt((1 - |x|) / 2): 1 - |x| and the halving are exact
    const double z = (1.0 - std::fabs(x)) * 0.5;
    const double s = std::sqrt(z);
    // s + ds is the square root to twice the precision; asin's slope at s is about 1 + s^2/2
    double ds = 0.0;
    if (s > 0.0) {
        double square, squareErr;
        twoSquare(s, &square, &squareErr);
        ds = ((z - square) - squareErr) / (2.0 * s) * (1.0 + 0.5 * z);
    }
    const double rest = ds + asinRest(s);
    if (x > 0.0)
        return 2.0 * (s + rest);
    // acos(x) = pi - 2 asin(s)
    double head, headErr;
    twoSum(kPiHi, -2.0 * s, &head, &headErr);
    return head + ((headErr + kPiLo) - 2.0 * rest);
}

float vxHypot(float x, float y)
{
    // the squares of floats are exact in double, and far from its overflow and underflow
    const double dx = x, dy = y;
    return float(std::sqrt(dx * dx + dy * dy));
}
