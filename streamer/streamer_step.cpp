// SPDX-License-Identifier: MIT
// streamer: the relaxation step's fast path. The strip is copied column-wise: slot c + 1 holds
// column c, and the slots either side of the strip hold springs that do not exist, so every
// particle has its five springs at fixed places. Each spring is measured once (square root and
// divisions) for both its ends, and a row's particles are relaxed four side by side, each lane
// doing exactly the arithmetic of one particle, with a select in place of the window's branch.
#include "streamer/streamer_step.h"

#include <cstdint>
#include <cstring>
#include <limits>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace {

constexpr int kSlots = kStreamerColumns + 2;
static_assert(kStreamerColumns % 4 == 0, "a row is relaxed four particles at a time");

typedef float Floats4 __attribute__((vector_size(16)));
typedef int32_t Mask4 __attribute__((vector_size(16)));

inline Floats4 load4(const float* p)
{
    Floats4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline Mask4 load4(const int32_t* p)
{
    Mask4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <typename T, typename V>
inline void store4(T* p, V v)
{
    std::memcpy(p, &v, sizeof v);
}
inline Floats4 splat(float x) { return Floats4{x, x, x, x}; }
inline Floats4 select(Mask4 mask, Floats4 yes, Floats4 no)
{
    return (Floats4)((mask & (Mask4)yes) | (~mask & (Mask4)no));
}
// correctly rounded either way, so the same as one std::sqrt per lane
inline Floats4 sqrt4(Floats4 v)
{
#if defined(__SSE__)
    return (Floats4)_mm_sqrt_ps((__m128)v);
#else
    return Floats4{std::sqrt(v[0]), std::sqrt(v[1]), std::sqrt(v[2]), std::sqrt(v[3])};
#endif
}

// one family of parallel springs
struct SpringFamily {
    float inverse[kSlots];
    float strain[kSlots];
    float length[kSlots];
    int32_t usable[kSlots];  // all bits set: a lane mask
};

struct StepFrame {
    float x[kStreamerRows][kSlots], y[kStreamerRows][kSlots], z[kStreamerRows][kSlots];
    float restStraight[kStreamerRows][kSlots], restDiagonal[kStreamerRows][kSlots];
    SpringFamily along[kStreamerRows];  // slot c + 1: (r, c) to (r, c + 1)
    SpringFamily across;                // slot c + 1: (0, c) to (1, c)
    SpringFamily down;                  // slot c + 1: (0, c) to (1, c + 1)
    SpringFamily up;                    // slot c + 1: (1, c) to (0, c + 1)
    // what the step gives each particle: its proposal and the scratch of its last spring
    float nextX[kStreamerRows][kSlots], nextY[kStreamerRows][kSlots], nextZ[kStreamerRows][kSlots];
    float dirX[kStreamerRows][kSlots], dirY[kStreamerRows][kSlots], dirZ[kStreamerRows][kSlots];
    float pullX[kStreamerRows][kSlots], pullY[kStreamerRows][kSlots], pullZ[kStreamerRows][kSlots];
    float strain[kStreamerRows][kSlots], length[kStreamerRows][kSlots];
    int32_t anySpring[kStreamerRows][kSlots];
};

// the springs from (ra, c) to (rb, c + shift), c in 0..count-1, as measureSpring measures them
void measureFamily(StepFrame& f, int ra, int rb, int shift, int count, bool straight,
                   SpringFamily& out)
{
    const float* rests = straight ? f.restStraight[ra] : f.restDiagonal[ra];
    const Floats4 zero{}, one = splat(1.0f), strainScale = splat(gSpringStrainScale);
    const Floats4 largest = splat(std::numeric_limits<float>::max());
    for (int slot = 1; slot <= kStreamerColumns; slot += 4) {
        const int b = slot + shift;
        const Floats4 ox = load4(f.x[rb] + b) - load4(f.x[ra] + slot);
        const Floats4 oy = load4(f.y[rb] + b) - load4(f.y[ra] + slot);
        const Floats4 oz = load4(f.z[rb] + b) - load4(f.z[ra] + slot);
        const Floats4 len = sqrt4(ox * ox + oy * oy + oz * oz);
        const Floats4 rest = load4(rests + slot);
        const Mask4 exists = Mask4{slot, slot + 1, slot + 2, slot + 3} <= Mask4{count, count, count, count};
        const Mask4 usable = exists & (len != zero) & (rest != zero) & (len <= largest);
        store4(out.usable + slot, usable);
        store4(out.length + slot, select(usable, len, zero));
        store4(out.inverse + slot, select(usable, one / len, zero));
        store4(out.strain + slot, select(usable, (len - rest) / rest * strainScale, zero));
    }
    for (int slot : {0, kSlots - 1}) {
        out.inverse[slot] = out.strain[slot] = out.length[slot] = 0.0f;
        out.usable[slot] = 0;
    }
}

void loadFrame(const PaperStreamer* s, StepFrame& f)
{
    for (int r = 0; r < kStreamerRows; ++r) {
        for (int slot : {0, kSlots - 1})
            f.x[r][slot] = f.y[r][slot] = f.z[r][slot] = f.restStraight[r][slot] =
                f.restDiagonal[r][slot] = 0.0f;
        for (int c = 0; c < kStreamerColumns; ++c) {
            const StreamerParticle& p = s->current[r * kStreamerColumns + c];
            f.x[r][c + 1] = p.position.x;
            f.y[r][c + 1] = p.position.y;
            f.z[r][c + 1] = p.position.z;
            f.restStraight[r][c + 1] = p.restStraight;
            f.restDiagonal[r][c + 1] = p.restDiagonal;
        }
    }
    const int springs = kStreamerColumns - 1;
    measureFamily(f, 0, 0, 1, springs, true, f.along[0]);
    measureFamily(f, 1, 1, 1, springs, true, f.along[1]);
    measureFamily(f, 0, 1, 0, kStreamerColumns, true, f.across);
    measureFamily(f, 0, 1, 1, springs, false, f.down);
    measureFamily(f, 1, 0, 1, springs, false, f.up);
}

// four particles' running state through their springs
struct Lanes {
    Floats4 ax, ay, az;
    Floats4 dirX, dirY, dirZ, pullX, pullY, pullZ, strain, length;
    Mask4 anySpring;
};

struct StepConstants {
    Floats4 dt, forceScale, low, high;
};

// the springs at slots [slot, slot + 4) of a family, seen from the particles at (sx, sy, sz)
// with their other ends at (ox, oy, oz)
inline void laneSpring(Lanes& l, Floats4 sx, Floats4 sy, Floats4 sz, const float* ox,
                       const float* oy, const float* oz, const SpringFamily& family, int slot,
                       const StepConstants& k)
{
    const Floats4 inverse = load4(family.inverse + slot), strain = load4(family.strain + slot);
    const Mask4 usable = load4(family.usable + slot);
    const Floats4 dirX = (load4(ox) - sx) * inverse * inverse;
    const Floats4 dirY = (load4(oy) - sy) * inverse * inverse;
    const Floats4 dirZ = (load4(oz) - sz) * inverse * inverse;
    const Floats4 pullX = dirX * strain * k.forceScale;
    const Floats4 pullY = dirY * strain * k.forceScale;
    const Floats4 pullZ = dirZ * strain * k.forceScale;
    // the running acc compounds: each accepted step adds acc itself, scaled by dt
    const Floats4 dx = (l.ax + pullX) * k.dt, dy = (l.ay + pullY) * k.dt, dz = (l.az + pullZ) * k.dt;
    const Floats4 m2 = dx * dx + dy * dy + dz * dz;
    // NaN fails both comparisons
    const Mask4 accepted = usable & (k.low <= m2) & (m2 <= k.high);
    l.ax = select(accepted, l.ax + dx, l.ax);
    l.ay = select(accepted, l.ay + dy, l.ay);
    l.az = select(accepted, l.az + dz, l.az);
    l.dirX = select(usable, dirX, l.dirX);
    l.dirY = select(usable, dirY, l.dirY);
    l.dirZ = select(usable, dirZ, l.dirZ);
    l.pullX = select(usable, pullX, l.pullX);
    l.pullY = select(usable, pullY, l.pullY);
    l.pullZ = select(usable, pullZ, l.pullZ);
    l.strain = select(usable, strain, l.strain);
    l.length = select(usable, load4(family.length + slot), l.length);
    l.anySpring |= usable;
}

// the particles of row R, each through its springs in the order the literal step meets them:
// row 0 before row 1, columns ascending
template <int R>
void relaxRow(StepFrame& f, const StepConstants& k, Vec3 gravity)
{
    const float* x0 = f.x[0];
    const float* y0 = f.y[0];
    const float* z0 = f.z[0];
    const float* x1 = f.x[1];
    const float* y1 = f.y[1];
    const float* z1 = f.z[1];
    for (int s = 1; s <= kStreamerColumns; s += 4) {
        const Floats4 sx = load4(f.x[R] + s), sy = load4(f.y[R] + s), sz = load4(f.z[R] + s);
        Lanes l{splat(gravity.x), splat(gravity.y), splat(gravity.z), Floats4{}, Floats4{},
                Floats4{}, Floats4{}, Floats4{}, Floats4{}, Floats4{}, Floats4{}, Mask4{}};
        if (R == 0) {
            laneSpring(l, sx, sy, sz, x0 + s - 1, y0 + s - 1, z0 + s - 1, f.along[0], s - 1, k);
            laneSpring(l, sx, sy, sz, x0 + s + 1, y0 + s + 1, z0 + s + 1, f.along[0], s, k);
            laneSpring(l, sx, sy, sz, x1 + s - 1, y1 + s - 1, z1 + s - 1, f.up, s - 1, k);
            laneSpring(l, sx, sy, sz, x1 + s, y1 + s, z1 + s, f.across, s, k);
            laneSpring(l, sx, sy, sz, x1 + s + 1, y1 + s + 1, z1 + s + 1, f.down, s, k);
        } else {
            laneSpring(l, sx, sy, sz, x0 + s - 1, y0 + s - 1, z0 + s - 1, f.down, s - 1, k);
            laneSpring(l, sx, sy, sz, x0 + s, y0 + s, z0 + s, f.across, s, k);
            laneSpring(l, sx, sy, sz, x0 + s + 1, y0 + s + 1, z0 + s + 1, f.up, s, k);
            laneSpring(l, sx, sy, sz, x1 + s - 1, y1 + s - 1, z1 + s - 1, f.along[1], s - 1, k);
            laneSpring(l, sx, sy, sz, x1 + s + 1, y1 + s + 1, z1 + s + 1, f.along[1], s, k);
        }
        store4(f.nextX[R] + s, sx + l.ax);
        store4(f.nextY[R] + s, sy + l.ay);
        store4(f.nextZ[R] + s, sz + l.az);
        store4(f.dirX[R] + s, l.dirX);
        store4(f.dirY[R] + s, l.dirY);
        store4(f.dirZ[R] + s, l.dirZ);
        store4(f.pullX[R] + s, l.pullX);
        store4(f.pullY[R] + s, l.pullY);
        store4(f.pullZ[R] + s, l.pullZ);
        store4(f.strain[R] + s, l.strain);
        store4(f.length[R] + s, l.length);
        store4(f.anySpring[R] + s, l.anySpring);
    }
}

void storeFrame(PaperStreamer* s, const StepFrame& f)
{
    for (int r = 0; r < kStreamerRows; ++r)
        for (int c = 0; c < kStreamerColumns; ++c) {
            const int i = r * kStreamerColumns + c, slot = c + 1;
            s->next[i].position = Vec3{f.nextX[r][slot], f.nextY[r][slot], f.nextZ[r][slot]};
            // the scratch keeps the last spring evaluated, as a particle's own evaluation leaves it
            if (f.anySpring[r][slot]) {
                StreamerParticle& p = s->current[i];
                p.direction = Vec3{f.dirX[r][slot], f.dirY[r][slot], f.dirZ[r][slot]};
                p.force = Vec3{f.pullX[r][slot], f.pullY[r][slot], f.pullZ[r][slot]};
                p.strain = f.strain[r][slot];
                p.length = f.length[r][slot];
            }
        }
}

} // namespace

SquaredWindow squaredWindow(double low, double high)
{
    const float infinity = std::numeric_limits<float>::infinity();
    // the smallest s whose square root reaches low
    float lowSquared = float(low * low);
    while (lowSquared > 0.0f && std::sqrt(std::nextafter(lowSquared, 0.0f)) >= low)
        lowSquared = std::nextafter(lowSquared, 0.0f);
    while (std::sqrt(lowSquared) < low)
        lowSquared = std::nextafter(lowSquared, infinity);
    // the largest s whose square root stays within high
    float highSquared = float(high * high);
    while (std::sqrt(std::nextafter(highSquared, infinity)) <= high)
        highSquared = std::nextafter(highSquared, infinity);
    while (std::sqrt(highSquared) > high)
        highSquared = std::nextafter(highSquared, 0.0f);
    return {lowSquared, highSquared};
}

void proposeFromSprings(PaperStreamer* streamer, float dt, SquaredWindow window, Vec3 gravity)
{
    StepFrame f;
    loadFrame(streamer, f);
    const StepConstants k{splat(dt), splat(gSpringForceScale), splat(window.low), splat(window.high)};
    relaxRow<0>(f, k, gravity);
    relaxRow<1>(f, k, gravity);
    storeFrame(streamer, f);
}
