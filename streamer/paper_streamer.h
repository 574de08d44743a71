// streamer: the paper strip a thrown roll trails, a 2 x 40 cloth of particles relaxed by springs,
// pinned where it strikes the house and stopped where it reaches the ground.
#pragma once
#include <cstdint>
#include <vector>

#include "common/vec.h"

constexpr int kStreamerRows = 2;
constexpr int kStreamerColumns = 40;
constexpr int kStreamerParticles = kStreamerRows * kStreamerColumns;

struct StreamerParticle {
    uint32_t pinned;      // stuck to the house
    Vec3 position;
    Vec3 direction;       // scratch of the last spring evaluated
    Vec3 force;           // scratch: the last spring's force
    Vec3 gravity;         // only particle (0, 0)'s is read
    float strain;         // scratch
    float length;         // scratch
    float restStraight;
    float restDiagonal;
};

class PaperStreamer {
public:
    // the strip stands upright above endA, its rows |endB.z - endA.z| apart along z
    PaperStreamer(Vec3 endA, Vec3 endB);

    int32_t roll;         // index of the trailing roll in gRollsInFlight; -1 for the placeholder
    uint32_t landed;      // a particle has struck the house
    StreamerParticle current[kStreamerParticles];  // particle (r, c) is element r * 40 + c
    StreamerParticle next[kStreamerParticles];     // only the proposed positions are used

    StreamerParticle& at(int r, int c) { return current[r * kStreamerColumns + c]; }
    const StreamerParticle& at(int r, int c) const { return current[r * kStreamerColumns + c]; }

    void initRestLengths();
    static bool isNeighbour(int r1, int c1, int r2, int c2);
    // along a row or straight across; every other neighbour pair is a diagonal
    static bool isStraightPair(int r1, int c1, int r2, int c2);
    // incoming plus the pull on (r1, c1) of its spring to (r2, c2); a spring of rest length or
    // length 0 pulls nothing and incoming comes back unchanged
    Vec3 springForce(int r1, int c1, int r2, int c2, Vec3 incoming);
    // the pull of the spring between particles p and q (element indices) on p, into force;
    // false, and nothing written, for a spring of rest length or length 0
    bool springPull(int p, int q, bool straight, Vec3& force);
    float rowHeightSum() const;
    void commitStreamer();
    // is the trailing roll still flying? (false for the placeholder)
    bool rollActive() const;
    void stopRoll();
};

extern std::vector<PaperStreamer*> gStreamers;  // element 0 is the placeholder; nothing is removed
extern uint32_t gStreamerHouseCollision;
extern const float gSpringStrainScale;
extern const float gSpringForceScale;

void updateStreamer(PaperStreamer* streamer);
// the same step visiting all 80 candidates of every particle for its neighbours; gives results
// identical to updateStreamer, kept as the reference the fast path is checked and timed against
void updateStreamerFullScan(PaperStreamer* streamer);
// the sinking of a streamer whose roll has stopped: its gravity grows while it hangs in the air
void sinkStreamer(PaperStreamer* streamer, float dtTick);
bool inHouseFootprint(float x, float y, float z);
bool inHouseVolume(float x, float y, float z);
void resetStreamerState();
