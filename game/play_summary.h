// SPDX-License-Identifier: MIT
// game: the one line every mode prints when the game ends, and the hash of the state in it.
#pragma once
#include <cstdint>
#include <string>

// FNV-1a over the bits of every thrown strip's particle positions, every roll's and egg's
// position, the level clock and the score
uint64_t playStateHash();
// "summary: steps=N level=L score=S rolls_left=R eggs_left=E strips=K state=H", no newline
std::string playSummary();
