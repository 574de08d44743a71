// SPDX-License-Identifier: MIT
// tests: the streamer's relaxation step visiting every candidate neighbour.
#include "tests/support/full_scan_streamer.h"

#include <cmath>

namespace {

int particleIndex(int r, int c) { return r * kStreamerColumns + c; }

// one spring of particle p as the step reads: the displacement is the running acc plus the
// spring's pull, scaled by dt; inside the window it is added to acc, so acc compounds with
// every accepted spring
void springStep(PaperStreamer& s, int p, int q, bool straight, float dt,
                DisplacementWindow window, Vec3& acc)
{
    Vec3 pull;
    if (!s.springPull(p, q, straight, pull))
        return;
    Vec3 d = vecScale(vecAdd(acc, pull), dt);
    float m = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (window.low <= m && m <= window.high)
        acc = vecAdd(acc, d);
}

}  // namespace

bool updateStreamerFullScan(PaperStreamer* s, float dtTick, bool rollFlying)
{
    if (streamerAtRest(s))
        return false;
    const float dt = relaxStepUnits(dtTick);
    const DisplacementWindow window = displacementWindow(rollFlying);
    const Vec3 gravity = s->current[0].gravity;
    for (int r = 0; r < kStreamerRows; ++r)
        for (int c = 0; c < kStreamerColumns; ++c) {
            const int p = particleIndex(r, c);
            Vec3 acc = gravity;
            for (int r2 = 0; r2 < kStreamerRows; ++r2)
                for (int c2 = 0; c2 < kStreamerColumns; ++c2)
                    if (PaperStreamer::isNeighbour(r, c, r2, c2))
                        springStep(*s, p, particleIndex(r2, c2),
                                   PaperStreamer::isStraightPair(r, c, r2, c2), dt, window, acc);
            s->next[p].position = vecAdd(s->current[p].position, acc);
        }
    return gStreamerHouseCollision ? s->commitStreamer() : false;
}
