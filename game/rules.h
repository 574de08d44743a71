// game: the rules of play. Level clock and level end, the turn between stations, the score,
// the plant bonus and the owner's sight. No drawing here.
#pragma once
#include <cstdint>

// once per frame after the overlay: advances the level clock by the frame interval and ticks
// the time bar at every whole level second, ending the level when time or ammunition runs out
void updateLevelClock();
void endLevel();
// once per idle call while turning and not game over
void stepTurn();
int32_t computeScore();
void scorePlantStrike(int32_t level);
// the sight rule: does the owner, at walk angle spinAngle, see the player's station at level?
uint8_t ownerSeesPlayerAt(float spinAngle, int32_t level);
