// SPDX-License-Identifier: MIT
// platform: both clocks read one steady clock, counted from the moment the process started.
// Processor time (C clock()) would count every thread of the GL driver too.
#include "platform/clock.h"

#include <chrono>
#include <thread>

using SteadyClock = std::chrono::steady_clock;

static SteadyClock::time_point processStart()
{
    static const SteadyClock::time_point start = SteadyClock::now();
    return start;
}

// take the start stamp while the process loads, not at the first reading
static const SteadyClock::time_point sStartTaken = processStart();

static SteadyClock::duration sinceStart()
{
    return SteadyClock::now() - processStart();
}

uint32_t tickCountAfter(uint64_t elapsedMs)
{
    return uint32_t(elapsedMs & 0xffffffffu);
}

uint32_t platformTickCount()
{
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart()).count();
    return tickCountAfter(uint64_t(ms));
}

int32_t platformProcessClockMs()
{
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart()).count();
    return int32_t(ms);
}

double platformSeconds()
{
    return std::chrono::duration<double>(sinceStart()).count();
}

void platformSleepUntil(double seconds)
{
#ifdef __EMSCRIPTEN__
    // a page is never put to sleep: a wait there would only spin and hold up the browser
    (void)seconds;
#else
    auto target = processStart() + std::chrono::duration_cast<SteadyClock::duration>(
                                       std::chrono::duration<double>(seconds));
    if (target > SteadyClock::now())
        std::this_thread::sleep_until(target);
#endif
}

float tickToFloat(uint32_t ticks)
{
    // read as unsigned: a reading past 2^31 stays positive
    return float(double(ticks));
}
