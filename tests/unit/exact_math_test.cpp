// SPDX-License-Identifier: MIT
// The simulation's own sine, cosine, arc cosine and hypotenuse: as accurate as the C library's
// over the angles and values the game uses, and the same bits on every target. The tables below
// are what every build (any compiler, flags, processor or C library) must give, bit for bit.
#include "common/exact_math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// how far apart two values are in steps of the last place (0 when equal, either zero)
int64_t ulpsApart(double a, double b)
{
    auto ordered = [](double d) {
        int64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        return bits < 0 ? INT64_MIN - bits : bits;
    };
    const int64_t d = ordered(a) - ordered(b);
    return d < 0 ? -d : d;
}

int32_t ulpsApart(float a, float b)
{
    auto ordered = [](float f) {
        int32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        return bits < 0 ? INT32_MIN - bits : bits;
    };
    const int32_t d = ordered(a) - ordered(b);
    return d < 0 ? -d : d;
}

template <typename T>
bool sameBits(T a, T b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct SinCosRow {
    double x, sin, cos;
};

// zero of either sign, the smallest double, the game's angles (its first heading and station,
// the look's limits), the quarter turns, where the reduction must carry pi/2 to more than a
// double's precision, the end of the accurate range (2^20) and beyond it, the largest double
const SinCosRow kSinCos[] = {
    {0x0p+0, 0x0p+0, 0x1p+0},
    {-0x0p+0, -0x0p+0, 0x1p+0},
    {0x0.0000000000001p-1022, 0x0.0000000000001p-1022, 0x1p+0},
    {0x1.5798ee2308c3ap-27, 0x1.5798ee2308c3ap-27, 0x1p+0},
    {0x1.921fbp-1, 0x1.6a09e2ae9667ep-1, 0x1.6a09ea215107fp-1},
    {0x1.f6a79cp+1, -0x1.6a09d3c920b2p-1, -0x1.6a09f906c5d27p-1},
    {0x1.0c151fdb20051p-1, 0x1.fffff9ab4b01cp-2, 0x1.bb67b05960606p-1},
    {0x1.0c152p+0, 0x1.bb67ab02ad89ap-1, 0x1.00000614d66e4p-1},
    {0x1.921fb54442d18p-1, 0x1.6a09e667f3bccp-1, 0x1.6a09e667f3bcdp-1},
    {0x1.921fb54442d18p+0, 0x1p+0, 0x1.1a62633145c07p-54},
    {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53, -0x1p+0},
    {0x1.2d97c7f3321d2p+2, -0x1p+0, -0x1.a79394c9e8a0ap-53},
    {0x1.921fb54442d18p+2, -0x1.1a62633145c07p-52, 0x1p+0},
    {-0x1.4p+1, -0x1.326af0dcfcabp-1, -0x1.9a2f7ef858b7dp-1},
    {0x1.9p+6, -0x1.03425b78c4db8p-1, 0x1.b981dbf665fdfp-1},
    {-0x1.ca66666666666p+5, -0x1.5d7f715d534dp-1, 0x1.7628cfba4851ap-1},
    {0x1.86ap+16, 0x1.24daa9c527e96p-5, -0x1.ffac3841b3da7p-1},
    {0x1.fffffp+19, -0x1.4cb305757fa66p-3, 0x1.f932ec65b1d71p-1},
    {0x1p+20, 0x1.526ccb307210dp-2, 0x1.e33ada92e076p-1},
    {0x1.312dp+23, 0x1.aea414a28fc0bp-2, -0x1.d085be7bf7ca3p-1},
    {0x1.0f0cf064dd592p+73, 0x1.bf809b25497f6p-1, 0x1.f189552bfeap-2},
    {0x1.fffffffffffffp+1023, 0x1.18de30098ff11p-1, 0x1.ac15e48c1813ap-1},
};

struct AcosRow {
    double x, acos;
};

// both ends, both sides of 1/2 where the method changes, the cosines of the game's angles, and
// values whose angle comes out right only with the square root carried to twice the precision
const AcosRow kAcos[] = {
    {-0x1p+0, 0x1.921fb54442d18p+1},
    {-0x1.ff9bbadc0980bp-1, 0x1.8d1de62501766p+1},
    {-0x1.fed330941c821p-1, 0x1.897344321cbbcp+1},
    {-0x1.fffffca501acbp-1, 0x1.92110dc45ea89p+1},
    {-0x1.8p-1, 0x1.359d26f93b6c3p+1},
    {-0x1p-1, 0x1.0c152382d7366p+1},
    {-0x1.0000000000001p-1, 0x1.0c152382d7366p+1},
    {-0x1.70ef54646d497p-57, 0x1.921fb54442d18p+0},
    {0x0p+0, 0x1.921fb54442d18p+0},
    {0x1.3333333333333p-2, 0x1.441f5ecbeef59p+0},
    {0x1p-1, 0x1.0c152382d7366p+0},
    {0x1.0000000000001p-1, 0x1.0c152382d7365p+0},
    {0x1.000008637bd06p-1, 0x1.0c151eaafd84cp+0},
    {0x1.bb67ae8584caap-1, 0x1.0c152382d7366p-1},
    {0x1.ffffffff2419p-1, 0x1.da88066815a95p-17},
    {0x1p+0, 0x0p+0},
};

struct HypotRow {
    float x, y, hypot;
};

// the pad's stick: rest, full tilt, the smallest step, the diagonal, tiny values
const HypotRow kHypot[] = {
    {0x0p+0f, 0x0p+0f, 0x0p+0f},
    {0x1p+0f, 0x0p+0f, 0x1p+0f},
    {0x1.8p+1f, 0x1p+2f, 0x1.4p+2f},
    {-0x1.333334p-1f, 0x1.99999ap-1f, 0x1p+0f},
    {0x1.0002p-15f, -0x1p+0f, 0x1p+0f},
    {0x1.6a09e6p-1f, 0x1.6a09e6p-1f, 0x1p+0f},
    {-0x1.79ca1p-67f, 0x1.79ca1p-67f, 0x1.0b232cp-66f},
    {0x1p-2f, -0x0p+0f, 0x1p-2f},
};

}  // namespace

TEST(ExactMath, GivesTheSameBitsOnEveryTarget)
{
    for (const SinCosRow& row : kSinCos) {
        EXPECT_TRUE(sameBits(vxSin(row.x), row.sin))
            << std::hexfloat << "sin " << row.x << " = " << vxSin(row.x);
        EXPECT_TRUE(sameBits(vxCos(row.x), row.cos))
            << std::hexfloat << "cos " << row.x << " = " << vxCos(row.x);
    }
    for (const AcosRow& row : kAcos)
        EXPECT_TRUE(sameBits(vxAcos(row.x), row.acos))
            << std::hexfloat << "acos " << row.x << " = " << vxAcos(row.x);
    for (const HypotRow& row : kHypot)
        EXPECT_TRUE(sameBits(vxHypot(row.x, row.y), row.hypot))
            << std::hexfloat << "hypot " << row.x << " " << row.y << " = "
            << vxHypot(row.x, row.y);
}

// a NaN's own bits differ between processors (its sign), so only NaN is asked for
TEST(ExactMath, NotANumberWhereThereIsNone)
{
    for (double x : {double(NAN), double(INFINITY), -double(INFINITY)}) {
        EXPECT_TRUE(std::isnan(vxSin(x))) << x;
        EXPECT_TRUE(std::isnan(vxCos(x))) << x;
    }
    for (double x : {double(NAN), 1.0000000000000002, -1.0000000000000002, 2.0, -1e300})
        EXPECT_TRUE(std::isnan(vxAcos(x))) << x;
}

// Within 1 ulp of the C library's over four turns each way, for the doubles and for the floats
// the game keeps its angles in (against values to 300 bits these stay within 0.72 ulp of the
// true value, the C library's within 0.52); and the float the game keeps of each result is the
// C library's own.
TEST(ExactMath, SineAndCosineAreAsAccurateAsTheCLibrarys)
{
    constexpr int kSamples = 400000;
    constexpr double kSpan = 8 * M_PI;
    int64_t worstSin = 0, worstCos = 0, floatsDiffer = 0;
    for (int i = -kSamples; i <= kSamples; ++i) {
        const double wide = i * (kSpan / kSamples);
        for (double x : {wide, double(float(wide))}) {
            worstSin = std::max(worstSin, ulpsApart(vxSin(x), std::sin(x)));
            worstCos = std::max(worstCos, ulpsApart(vxCos(x), std::cos(x)));
        }
        const double f = double(float(wide));
        floatsDiffer += float(vxSin(f)) != float(std::sin(f)) ||
                        float(vxCos(f)) != float(std::cos(f));
    }
    EXPECT_LE(worstSin, 1);
    EXPECT_LE(worstCos, 1);
    EXPECT_EQ(floatsDiffer, 0);
    // tiny angles keep their own value and sign
    EXPECT_TRUE(sameBits(vxSin(-1e-300), -1e-300));
    EXPECT_EQ(vxCos(-1e-300), 1.0);
}

// within 1 ulp of the C library's (within 0.65 ulp of the true value) over [-1, 1], and close
// to either end, where the angle comes of the square root of a difference
TEST(ExactMath, ArcCosineIsAsAccurateAsTheCLibrarys)
{
    constexpr int kSamples = 400000;
    int64_t worst = 0;
    for (int i = -kSamples; i <= kSamples; ++i) {
        const double x = double(i) / kSamples;
        const double nearOne = 1.0 - std::abs(i) * 1e-13;
        for (double v : {x, nearOne, -nearOne})
            worst = std::max(worst, ulpsApart(vxAcos(v), std::acos(v)));
    }
    EXPECT_LE(worst, 1);
}

// every stick position the pad reports, as the game scales it: the C library's own
TEST(ExactMath, HypotenuseIsTheCLibrarys)
{
    int32_t worst = 0;
    for (int x = -32768; x <= 32767; x += 7)
        for (int y = -32768; y <= 32767; y += 131) {
            const float sx = float(x) / 32767.0f, sy = float(y) / 32767.0f;
            worst = std::max(worst, ulpsApart(vxHypot(sx, sy), std::hypot(sx, sy)));
        }
    EXPECT_EQ(worst, 0);
}
