// SPDX-License-Identifier: MIT
// bench: the level-end score over the placeholder and 40 streamers, the game's computeScore
// against the literal sum written out here (the same rounding of every row-0 height to a
// multiple of 5); the two must agree before anything is timed.
#include <benchmark/benchmark.h>

#include <cmath>

#include "app/app.h"
#include "game/game_state.h"
#include "game/rules.h"
#include "streamer/paper_streamer.h"

namespace {

constexpr int kStreamers = 40;

// 40 strips hanging at heights from the ground to the roof, one lying flat, some below 0
void hangStreamers()
{
    resetAllGlobals();
    addPlaceholderStreamer();
    for (int k = 0; k < kStreamers; ++k) {
        PaperStreamer* s = new PaperStreamer(Vec3{0, 0, 0}, Vec3{0, 0, 0.3f});
        for (int c = 0; c < kStreamerColumns; ++c)
            s->at(0, c).position.y = 7.0f - 0.173f * float(c) + 0.31f * float(k % 9) - 0.5f;
        gStreamers.push_back(s);
    }
}

int32_t literalScore()
{
    int32_t sum = 0;
    for (const PaperStreamer* s : gStreamers)
        for (int c = 0; c < kStreamerColumns; ++c) {
            float y = s->current[c].position.y;
            int32_t t = int32_t(y);
            int32_t r = t % 5;
            int32_t v = r >= 3 ? int32_t(y + float(5 - r)) : int32_t(y - float(r));
            sum += v;
        }
    return gPlantBonus - gScoreBaseline + sum;
}

void BM_Ours(benchmark::State& state)
{
    hangStreamers();
    if (computeScore() != literalScore()) {
        state.SkipWithError("the game's score and the literal one disagree");
        resetAllGlobals();
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(computeScore());
    state.counters["score"] = computeScore();
    resetAllGlobals();
}

void BM_Literal(benchmark::State& state)
{
    hangStreamers();
    for (auto _ : state)
        benchmark::DoNotOptimize(literalScore());
    resetAllGlobals();
}

}  // namespace

BENCHMARK(BM_Ours)->Name("ScoreFortyStreamers/Ours")->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Literal)->Name("ScoreFortyStreamers/Literal")->Unit(benchmark::kNanosecond);

BENCHMARK_MAIN();
