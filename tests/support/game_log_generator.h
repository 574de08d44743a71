// SPDX-License-Identifier: MIT
// tests: random but valid input logs, made from a seed, for the replays that must agree across
// builds. A game of one kind is mostly that kind's input, with throws among it so the strips
// have something to do; a mixed game has every kind.
#pragma once
#include <cstdint>
#include <string>

enum class GameLogKind : uint8_t {
    Mixed, Throws, Looks, Weapons, Hiding, Pauses, PlayAgain, Pad, Count
};
constexpr int kGameLogKindCount = int(GameLogKind::Count);
// "mixed", "throws", ...: the kind's name in file names and messages
const char* gameLogKindName(GameLogKind kind);

// the whole text of an input log ("vendettix-input 2", events, the end line) of a game of about
// `steps` steps (at least 600), the same text for the same arguments on every machine
std::string generateGameLog(uint64_t seed, GameLogKind kind, int64_t steps);
