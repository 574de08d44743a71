// game: one step of play, everything the frame update advances, in its order.
#pragma once
#include <cstdint>

// the step's times, as the shell's clocks give them
struct StepTimes {
    int32_t frameIntervalMs;  // wall time between the last two frames, for the level clock
    float flightSeconds;      // the flights' step
    float tickMs;             // the step aside, the walk back and the streamers
};

// the owner's sight and the level clock (where the last frame left them), the flights, the
// turn, the power bar, the walk back from a lean, the owner's walk and the streamers; nothing
// while paused
void stepPlay(const StepTimes& times);
