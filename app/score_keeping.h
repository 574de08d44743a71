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
struct FinishedGame;

// the kept game of this rank: its input log, which replays to the step it was kept at, and the
// row as kept in *kept when given; false with the reason in *error
bool loadKeptGame(int32_t rank, InputLog* log, std::string* error, FinishedGame* kept = nullptr);
// whether the kept game's log replays to the steps, score and state it was kept with: a game
// kept by another version of the game may replay to another game. When not, one line in *error
// names what was kept and what the replay reached. The replay runs with no window in a process
// of its own, so this one stays as a fresh start has it. Needs the data directory.
bool keptGameReplaysToItsEnd(int32_t rank, const InputLog& log, const FinishedGame& kept,
                             std::string* error);
void resetScoreKeeping();
