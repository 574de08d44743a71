// SPDX-License-Identifier: MIT
// game: the summary line of a game, the same whether it was played, replayed or run headless.
#include "game/play_summary.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "game/game_state.h"
#include "game/play_step.h"
#include "game/rules.h"
#include "player/throwing.h"
#include "streamer/paper_streamer.h"

namespace {

constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

void hashBytes(uint64_t& h, const void* data, size_t size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        h ^= bytes[i];
        h *= kFnvPrime;
    }
}

void hashFloat(uint64_t& h, float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    hashBytes(h, &bits, sizeof bits);
}

void hashVec(uint64_t& h, const Vec3& v)
{
    hashFloat(h, v.x);
    hashFloat(h, v.y);
    hashFloat(h, v.z);
}

// the placeholder at index 0 is never thrown
size_t stripsThrown()
{
    return gStreamers.empty() ? 0 : gStreamers.size() - 1;
}

}  // namespace

uint64_t playStateHash()
{
    uint64_t h = kFnvOffset;
    for (size_t i = 1; i < gStreamers.size(); ++i)
        for (int r = 0; r < kStreamerRows; ++r)
            for (int c = 0; c < kStreamerColumns; ++c)
                hashVec(h, gStreamers[i]->at(r, c).position);
    for (const RollRecord& roll : gRollsInFlight)
        hashVec(h, roll.position);
    for (const EggRecord& egg : gEggsInFlight)
        hashVec(h, egg.position);
    hashFloat(h, gLevelSeconds);
    int32_t score = computeScore();
    hashBytes(h, &score, sizeof score);
    return h;
}

std::string playSummary()
{
    char line[200];
    std::snprintf(line, sizeof line,
                  "summary: steps=%" PRId64 " level=%d score=%d rolls_left=%d eggs_left=%d "
                  "strips=%zu state=%016" PRIx64,
                  gStepCount, gLevel, computeScore(), gRollsLeft, gEggsLeft, stripsThrown(),
                  playStateHash());
    return line;
}
