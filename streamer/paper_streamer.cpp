// SPDX-License-Identifier: MIT
// streamer: building the strip, its relaxation step, and the house and ground rules that commit it.
#include "streamer/paper_streamer.h"

#include <cmath>
#include <cstdlib>

#include "common/house.h"
#include "streamer/streamer_step.h"

namespace {

const Vec3 kStartGravity{0.0f, -0.00105f, 0.0f};
// row 0 lower than this in sum: the strip lies still. The bounds and windows here are the exact
// decimal values, compared in double: as floats some would round and move a boundary by one step.
constexpr double kRestThreshold = 0.02;
constexpr double kTimeUnitMs = 30.0;     // the step's time is counted in units of 30 ms
constexpr double kSinkPerUnit = 0.0001;  // how fast the gravity grows once the roll has stopped

constexpr DisplacementWindow kFlyingWindow{0.0002, 0.097};
constexpr DisplacementWindow kLandedWindow{0.00025, 0.02};
const SquaredWindow kFlyingSquared = squaredWindow(kFlyingWindow.low, kFlyingWindow.high);
const SquaredWindow kLandedSquared = squaredWindow(kLandedWindow.low, kLandedWindow.high);

using namespace house::strip;

int particleIndex(int r, int c) { return r * kStreamerColumns + c; }

float distance(Vec3 a, Vec3 b)
{
    Vec3 d = vecSub(b, a);
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}


}  // namespace

PaperStreamer::PaperStreamer(Vec3 endA, Vec3 endB) : roll(-1), landed(0), current{}, next{}
{
    // only endA and the z of endB place the strip
    const float spacing = std::fabs(endB.z - endA.z);
    for (int r = 0; r < kStreamerRows; ++r)
        for (int c = 0; c < kStreamerColumns; ++c) {
            const int i = particleIndex(r, c);
            current[i].position = Vec3{endA.x, endA.y + float(kStreamerColumns - c) * spacing,
                                       endA.z + float(r) * spacing};
            current[i].gravity = kStartGravity;
            next[i].gravity = kStartGravity;
        }
    initRestLengths();
}

void PaperStreamer::initRestLengths()
{
    const float straight = distance(at(0, 0).position, at(0, 1).position);
    const float diagonal = distance(at(0, 0).position, at(1, 1).position);
    for (int i = 0; i < kStreamerParticles; ++i) {
        current[i].restStraight = next[i].restStraight = straight;
        current[i].restDiagonal = next[i].restDiagonal = diagonal;
    }
}

bool PaperStreamer::isNeighbour(int r1, int c1, int r2, int c2)
{
    if (r1 < 0 || r1 >= kStreamerRows || r2 < 0 || r2 >= kStreamerRows)
        return false;
    if (c1 < 0 || c1 >= kStreamerColumns || c2 < 0 || c2 >= kStreamerColumns)
        return false;
    const int dr = std::abs(r1 - r2), dc = std::abs(c1 - c2);
    return (dr == 1 && dc <= 1) || (dr == 0 && dc == 1);
}

bool PaperStreamer::isStraightPair(int r1, int c1, int r2, int c2)
{
    const int dr = std::abs(r1 - r2), dc = std::abs(c1 - c2);
    return (dr == 1 && dc == 0) || (dr == 0 && dc == 1);
}

bool PaperStreamer::springPull(int p, int q, bool straight, Vec3& force)
{
    StreamerParticle& a = current[p];
    const Vec3 offset = vecSub(current[q].position, a.position);
    SpringMeasure m;
    if (!measureSpring(offset, straight ? a.restStraight : a.restDiagonal, m))
        return false;
    a.length = m.length;
    a.strain = m.strain;
    a.direction = springDirection(offset, m);
    a.force = springPullAlong(a.direction, m);
    force = a.force;
    return true;
}

Vec3 PaperStreamer::springForce(int r1, int c1, int r2, int c2, Vec3 incoming)
{
    Vec3 pull;
    if (!springPull(particleIndex(r1, c1), particleIndex(r2, c2), isStraightPair(r1, c1, r2, c2),
                    pull))
        return incoming;
    return vecAdd(incoming, pull);
}

float PaperStreamer::rowHeightSum() const
{
    float sum = 0.0f;
    for (int c = 0; c < kStreamerColumns; ++c)
        sum += current[c].position.y;
    return sum;
}

bool PaperStreamer::commitStreamer()
{
    bool struck = false;
    for (int i = 0; i < kStreamerParticles; ++i) {
        StreamerParticle& cur = current[i];
        const Vec3 proposed = next[i].position;
        const bool inside = inHouseFootprint(cur.position.x, cur.position.y, cur.position.z);

        // a pinned particle hanging beside the house above the ground comes loose
        if (!inside && cur.position.y > 0.0f)
            cur.pinned = 0;
        if (cur.pinned)
            continue;

        // a particle that reached the ground keeps its height from then on; it still slides
        if (cur.position.y <= 0.0f) {
            if (!inside) {
                cur.position.x = proposed.x;
                cur.position.z = proposed.z;
            }
            continue;
        }

        if (inside && inHouseVolume(proposed.x, proposed.y, proposed.z)) {
            // the strike: the first one of the strip lands it on the roof it came over
            cur.position.y = proposed.y;
            if (!landed) {
                cur.position.y = cur.position.z < kLowBack ? kMainRoof : kLowRoof;
                landed = 1;
            }
            cur.position.x = proposed.x;
            cur.position.z = proposed.z;
            const int c = i % kStreamerColumns;
            current[particleIndex(0, c)].pinned = 1;
            current[particleIndex(1, c)].pinned = 1;
            struck = true;
            continue;
        }

        // over the house without striking it a particle only rises or sinks
        cur.position.y = proposed.y;
        if (!inside) {
            cur.position.x = proposed.x;
            cur.position.z = proposed.z;
        }
    }
    return struck;
}

void PaperStreamer::placeLeadingEdge(Vec3 endA, Vec3 endB)
{
    at(0, 0).position = endA;
    at(1, 0).position = endB;
}

float relaxStepUnits(float dtTick)
{
    // a tick counter that went backwards (its 32-bit wrap) gives a step of 0, not a negative one
    if (!(dtTick > 0.0f))
        return 0.0f;
    return float(double(dtTick) * (1.0 / kTimeUnitMs));
}

DisplacementWindow displacementWindow(bool rollFlying)
{
    return rollFlying ? kFlyingWindow : kLandedWindow;
}

bool streamerAtRest(const PaperStreamer* streamer)
{
    return streamer->rowHeightSum() < kRestThreshold;
}

bool updateStreamer(PaperStreamer* s, float dtTick, bool rollFlying)
{
    if (streamerAtRest(s))
        return false;
    // the streamer's gravity is particle (0, 0)'s; it enters once per step, unscaled by dt
    proposeFromSprings(s, relaxStepUnits(dtTick), rollFlying ? kFlyingSquared : kLandedSquared,
                       s->current[0].gravity);
    // the proposals reach the strip only through the house and ground rules
    return gStreamerHouseCollision ? s->commitStreamer() : false;
}

void sinkStreamer(PaperStreamer* streamer, float dtTick, bool rollFlying)
{
    if (rollFlying)
        return;
    StreamerParticle& lead = streamer->current[0];
    // a tick counter that went backwards (its 32-bit wrap) must not lift the strip
    if (lead.position.y > 0.0f && dtTick > 0.0f)
        lead.gravity.y -= float(double(dtTick) * (1.0 / kTimeUnitMs) * kSinkPerUnit);
}

bool inHouseFootprint(float x, float /*y*/, float z)
{
    if (!(-kHalfWidth < x && x < kHalfWidth))
        return false;
    return (kMainBack < z && z < kMainFront) || (kLowBack < z && z < kLowFront);
}

bool inHouseVolume(float x, float y, float z)
{
    if (!(-kHalfWidth < x && x < kHalfWidth))
        return false;
    return (kMainBack < z && z < kMainFront && y < kMainHeight) ||
           (kLowBack < z && z < kLowFront && y < kLowHeight);
}
