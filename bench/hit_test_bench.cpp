// SPDX-License-Identifier: MIT
// bench: World::hitTest over the points a level's flights pass through, against the literal
// query written out here (every plant of the range, a square root each, then the two boxes).
// Both give the same codes; the bench checks that before it times anything.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "scene/world.h"
#include "tests/support/run_dir.h"

namespace {

constexpr int kPoints = 4096;

World& world()
{
    static World* w = [] {
        enterRunDirectory();
        return new World();
    }();
    return *w;
}

// points along arcs from the level-1 station to the house and the plants around it
std::vector<Vec3> flightPoints()
{
    std::vector<Vec3> points;
    for (int k = 0; k < kPoints; ++k) {
        float t = float(k % 64) / 63.0f;
        float spread = 0.6f * (float(k / 64 % 16) / 15.0f - 0.5f);
        float angle = 3.92699f + spread;
        float radius = 25.6f * (1.0f - t);
        points.push_back(Vec3{std::cos(angle) * radius, 6.0f * t * (1.2f - t) + 0.1f,
                              std::sin(angle) * radius});
    }
    return points;
}

int32_t literalHitTest(const World& w, Vec3 point, int32_t level)
{
    for (int i = 5; i <= 20; ++i) {
        const Placement& plant = *w.placements[size_t(i)];
        if (plant.group != level || !plant.visible)
            continue;
        double dx = plant.position.x - 25.6 - point.x;
        double dy = plant.position.y + 0.22 - point.y;
        double dz = plant.position.z - 25.6 - point.z;
        if (std::sqrt(dx * dx + dy * dy + dz * dz) < 0.8)
            return 1;
    }
    if (-8.325f < point.x && point.x < 8.325f && 0.0f < point.y && point.y < 6.937f &&
        -11.1f < point.z && point.z < 5.55f)
        return 2;
    if (-8.325f < point.x && point.x < 8.325f && 0.0f < point.y && point.y < 2.775f &&
        5.55f < point.z && point.z < 8.325f)
        return 2;
    return 0;
}

void BM_Ours(benchmark::State& state)
{
    World& w = world();
    const std::vector<Vec3> points = flightPoints();
    int hits = 0;
    for (const Vec3& p : points) {
        int32_t code = w.hitTest(p, 1, true);
        if (code != literalHitTest(w, p, 1)) {
            state.SkipWithError("the game's hit test and the literal one disagree");
            return;
        }
        hits += code != 0;
    }
    for (auto _ : state)
        for (const Vec3& p : points)
            benchmark::DoNotOptimize(w.hitTest(p, 1, true));
    state.counters["points"] = kPoints;
    state.counters["struck"] = hits;
}

void BM_Literal(benchmark::State& state)
{
    World& w = world();
    const std::vector<Vec3> points = flightPoints();
    for (auto _ : state)
        for (const Vec3& p : points)
            benchmark::DoNotOptimize(literalHitTest(w, p, 1));
    state.counters["points"] = kPoints;
}

}  // namespace

BENCHMARK(BM_Ours)->Name("HitTest4096Points/Ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Literal)->Name("HitTest4096Points/Literal")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
