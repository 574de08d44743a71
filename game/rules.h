// SPDX-License-Identifier: MIT
// game: the rules of play. Level clock and level end, the turn between stations, the score,
// the plant bonus, the owner's walk and sight, and the right button's rules. No drawing here.
#pragma once
#include <cstdint>

// advances the level clock by one step (ms) and ticks the time bar at every whole level second,
// ending the level when time or ammunition runs out
void updateLevelClock(float stepMs);
// the level is scored and over: what flies stops, and the turn to the next station begins
void endLevel();
// Advance Turn: the level ends at once without a score, and the turn begins
void advanceTurn();
// once per step while turning and not game over
void stepTurn();
int32_t computeScore();
// the score's parts now: the strips' heights less the placeholder's share, and the plant bonus;
// they add up to computeScore()
struct ScoreParts {
    int32_t strips;
    int32_t plants;
};
ScoreParts scoreParts();
void scorePlantStrike(int32_t level);
// the sight rule: does the owner, at walk angle spinAngle, see the player's station at level?
uint8_t ownerSeesPlayerAt(float spinAngle, int32_t level);
// the owner's sight from where she stands now; left as it is while turning or after the game
void updateOwnerSight();
// one step of the owner's walk round the house
void stepOwnerWalk();
// the walk's radius and step as a run starts, the owner not yet seeing the player
void startOwnerWalk();
// right button: pressed = 1 on press, 0 on release
void onThrowButton(int pressed);
// play again: the state of play as a game starts, in the same window and over the same terrain
// and models; nothing is loaded again
void startNewGame();
