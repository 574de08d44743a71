// SPDX-License-Identifier: MIT
// bench: a whole recorded game, four levels to GAME OVER (tests/data/full_game.replay), replayed
// with no window as `vendettix --replay FILE --headless` runs it; steps per second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "app/app.h"
#include "app/play_session.h"
#include "game/input_log.h"
#include "game/play_step.h"
#include "tests/support/run_dir.h"

namespace {

const InputLog& fullGame()
{
    static InputLog* log = [] {
        const char* dir = std::getenv("VX_SOURCE_DIR");
        std::string path = std::string(dir ? dir : VX_SOURCE_DIR_DEFAULT) + "/tests/data/full_game.replay";
        auto* read = new InputLog;
        std::string error;
        if (!readInputLog(path, read, &error))
            std::abort();
        enterRunDirectory();
        return read;
    }();
    return *log;
}

void BM_ReplayFullGameHeadless(benchmark::State& state)
{
    const InputLog& log = fullGame();
    int64_t steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetAllGlobals();
        state.ResumeTiming();
        benchmark::DoNotOptimize(replayHeadless(log));
        steps += gStepCount;
    }
    state.counters["steps_per_second"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
    state.counters["times_real_time"] =
        benchmark::Counter(double(steps) * kStepSeconds, benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_ReplayFullGameHeadless)->Name("ReplayFullGame/Headless")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    resetAllGlobals();
    return 0;
}
