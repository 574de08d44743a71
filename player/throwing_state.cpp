// SPDX-License-Identifier: MIT
// player: definitions and start values of the throw state and the records of thrown items.
#include "player/throwing.h"

uint8_t gEggSelected;
uint8_t gCharging;
uint8_t gPowerFalling;
float gThrowPower;
std::vector<RollRecord> gRollsInFlight;
std::vector<EggRecord> gEggsInFlight;

void resetThrowingState()
{
    gEggSelected = 0;
    gCharging = 0;
    gPowerFalling = 0;
    gThrowPower = 0.0f;
    gRollsInFlight.clear();
    gEggsInFlight.clear();
}
