// SPDX-License-Identifier: MIT
// platform: start-up timing for the benchmarks. With VX_STARTUP_TIMING set in the environment
// the game notes the moment each start-up phase ends and, once the first frame is on screen,
// prints them to standard error and exits; without it every call here does nothing.
#pragma once

bool startupTimingRequested();
// the phase that ends now; the first mark is taken when the process reaches main
void markStartupPhase(const char* phase);
// prints one line per phase and the peak resident memory, then ends the process (status 0)
[[noreturn]] void finishStartupTiming();
