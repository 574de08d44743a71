// SPDX-License-Identifier: MIT
// bench: one whole onIdle on the scripted scene (50 streamers: 40 hanging on the house and 10
// behind rolls still in the air, 10 eggs in the air), against the same step of play with the
// literal streamer step that scans all 80 particles for every particle. No GL is needed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/frame_clock.h"
#include "game/game_state.h"
#include "game/play_step.h"
#include "game/rules.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/camera_placement.h"
#include "player/throwing.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"
#include "tests/support/literal_step.h"
#include "tests/support/scripted_scene.h"
#include "tests/support/run_dir.h"

namespace {

struct Snapshot {
    std::vector<PaperStreamer> strips;
    std::vector<RollRecord> rolls;
    std::vector<EggRecord> eggs;
    // what a step moves on besides the flights: every iteration starts from the same moment
    float levelSeconds, timeBar, spinAngle;
    int32_t lastWholeSecond;
    uint8_t ownerSeesPlayer;
};

const Snapshot& scene()
{
    static Snapshot* snapshot = [] {
        enterRunDirectory();
        resetAllGlobals();
        assignStartingValues();
        buildWorld();
        addPlaceholderStreamer();
        buildScriptedScene();
        auto* s = new Snapshot;
        for (PaperStreamer* p : gStreamers)
            s->strips.push_back(*p);
        s->rolls = gRollsInFlight;
        s->eggs = gEggsInFlight;
        s->levelSeconds = gLevelSeconds;
        s->timeBar = gTimeBar;
        s->spinAngle = gSpinAngle;
        s->lastWholeSecond = gLastWholeSecond;
        s->ownerSeesPlayer = gOwnerSeesPlayer;
        return s;
    }();
    return *snapshot;
}

// back to the snapshot, with no pacing wait ahead and one step owed
void restore(const Snapshot& s)
{
    for (size_t k = 0; k < s.strips.size(); ++k)
        *gStreamers[k] = s.strips[k];
    gRollsInFlight = s.rolls;
    gEggsInFlight = s.eggs;
    gLevelSeconds = s.levelSeconds;
    gTimeBar = s.timeBar;
    gSpinAngle = s.spinAngle;
    gLastWholeSecond = s.lastWholeSecond;
    gOwnerSeesPlayer = s.ownerSeesPlayer;
    gIdleCallStart = -1.0;
    gStepClockLast = -1.0;
}

// the literal step of play (tests/support/literal_step.h, held to stepPlay by the frame loop's
// tests), then what the step of play does around it (the camera) and what the idle call asks
// for (a picture)
void literalIdle()
{
    stepPlayFullScan();
    placeCamera(gWorld);
    updateViewVectors();
    requestRedisplay();
}

template <void (*Idle)()>
void BM_Idle(benchmark::State& state)
{
    const Snapshot& s = scene();
    for (auto _ : state) {
        state.PauseTiming();
        restore(s);
        state.ResumeTiming();
        Idle();
        benchmark::DoNotOptimize(gStreamers.back()->current[0].position);
    }
    state.counters["streamers"] = double(gStreamers.size() - 1);
}

}  // namespace

BENCHMARK_TEMPLATE(BM_Idle, onIdle)->Name("OnIdleScriptedScene/Ours")->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Idle, literalIdle)->Name("OnIdleScriptedScene/Literal")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // the streamers go, as the game's end never lets them
    resetAllGlobals();
    return 0;
}
