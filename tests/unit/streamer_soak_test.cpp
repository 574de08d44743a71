// SPDX-License-Identifier: MIT
// streamer soak: the 40 strips of a whole game, thrown by the game's own throw from the four
// stations, flown and relaxed for 100,000 idle steps with uneven tick steps (a loaded machine's
// hitches, two idle calls within one millisecond); 60,000 under the sanitizers. Every particle
// stays finite and in the yard.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "game/game_state.h"
#include "player/camera.h"
#include "player/throwing.h"
#include "streamer/paper_streamer.h"

#if defined(__SANITIZE_ADDRESS__)
#define VX_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define VX_SANITIZED 1
#endif
#endif

namespace {

#ifdef VX_SANITIZED
constexpr int kUpdates = 60000;  // the sanitizers slow each step down fivefold
#else
constexpr int kUpdates = 100000;
#endif
constexpr int kStrips = 40;
constexpr int kUpdatesBetweenThrows = 240;  // about four seconds of play at 60 steps a second
constexpr float kFlightStep = 0.016f;
constexpr float kYardReach = 500.0f;        // far beyond any roll's flight

// a tick step in ms: mostly a 60 Hz frame, now and then a stall or a doubled idle call
float tickStepFor(int update)
{
    if (update % 997 == 0)
        return 750.0f;
    if (update % 211 == 0)
        return 0.0f;
    if (update % 53 == 0)
        return 100.0f;
    return 16.0f + float(update % 5);
}

// the k-th throw of the game: level k / 10 from its station, aimed at the house with a little
// scatter left and right and a power from weak to full
void throwAtTheHouse(int k)
{
    const float station = 3.926990f + float(k / 10) * 1.570796f;
    const Vec3 base{std::cos(station) * 25.6f, 0.0f, std::sin(station) * 25.6f};
    const float scatter = 0.08f * float(k % 7 - 3);
    const float toHouse = std::atan2(-base.z, -base.x) + scatter;
    Vec3 direction{std::cos(toHouse), 0.2f + 0.05f * float(k % 4), std::sin(toHouse)};
    direction = vecNormalize(direction);
    gStationAngle = station;
    gLevel = 1 + k / 10;
    gSideVector = vecNormalize(vecCross(Vec3{0, 1, 0}, direction));
    throwRoll(0.2f + 0.05f * float(k % 10), direction);
}

struct Extent {
    bool finite = true;
    float farthest = 0.0f;
};

Extent measure()
{
    Extent e;
    for (size_t i = 1; i < gStreamers.size(); ++i)
        for (const StreamerParticle& p : gStreamers[i]->current) {
            const Vec3& q = p.position;
            if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z))
                e.finite = false;
            else
                e.farthest = std::fmax(e.farthest,
                                       std::fmax(std::fabs(q.x), std::fmax(std::fabs(q.y), std::fabs(q.z))));
        }
    return e;
}

TEST(StreamerSoak, FortyStripsStayFiniteAndInTheYardThroughLongPlay)
{
    resetPlayState();
    gStreamerHouseCollision = 1;
    // element 0 is the placeholder the game keeps and never steps
    gStreamers.push_back(new PaperStreamer(Vec3{0, 0, 0}, Vec3{0, 0, 0.3f}));
    float tickPrev = 0.0f, tickNow = 16.0f;

    int thrown = 0;
    float farthest = 0.0f;
    for (int update = 1; update <= kUpdates; ++update) {
        if (thrown < kStrips && update % kUpdatesBetweenThrows == 1)
            throwAtTheHouse(thrown++);
        updateRolls(kFlightStep, gLevel);
        stepStreamers(tickNow - tickPrev);
        tickPrev = tickNow;
        tickNow += tickStepFor(update);

        const Extent e = measure();
        ASSERT_TRUE(e.finite) << "a particle left the real numbers at update " << update;
        ASSERT_LT(e.farthest, kYardReach) << "a strip flew off at update " << update;
        farthest = std::fmax(farthest, e.farthest);
    }
    ASSERT_EQ(int(gStreamers.size()), kStrips + 1);
    int draped = 0, flying = 0;
    for (size_t i = 1; i < gStreamers.size(); ++i)
        draped += gStreamers[i]->landed != 0;
    for (const RollRecord& roll : gRollsInFlight)
        flying += roll.active != 0;
    std::printf("%d updates: %d strips, %d draped on the house, %d rolls still flying, farthest "
                "particle %.1f from the house\n",
                kUpdates, kStrips, draped, flying, double(farthest));
    EXPECT_EQ(flying, 0) << "every roll comes to rest";
    EXPECT_GT(draped, 0) << "rolls aimed at the house drape over it";
    resetPlayState();
}

}  // namespace
