// SPDX-License-Identifier: MIT
// board: where the board keeps its games. One SQLite file, or a PostgreSQL database that any
// number of servers and workers share. Every operation is committed before it returns.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct BoardGame {
    int64_t id = 0;
    std::string player;
    std::string status;  // "queued", "verified" or "rejected"
    int64_t score = 0;
    int64_t level = 0;
    int64_t steps = 0;
    std::string reason;  // why a game was rejected; empty otherwise
    std::string ended;   // when the board received the game, UTC, "YYYY-MM-DDTHH:MM:SSZ"
};

// a queued game a worker has taken, and how many times it has been taken, this one included
struct TakenGame {
    int64_t id = 0;
    std::string log;
    int64_t attempts = 0;
};

struct Verdict {
    bool verified = false;
    int64_t score = 0;
    int64_t level = 0;
    int64_t steps = 0;
    std::string reason;
};

class BoardStore {
public:
    virtual ~BoardStore() = default;
    // keeps the game, queued; a log the board already has gives the first game's id instead,
    // with *fresh false
    virtual int64_t submit(const std::string& player, const std::string& log, bool* fresh) = 0;
    virtual std::optional<BoardGame> game(int64_t id) = 0;
    virtual std::optional<std::string> log(int64_t id) = 0;
    // the verified games, best score first (then the earlier, then the lower id)
    virtual std::vector<BoardGame> best(int limit) = 0;
    // one queued game nobody holds (or whose holder's lease ran out), now held by worker for
    // leaseSeconds; no two callers get the same game while a lease runs
    virtual std::optional<TakenGame> take(const std::string& worker, int leaseSeconds) = 0;
    // the verdict on a game this worker holds; false (and nothing written) when the game is
    // no longer held by it
    virtual bool finish(int64_t id, const std::string& worker, const Verdict& verdict) = 0;
    // how many games have this status
    virtual int64_t count(const std::string& status) = 0;
};

// "postgresql://..." (or "postgres://...") opens PostgreSQL, anything else is a SQLite file;
// nullptr with *error when it cannot be opened
std::unique_ptr<BoardStore> openBoardStore(const std::string& database, std::string* error);

// what identifies a log: two independent 64-bit FNV-1a hashes of its text, as 32 hex digits
std::string boardLogKey(const std::string& log);
