// SPDX-License-Identifier: MIT
// bench: one relaxation step of 40 streamers, the most a game makes, some still trailing their
// rolls and some draped over the house; the five-neighbour step against the full 80-candidate scan.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "app/app.h"
#include "app/frame_clock.h"
#include "player/throwing.h"
#include "streamer/paper_streamer.h"
#include "tests/support/full_scan_streamer.h"
#include "tests/support/scripted_flight.h"

namespace {

constexpr int kStreamerCount = 40;
constexpr float kTickMs = 16.0f;
constexpr float kFlightSeconds = 0.016f;


struct Scene {
    std::vector<ScriptedFlight> flights;
    std::vector<PaperStreamer> strips;  // the snapshot every iteration starts from
    std::vector<RollRecord> rolls;
};

// 40 rolls thrown at the house from the four stations at different powers, flown for about a
// second and a half: the faster ones have struck the house and hang on it, the slower still fly
Scene buildScene()
{
    resetAllGlobals();
    gStreamerHouseCollision = 1;
    std::vector<ScriptedFlight> flights;
    for (int k = 0; k < kStreamerCount; ++k) {
        const float angle = float(k % 4) * 1.570796f + 0.05f * float(k / 4 - 5);
        const Vec3 toHouse{std::sin(angle), 0.0f, std::cos(angle)};
        const Vec3 side{toHouse.z, 0.0f, -toHouse.x};
        ScriptedFlight f{vecScale(toHouse, -25.6f), vecScale(toHouse, 10.0f + 0.4f * float(k)), side};
        f.position.y = 1.5f;
        f.velocity.y = 7.0f + 0.1f * float(k);
        PaperStreamer* s = new PaperStreamer(vecAdd(f.position, vecScale(side, 0.15f)),
                                             vecSub(f.position, vecScale(side, 0.15f)));
        s->landed = 0;
        s->roll = int32_t(gRollsInFlight.size());
        RollRecord roll{};
        roll.active = 1;
        gRollsInFlight.push_back(roll);
        gStreamers.push_back(s);
        flights.push_back(f);
    }
    for (int step = 0; step < 90; ++step)
        for (int k = 0; k < kStreamerCount; ++k) {
            PaperStreamer* s = gStreamers[size_t(k)];
            flyScriptedRoll(flights[size_t(k)], gRollsInFlight[size_t(k)], s, kFlightSeconds);
            sinkStreamer(s, kTickMs, rollFlying(s->roll));
            if (updateStreamer(s, kTickMs, rollFlying(s->roll)))
                stopRoll(s->roll);
        }
    Scene scene;
    scene.flights = flights;
    for (PaperStreamer* s : gStreamers)
        scene.strips.push_back(*s);
    scene.rolls = gRollsInFlight;
    return scene;
}

void restore(const Scene& scene)
{
    for (int k = 0; k < kStreamerCount; ++k)
        *gStreamers[size_t(k)] = scene.strips[size_t(k)];
    gRollsInFlight = scene.rolls;
}

template <bool (*Update)(PaperStreamer*, float, bool)>
void relaxFortyStreamers(benchmark::State& state)
{
    const Scene scene = buildScene();
    int flying = 0, landed = 0, resting = 0;
    for (int k = 0; k < kStreamerCount; ++k) {
        flying += scene.rolls[size_t(k)].active;
        landed += int(scene.strips[size_t(k)].landed);
        resting += scene.strips[size_t(k)].rowHeightSum() < 0.02f;
    }
    for (auto _ : state) {
        state.PauseTiming();
        restore(scene);
        state.ResumeTiming();
        for (PaperStreamer* s : gStreamers)
            if (Update(s, kTickMs, rollFlying(s->roll)))
                stopRoll(s->roll);
        benchmark::DoNotOptimize(gStreamers.back()->current[kStreamerParticles - 1].position);
    }
    state.counters["flying"] = flying;
    state.counters["draped"] = landed;
    state.counters["resting"] = resting;
    resetAllGlobals();
}

BENCHMARK_TEMPLATE(relaxFortyStreamers, updateStreamer)->Name("FortyStreamers/FiveNeighbours")->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(relaxFortyStreamers, updateStreamerFullScan)->Name("FortyStreamers/FullScan")->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
