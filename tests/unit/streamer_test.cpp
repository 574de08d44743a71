// SPDX-License-Identifier: MIT
// streamer: construction, springs, the relaxation step's windows, and the house and ground rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>

#include "game/game_state.h"
#include "player/throwing.h"
#include "streamer/paper_streamer.h"
#include "streamer/streamer_step.h"
#include "tests/support/full_scan_streamer.h"
#include "tests/support/scripted_flight.h"

namespace {

// one step of a strip as the game takes it: the step of the last idle call, the roll it trails
// read from the thrown rolls, and that roll stopped when the strip strikes the house
// the step since the last idle call, in milliseconds
float sTickStep = 0.0f;

void relax(PaperStreamer* s, bool (*update)(PaperStreamer*, float, bool) = updateStreamer)
{
    if (update(s, sTickStep, rollFlying(s->roll)))
        stopRoll(s->roll);
}

void sink(PaperStreamer* s, float dtTick)
{
    sinkStreamer(s, dtTick, rollFlying(s->roll));
}


// far from the house on every side
const Vec3 kInTheYard{20.0f, 5.0f, 20.0f};

class StreamerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetPlayState();
        gStreamerHouseCollision = 1;
        setTickStep(30.0f);
    }
    void TearDown() override { resetPlayState(); }

    static void setTickStep(float ms)
    {
        sTickStep = ms;
    }
    // owned through gStreamers, so the reset frees it
    static PaperStreamer* addStreamer(Vec3 endA, Vec3 endB)
    {
        gStreamers.push_back(new PaperStreamer(endA, endB));
        return gStreamers.back();
    }
    static PaperStreamer* addStreamer() { return addStreamer(kInTheYard, vecAdd(kInTheYard, Vec3{0, 0, 0.3f})); }
    static int32_t addRoll(bool active)
    {
        RollRecord roll{};
        roll.active = active ? 1 : 0;
        gRollsInFlight.push_back(roll);
        return int32_t(gRollsInFlight.size() - 1);
    }
    // every particle at p, proposing to stay there
    static void placeAll(PaperStreamer* s, Vec3 p)
    {
        for (int i = 0; i < kStreamerParticles; ++i)
            s->current[i].position = s->next[i].position = p;
    }
    static void place(PaperStreamer* s, int r, int c, Vec3 now, Vec3 proposed)
    {
        s->at(r, c).position = now;
        s->next[r * kStreamerColumns + c].position = proposed;
    }
    static bool allFinite(const PaperStreamer* s)
    {
        for (const StreamerParticle& p : s->current)
            if (!std::isfinite(p.position.x) || !std::isfinite(p.position.y) || !std::isfinite(p.position.z))
                return false;
        return true;
    }
};

void expectVec(Vec3 actual, Vec3 expected, float tolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST_F(StreamerTest, PlaceholderStandsUprightWithItsRestLengths)
{
    PaperStreamer s(Vec3{0, 0, 0}, Vec3{0, 0, 0.3f});
    EXPECT_EQ(s.landed, 0u);
    EXPECT_EQ(s.roll, -1);
    EXPECT_FALSE(rollFlying(s.roll));
    for (int r = 0; r < kStreamerRows; ++r) {
        expectVec(s.at(r, 0).position, Vec3{0, 12.0f, 0.3f * r}, 1e-6f);
        expectVec(s.at(r, 39).position, Vec3{0, 0.3f, 0.3f * r}, 1e-6f);
    }
    for (int i = 0; i < kStreamerParticles; ++i)
        for (const StreamerParticle* p : {&s.current[i], &s.next[i]}) {
            EXPECT_NEAR(p->restStraight, 0.3f, 1e-6f);
            EXPECT_NEAR(p->restDiagonal, 0.42426f, 1e-5f);
            EXPECT_EQ(p->gravity.y, -0.00105f);
            EXPECT_EQ(p->pinned, 0u);
        }
    // the x and y of the second end play no part
    PaperStreamer other(Vec3{0, 0, 0}, Vec3{5, 7, 0.3f});
    EXPECT_EQ(std::memcmp(s.current, other.current, sizeof s.current), 0);
}

TEST_F(StreamerTest, SpringPullsWhenStretchedAndPushesWhenCompressed)
{
    PaperStreamer* s = addStreamer(Vec3{0, 0, 0}, Vec3{0, 0, 0.3f});
    s->at(0, 0).position = Vec3{0, 0, 0};
    s->at(0, 1).position = Vec3{0, 0.33f, 0};
    expectVec(s->springForce(0, 0, 0, 1, Vec3{0, 0, 0}), Vec3{0, 0.00061818f, 0}, 1e-7f);
    EXPECT_NEAR(s->at(0, 0).strain, 0.17f, 1e-5f);
    s->at(0, 1).position = Vec3{0, 0.27f, 0};
    expectVec(s->springForce(0, 0, 0, 1, Vec3{0, 0, 0}), Vec3{0, -0.00075556f, 0}, 1e-7f);
    // the incoming value is carried through
    expectVec(s->springForce(0, 0, 0, 1, Vec3{1, 2, 3}), Vec3{1, 2 - 0.00075556f, 3}, 1e-6f);
    // a diagonal at its rest length pulls nothing: it uses the diagonal rest length
    s->at(1, 1).position = Vec3{0, 0.3f, 0.3f};
    expectVec(s->springForce(0, 0, 1, 1, Vec3{0, 0, 0}), Vec3{0, 0, 0}, 1e-7f);
}

TEST_F(StreamerTest, DegenerateSpringsPullNothing)
{
    PaperStreamer* s = addStreamer();
    // coincident particles
    s->at(0, 1).position = s->at(0, 0).position;
    expectVec(s->springForce(0, 0, 0, 1, Vec3{1, 2, 3}), Vec3{1, 2, 3}, 0.0f);
    // a strip of no width has rest lengths of 0
    PaperStreamer* flat = addStreamer(Vec3{0, 5, -20}, Vec3{1, 5, -20});
    EXPECT_EQ(flat->at(0, 0).restStraight, 0.0f);
    flat->at(0, 1).position = Vec3{0, 6, -20};
    expectVec(flat->springForce(0, 0, 0, 1, Vec3{1, 2, 3}), Vec3{1, 2, 3}, 0.0f);
}

TEST_F(StreamerTest, NeighboursAreTheFiveAroundAParticle)
{
    EXPECT_TRUE(PaperStreamer::isNeighbour(0, 5, 0, 4));
    EXPECT_TRUE(PaperStreamer::isNeighbour(0, 5, 1, 6));
    EXPECT_TRUE(PaperStreamer::isNeighbour(1, 5, 0, 5));
    EXPECT_FALSE(PaperStreamer::isNeighbour(0, 5, 0, 5));
    EXPECT_FALSE(PaperStreamer::isNeighbour(0, 5, 0, 7));
    EXPECT_FALSE(PaperStreamer::isNeighbour(0, 39, 0, 40));
    EXPECT_FALSE(PaperStreamer::isNeighbour(0, 0, -1, 0));
    int count = 0;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 40; ++c)
            count += PaperStreamer::isNeighbour(0, 10, r, c);
    EXPECT_EQ(count, 5);
}

TEST_F(StreamerTest, RowSumBelowTheThresholdChangesNothing)
{
    PaperStreamer* s = addStreamer();
    for (int c = 0; c < kStreamerColumns; ++c)
        s->at(0, c).position = Vec3{20.0f + c, 0.019f / 40, 20.0f};
    s->at(1, 3).position = Vec3{21, 4, 21};  // row 1 is not counted
    ASSERT_NEAR(s->rowHeightSum(), 0.019f, 1e-6f);
    PaperStreamer before = *s;
    relax(s);
    EXPECT_EQ(std::memcmp(s->current, before.current, sizeof s->current), 0);

    // 0.02f is a hair below 0.02, so a row summing to it still lies still
    for (int c = 0; c < kStreamerColumns; ++c)
        s->at(0, c).position.y = 0.0f;
    s->at(0, 20).position.y = 0.02f;
    ASSERT_EQ(s->rowHeightSum(), 0.02f);
    before = *s;
    relax(s);
    EXPECT_EQ(std::memcmp(s->current, before.current, sizeof s->current), 0);
}

TEST_F(StreamerTest, FreeParticleWithoutAcceptedSpringStepMovesByGravity)
{
    // a step of 0 makes every spring's displacement 0, below the window; a step of 3 s makes
    // them all far too long: either way only gravity moves the strip, unscaled by the step
    for (float ms : {0.0f, 3000.0f}) {
        PaperStreamer* s = addStreamer();
        s->current[0].gravity.y = -0.004f;
        PaperStreamer before = *s;
        setTickStep(ms);
        relax(s);
        for (int i = 0; i < kStreamerParticles; ++i) {
            const Vec3 was = before.current[i].position;
            EXPECT_EQ(s->current[i].position.x, was.x);
            EXPECT_EQ(s->current[i].position.y, was.y + -0.004f) << "particle " << i << " at " << ms << " ms";
            EXPECT_EQ(s->current[i].position.z, was.z);
        }
    }
}

// particle (0, 39) with one working spring, to (1, 39) straight above it, sized so that its
// displacement has the given length; the other two springs are coincident and pull nothing
class WindowTest : public StreamerTest {
protected:
    float moveOfLoneSpring(float displacement, int32_t roll)
    {
        PaperStreamer* s = addStreamer();
        s->roll = roll;
        s->current[0].gravity = Vec3{0, 0, 0};
        placeAll(s, kInTheYard);
        s->at(1, 39).position = vecAdd(kInTheYard, Vec3{0, 0.6f, 0});
        const float pull = s->springForce(0, 39, 1, 39, Vec3{0, 0, 0}).y;
        setTickStep(displacement / pull * 30.0f);
        relax(s);
        return s->at(0, 39).position.y - kInTheYard.y;
    }
};

TEST_F(WindowTest, LongDisplacementCountsOnlyWhileTheRollFlies)
{
    EXPECT_NEAR(moveOfLoneSpring(0.05f, addRoll(true)), 0.05f, 1e-5f);
    EXPECT_EQ(moveOfLoneSpring(0.05f, addRoll(false)), 0.0f);
    EXPECT_EQ(moveOfLoneSpring(0.05f, -1), 0.0f);  // the placeholder has no flying roll
}

TEST_F(WindowTest, ShortDisplacementCountsOnlyWhileTheRollFlies)
{
    EXPECT_NEAR(moveOfLoneSpring(0.00022f, addRoll(true)), 0.00022f, 1e-6f);
    EXPECT_EQ(moveOfLoneSpring(0.00022f, addRoll(false)), 0.0f);
}

TEST_F(StreamerTest, AcceptedStepsCompoundTheRunningDisplacement)
{
    // two accepted springs: the second adds the first's displacement again, scaled by the step
    PaperStreamer* s = addStreamer();
    s->roll = addRoll(true);
    s->current[0].gravity = Vec3{0, 0, 0};
    placeAll(s, kInTheYard);
    s->at(0, 38).position = vecAdd(kInTheYard, Vec3{0, 0.6f, 0});
    s->at(1, 39).position = vecAdd(kInTheYard, Vec3{0, 0.6f, 0});
    const float pull = s->springForce(0, 39, 1, 39, Vec3{0, 0, 0}).y;
    setTickStep(30.0f * 0.5f);  // dt = 0.5
    const float first = pull * 0.5f;
    const float expected = first + (first + pull) * 0.5f;
    relax(s);
    EXPECT_NEAR(s->at(0, 39).position.y - kInTheYard.y, expected, 1e-7f);
    EXPECT_GT(expected, 2 * first);
}

TEST_F(StreamerTest, ParticleOnTheGroundKeepsItsHeightButSlides)
{
    PaperStreamer* s = addStreamer();
    placeAll(s, kInTheYard);
    place(s, 0, 5, Vec3{20, 0.01f, 20}, Vec3{20.5f, -0.2f, 20.1f});
    s->commitStreamer();
    expectVec(s->at(0, 5).position, Vec3{20.5f, -0.2f, 20.1f}, 0.0f);
    s->next[5].position = Vec3{21, 3, 20.2f};
    s->commitStreamer();
    expectVec(s->at(0, 5).position, Vec3{21, -0.2f, 20.2f}, 0.0f);
    // on the ground inside the footprint it does not slide either
    place(s, 0, 6, Vec3{0, 0, 0}, Vec3{1, 2, 1});
    s->commitStreamer();
    expectVec(s->at(0, 6).position, Vec3{0, 0, 0}, 0.0f);
}

TEST_F(StreamerTest, FirstStrikeSetsTheRoofHeightOfItsBlock)
{
    struct Case {
        Vec3 now, proposed;
        float height;
    };
    // old z 0.0 is over the main block, 6.0 over the low one
    for (Case k : {Case{{0, 8, 0}, {0.5f, 6, 0.1f}, 7.0f}, Case{{0, 3.5f, 6}, {0.5f, 2.5f, 6.1f}, 2.775f}}) {
        PaperStreamer* s = addStreamer();
        s->roll = addRoll(true);
        placeAll(s, kInTheYard);
        place(s, 0, 5, k.now, k.proposed);
        EXPECT_TRUE(s->commitStreamer());  // the strike stops the roll
        expectVec(s->at(0, 5).position, Vec3{k.proposed.x, k.height, k.proposed.z}, 0.0f);
        EXPECT_EQ(s->landed, 1u);
        EXPECT_EQ(s->at(0, 5).pinned, 1u);
        // a second strike of the same strip keeps the proposed height
        place(s, 0, 10, Vec3{1, 8, 0}, Vec3{1.5f, 6.5f, 0.2f});
        s->commitStreamer();
        expectVec(s->at(0, 10).position, Vec3{1.5f, 6.5f, 0.2f}, 0.0f);
        // pinned: it no longer follows proposals
        s->next[10].position = Vec3{3, 4, 3};
        s->commitStreamer();
        expectVec(s->at(0, 10).position, Vec3{1.5f, 6.5f, 0.2f}, 0.0f);
    }
}

TEST_F(StreamerTest, StrikePinsItsWholeColumn)
{
    PaperStreamer* s = addStreamer();
    placeAll(s, kInTheYard);
    place(s, 0, 7, Vec3{0, 8, 0}, Vec3{0, 6, 0});
    place(s, 1, 7, Vec3{0, 8, 0.3f}, Vec3{0, 8.5f, 0.3f});  // over the roof, not striking
    s->commitStreamer();
    EXPECT_EQ(s->at(0, 7).pinned, 1u);
    EXPECT_EQ(s->at(1, 7).pinned, 1u);
    expectVec(s->at(1, 7).position, Vec3{0, 8, 0.3f}, 0.0f);
    EXPECT_EQ(s->at(0, 6).pinned + s->at(1, 8).pinned, 0u);
}

TEST_F(StreamerTest, PartnerBesideTheHouseComesLooseInOrder)
{
    const Vec3 beside{20, 4, 0};
    {
        // (0, c) strikes; (1, c) comes after it in the pass and comes loose at once
        PaperStreamer* s = addStreamer();
        placeAll(s, kInTheYard);
        place(s, 0, 7, Vec3{0, 8, 0}, Vec3{0, 6, 0});
        place(s, 1, 7, beside, Vec3{20, 3.9f, 0});
        s->commitStreamer();
        EXPECT_EQ(s->at(1, 7).pinned, 0u);
        expectVec(s->at(1, 7).position, Vec3{20, 3.9f, 0}, 0.0f);
    }
    {
        // (1, c) strikes; (0, c) was committed before it and stays pinned for one pass
        PaperStreamer* s = addStreamer();
        placeAll(s, kInTheYard);
        place(s, 0, 7, beside, Vec3{20, 3.9f, 0});
        place(s, 1, 7, Vec3{0, 8, 0}, Vec3{0, 6, 0});
        s->commitStreamer();
        EXPECT_EQ(s->at(0, 7).pinned, 1u);
        expectVec(s->at(0, 7).position, Vec3{20, 3.9f, 0}, 0.0f);
        s->next[7].position = Vec3{20, 3.5f, 0};
        s->commitStreamer();
        EXPECT_EQ(s->at(0, 7).pinned, 0u);
        expectVec(s->at(0, 7).position, Vec3{20, 3.5f, 0}, 0.0f);
    }
}

TEST_F(StreamerTest, OverTheRoofAParticleOnlyRisesOrSinks)
{
    PaperStreamer* s = addStreamer();
    placeAll(s, kInTheYard);
    place(s, 0, 5, Vec3{0, 8, 0}, Vec3{1, 8.5f, 1});
    s->commitStreamer();
    expectVec(s->at(0, 5).position, Vec3{0, 8.5f, 0}, 0.0f);
    s->next[5].position = Vec3{-1, 7.5f, -1};
    s->commitStreamer();
    expectVec(s->at(0, 5).position, Vec3{0, 7.5f, 0}, 0.0f);
    EXPECT_EQ(s->landed, 0u);
}

TEST_F(StreamerTest, HouseShapes)
{
    EXPECT_TRUE(inHouseFootprint(0, 100, 0));
    EXPECT_TRUE(inHouseFootprint(8.6f, -5, 8.6f));
    EXPECT_FALSE(inHouseFootprint(8.602f, 0, 0));  // bounds are exclusive
    EXPECT_FALSE(inHouseFootprint(0, 0, -11.1f));
    EXPECT_FALSE(inHouseFootprint(0, 0, 9));
    EXPECT_TRUE(inHouseVolume(0, 7.0f, 0));
    EXPECT_FALSE(inHouseVolume(0, 7.1f, 0));
    EXPECT_TRUE(inHouseVolume(0, 2.9f, 8));
    EXPECT_FALSE(inHouseVolume(0, 3.0f, 8));
    EXPECT_TRUE(inHouseVolume(0, 7.0f, 5.7f));  // where the blocks overlap the main one counts
    EXPECT_TRUE(inHouseVolume(0, -50, 0));      // no floor
    // the bounds are the exact decimals: 7.062f is a hair below the main roof, 2.91f above
    // the low one
    EXPECT_TRUE(inHouseVolume(0, 7.062f, 0));
    EXPECT_FALSE(inHouseVolume(0, 2.91f, 8));
    EXPECT_FALSE(inHouseFootprint(-8.602f, 0, 0));
    EXPECT_TRUE(inHouseFootprint(0, 0, 5.55f));
    EXPECT_FALSE(inHouseFootprint(0, 0, 8.602f));
}

TEST_F(StreamerTest, SinkingGrowsGravityOnlyOnceTheRollStopsAndWhileAboveGround)
{
    PaperStreamer* s = addStreamer();
    s->roll = addRoll(true);
    sink(s, 300.0f);
    EXPECT_EQ(s->current[0].gravity.y, -0.00105f);
    gRollsInFlight[0].active = 0;
    sink(s, 300.0f);
    EXPECT_NEAR(s->current[0].gravity.y, -0.00105f - 0.001f, 1e-9f);
    s->at(0, 0).position.y = 0.0f;
    sink(s, 300.0f);
    EXPECT_NEAR(s->current[0].gravity.y, -0.00205f, 1e-9f);
    // a tick counter that wrapped must not lift the strip
    s->at(0, 0).position.y = 1.0f;
    sink(s, -4.0e9f);
    EXPECT_NEAR(s->current[0].gravity.y, -0.00205f, 1e-9f);
}

TEST_F(StreamerTest, SquaredWindowAgreesWithTheLengthTestAtItsEdges)
{
    // the fast step tests the squared displacement; it must decide as the length test against
    // the exact ends does, float for float, around both ends of both windows (0.0002f and 0.097f
    // themselves lie just outside the flying window)
    for (auto [low, high] : {std::pair{0.0002, 0.097}, std::pair{0.00025, 0.02}}) {
        const SquaredWindow w = squaredWindow(low, high);
        for (float edge : {float(low * low), float(high * high)}) {
            float s = edge;
            for (int i = 0; i < 2000; ++i)
                s = std::nextafter(s, 0.0f);
            for (int i = 0; i < 4000; ++i, s = std::nextafter(s, 1.0f)) {
                const float m = std::sqrt(s);
                ASSERT_EQ(low <= m && m <= high, w.low <= s && s <= w.high) << s;
            }
        }
    }
    const SquaredWindow flying = squaredWindow(0.0002, 0.097);
    const float atLow = 0.0002f * 0.0002f, atHigh = 0.097f * 0.097f;
    ASSERT_EQ(std::sqrt(atLow), 0.0002f);
    ASSERT_EQ(std::sqrt(atHigh), 0.097f);
    EXPECT_LT(atLow, flying.low);
    EXPECT_GT(atHigh, flying.high);
}

TEST_F(StreamerTest, StripOfNoWidthStaysFinite)
{
    // a side vector with z = 0 gives both ends the same z
    const ScriptedFlight start{Vec3{0, 1.5f, -25.6f}, Vec3{0.5f, 8, 14}, Vec3{1, 0, 0}};
    ScriptedFlight f = start;
    PaperStreamer* s = addStreamer(vecAdd(f.position, Vec3{0.15f, 0, 0}), vecSub(f.position, Vec3{0.15f, 0, 0}));
    s->roll = addRoll(true);
    int changed = 0;
    for (int i = 0; i < 1000; ++i) {
        setTickStep(float(5 + i % 40));
        flyScriptedRoll(f, gRollsInFlight[0], s, 0.016f);
        const float before = s->at(0, 20).position.y;
        sink(s, sTickStep);
        relax(s);
        changed += s->at(0, 20).position.y != before;
        ASSERT_TRUE(allFinite(s)) << "update " << i;
        ASSERT_TRUE(std::isfinite(s->current[0].gravity.y));
    }
    EXPECT_GT(changed, 10);
}

// a small deterministic generator, the same on every platform
struct Lcg {
    uint32_t state;
    float next(float low, float high)
    {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * float(state >> 8) / float(1u << 24);
    }
};

TEST_F(StreamerTest, FiveNeighbourStepMatchesTheFullScanBitForBit)
{
    constexpr int kCount = 12;
    Lcg random{12345};
    ScriptedFlight flights[2][kCount];
    PaperStreamer* strips[2][kCount];
    for (int k = 0; k < kCount; ++k) {
        const float angle = random.next(-0.6f, 0.6f);
        const Vec3 toHouse{std::sin(angle), 0, std::cos(angle)};
        // every fourth roll is thrown with a side vector of z = 0: a strip of no width
        const Vec3 side = k % 4 == 3 ? Vec3{1, 0, 0} : Vec3{toHouse.z, 0, -toHouse.x};
        ScriptedFlight f{vecScale(toHouse, -25.6f), vecScale(toHouse, random.next(8, 20)), side};
        f.position.y = 1.5f;
        f.velocity.y = random.next(3, 12);
        for (int set = 0; set < 2; ++set) {
            flights[set][k] = f;
            strips[set][k] = addStreamer(vecAdd(f.position, vecScale(side, 0.15f)),
                                         vecSub(f.position, vecScale(side, 0.15f)));
            strips[set][k]->roll = addRoll(true);
        }
    }
    int landed = 0;
    for (int step = 0; step < 800; ++step) {
        setTickStep(float(int(random.next(0, 70))));
        const float seconds = random.next(0.005f, 0.03f);
        for (int set = 0; set < 2; ++set)
            for (int k = 0; k < kCount; ++k) {
                PaperStreamer* s = strips[set][k];
                flyScriptedRoll(flights[set][k], gRollsInFlight[size_t(s->roll)], s, seconds);
                sink(s, sTickStep);
                if (set == 0)
                    relax(s);
                else
                    relax(s, updateStreamerFullScan);
            }
        for (int k = 0; k < kCount; ++k) {
            const PaperStreamer* a = strips[0][k];
            const PaperStreamer* b = strips[1][k];
            ASSERT_EQ(std::memcmp(a->current, b->current, sizeof a->current), 0) << "step " << step << " strip " << k;
            ASSERT_EQ(std::memcmp(a->next, b->next, sizeof a->next), 0) << "step " << step << " strip " << k;
            ASSERT_EQ(a->landed, b->landed);
            ASSERT_EQ(gRollsInFlight[size_t(a->roll)].active, gRollsInFlight[size_t(b->roll)].active);
            ASSERT_TRUE(allFinite(a));
        }
    }
    for (int k = 0; k < kCount; ++k)
        landed += strips[0][k]->landed;
    // the scenario must reach the house, or it tests little
    EXPECT_GT(landed, 0);
}

} // namespace
