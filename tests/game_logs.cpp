// SPDX-License-Identifier: MIT
// game_logs: writes generated games (tests/support/game_log_generator.h) for the replays that
// must agree across builds.
//   game_logs DIR SEED COUNT [STEPS]   COUNT games, every kind in turn, DIR/game-<n>-<kind>.replay
//   game_logs DIR SEED kinds [STEPS]   one game of each kind
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/game_log_generator.h"

int main(int argc, char** argv)
{
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: game_logs DIR SEED COUNT|kinds [STEPS]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const uint64_t seed = std::strtoull(argv[2], nullptr, 10);
    const bool eachKind = std::string(argv[3]) == "kinds";
    const long count = eachKind ? kGameLogKindCount : std::strtol(argv[3], nullptr, 10);
    const long steps = argc == 5 ? std::strtol(argv[4], nullptr, 10) : 0;
    for (long n = 0; n < count; ++n) {
        const GameLogKind kind = GameLogKind(n % kGameLogKindCount);
        // without STEPS, a game's length is its own: from a few levels to a whole game and more
        const int64_t length = steps > 0 ? steps : 900 + int64_t((seed + uint64_t(n) * 7919) % 3600);
        char name[64];
        std::snprintf(name, sizeof name, "/game-%03ld-%s.replay", n, gameLogKindName(kind));
        std::ofstream out(dir + name, std::ios::binary);
        out << generateGameLog(seed + uint64_t(n), kind, length);
        if (!out.flush()) {
            std::fprintf(stderr, "game_logs: cannot write %s%s\n", dir.c_str(), name);
            return 1;
        }
    }
    return 0;
}
