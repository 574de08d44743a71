// SPDX-License-Identifier: MIT
// platform: start-up timing. The stamps are CLOCK_MONOTONIC seconds, the clock a launcher can read
// too, so the time from its exec to each phase can be worked out outside the game.
#include "platform/startup_trace.h"

#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kMaxPhases = 16;

double monotonicSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// resident memory in kB, all of it and the anonymous part (the heap and the driver's buffers,
// without the mapped libraries)
struct Resident {
    long totalKb = 0;
    long anonymousKb = 0;
};

Resident resident()
{
    Resident r;
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return r;
    char line[256];
    long file = 0, shared = 0;
    while (std::fgets(line, sizeof line, f)) {
        std::sscanf(line, "RssAnon: %ld", &r.anonymousKb);
        std::sscanf(line, "RssFile: %ld", &file);
        std::sscanf(line, "RssShmem: %ld", &shared);
    }
    std::fclose(f);
    r.totalKb = r.anonymousKb + file + shared;
    return r;
}

struct Phase {
    const char* name;
    double at;
    Resident memory;
};

Phase sPhases[kMaxPhases];
int sPhaseCount = 0;

}  // namespace

bool startupTimingRequested()
{
    static const bool requested = std::getenv("VX_STARTUP_TIMING") != nullptr;
    return requested;
}

void markStartupPhase(const char* phase)
{
    if (!startupTimingRequested() || sPhaseCount == kMaxPhases)
        return;
    sPhases[sPhaseCount++] = Phase{phase, monotonicSeconds(), resident()};
}

void finishStartupTiming()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    for (int i = 0; i < sPhaseCount; ++i)
        std::fprintf(stderr, "startup-phase %.6f %ld %ld %s\n", sPhases[i].at,
                     sPhases[i].memory.totalKb, sPhases[i].memory.anonymousKb, sPhases[i].name);
    std::fprintf(stderr, "startup-peak-rss-kb %ld\n", usage.ru_maxrss);
    std::fflush(stderr);
    std::_Exit(0);
}
