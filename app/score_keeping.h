// SPDX-License-Identifier: MIT
// app: the player's score table in use: each live game that reaches GAME OVER is kept with its
// input log, its rank shown under GAME OVER; --scores lists the best, --replay-score plays one
// back. Every problem with the player's files is one line on standard error, and play goes on.
#pragma once
#include <cstdint>
#include <string>

#include "game/input_log.h"

// the table's path in the player's data folder
std::string scoreTablePath();
// a live game keeps its scores from here on (the folder made, the table opened)
void startKeepingScores();
// after each step of a live game: GAME OVER keeps the game, a new game starts another
void noteGameProgress();
// at the session's end: a kept game still on its GAME OVER screen is kept with its longer log
// and the later summary, so its replay ends where this session's summary line was printed
void finishKeepingScores();
// --scores: the table on standard output; the exit status
int printBestScores();
// the kept game of this rank: its input log, which replays to the step it was kept at; false
// with the reason in *error
bool loadKeptGame(int32_t rank, InputLog* log, std::string* error);
void resetScoreKeeping();
