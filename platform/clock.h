// SPDX-License-Identifier: MIT
// platform: the game's two clocks, both counted from process start on a monotonic clock.
#pragma once
#include <cstdint>

// milliseconds since process start as an unsigned 32-bit counter that wraps; stands in for the
// system tick counter (kept small so single-precision stamps resolve 1 ms for hours)
uint32_t platformTickCount();

// the counter's value after the given milliseconds since process start: it wraps as an unsigned
// 32-bit value, every 49.7 days
uint32_t tickCountAfter(uint64_t elapsedMs);

// wall-clock milliseconds since process start (never processor time)
int32_t platformProcessClockMs();

// seconds since process start, full precision, for pacing and measuring
double platformSeconds();

// sleep until platformSeconds() reaches the given value; returns at once if it already has
void platformSleepUntil(double seconds);

// tick stamps as the frame loop stores them: the unsigned reading converted to float
float tickToFloat(uint32_t ticks);
