// SPDX-License-Identifier: MIT
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

    int32_t roll;         // index of the roll it trails among those thrown; -1 for the placeholder
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
    // the proposals of next through the house and ground rules; true when a particle struck the
    // house (the strip is then pinned there)
    bool commitStreamer();
    // the two leading particles ride on the roll's ends while it flies
    void placeLeadingEdge(Vec3 endA, Vec3 endB);
};

extern std::vector<PaperStreamer*> gStreamers;  // element 0 is the placeholder; nothing is removed
extern uint32_t gStreamerHouseCollision;
extern const float gSpringStrainScale;
extern const float gSpringForceScale;

// the writers of gStreamers and the house rule: nothing outside the strip changes them
// element 0: a landed streamer with no roll, which only keeps the score's baseline
void addPlaceholderStreamer();
// a thrown strip joins the container, which owns it from then on
void addStreamer(PaperStreamer* streamer);
// every thrown strip goes; the placeholder stays (a new game)
void keepPlaceholderOnly();
// start-up switches the house rule on; it stays on for the run
void switchOnHouseCollision();

// one relaxation step, dtTick milliseconds after the last; rollFlying says whether the roll it
// trails still flies. True when the strip struck the house in this step: its roll stops there.
bool updateStreamer(PaperStreamer* streamer, float dtTick, bool rollFlying);
// the sinking of a streamer whose roll has stopped: its gravity grows while it hangs in the air
void sinkStreamer(PaperStreamer* streamer, float dtTick, bool rollFlying);

// the pieces of the step that any way of proposing shares
// row 0 lies this low in sum: the strip is still and the step does nothing
bool streamerAtRest(const PaperStreamer* streamer);
// the step's time in units of 30 ms
float relaxStepUnits(float dtTick);
// how long a spring's displacement may be to count: a flying roll drags the strip hard, a
// stopped one lets it only creep; the ends are exact decimal values, compared in double
struct DisplacementWindow {
    double low, high;
};
DisplacementWindow displacementWindow(bool rollFlying);
bool inHouseFootprint(float x, float y, float z);
bool inHouseVolume(float x, float y, float z);
void resetStreamerState();
