// SPDX-License-Identifier: MIT
// game: the score table, every finished game kept in an SQLite file with its whole input log,
// so any of them can be watched again. No game state is read here: the shell hands each game in.
//
// Nothing is ever lost: every write is one transaction with a full sync, a file another program
// holds locked is waited on for at most the table's wait and then reported busy (the caller
// tries again later), a damaged file is kept aside and a fresh one started, and a file of a
// newer schema is left as it is (nothing saved to it).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

constexpr const char* kScoreTableName = "scores.db";
constexpr int kScoreTableVersion = 1;
constexpr int kBestShown = 10;
// how long a command (--scores, --replay-score) waits for another program's lock on the table
constexpr int kScoreTableWaitMs = 2000;
// how long the running game waits for a lock: a frame is never held longer; it tries again later
constexpr int kScoreTableFrameWaitMs = 5;

struct FinishedGame {
    int64_t endedAt = 0;       // seconds since the epoch
    int32_t score = 0;
    int32_t level = 0;         // the level reached
    int32_t rollsThrown = 0;
    int32_t eggsThrown = 0;
    int64_t steps = 0;         // the summary line's step count: where the game's replay ends
    int64_t playSteps = 0;     // the game's own length, from its first step to GAME OVER
    std::string stateHash;     // the summary line's state=
    std::string inputLog;      // the input log's text, from the session's first step
};

struct RankedGame {
    int64_t id = 0;
    int32_t rank = 0;  // 1 is the best
    FinishedGame game;
};

enum class ScoreTableState {
    Closed,        // not opened, or no file yet (read only)
    Open,
    NewerVersion,  // written by a newer version: read nothing, write nothing
    Unavailable,   // the folder or the file cannot be made or opened
    Busy,          // another program holds the file locked: nothing read or written, try again
};

class ScoreTable {
public:
    // waitMs: how long any one read or write waits for another program's lock
    explicit ScoreTable(int waitMs = kScoreTableWaitMs) : waitMs_(waitMs) {}
    ~ScoreTable();
    ScoreTable(const ScoreTable&) = delete;
    ScoreTable& operator=(const ScoreTable&) = delete;

    // opens the table at path; forWriting makes it (and its folder's last level must exist)
    // when missing, else a missing file is Closed and an empty list. A damaged file is moved
    // aside and a fresh one started; a file another program holds locked past the wait is Busy.
    // Anything the player should hear of is one line in *note (empty when all is well).
    ScoreTableState open(const std::string& path, bool forWriting, std::string* note);
    ScoreTableState state() const { return state_; }
    const std::string& path() const { return path_; }

    // one row, one transaction; its id in *id. False with the reason in *error, and busy() true
    // when it was only another program's lock (nothing written; the same save may be tried again)
    bool save(const FinishedGame& game, int64_t* id, std::string* error);
    // the same game, played on at its GAME OVER screen: its longer log and its later summary
    bool update(int64_t id, const FinishedGame& game, std::string* error);
    // where the game stands among all kept (ties go to the earlier game), and how many there are
    bool rankOf(int64_t id, int32_t* rank, int32_t* count);
    // the last save or update failed on another program's lock, not on a fault
    bool busy() const { return busy_; }
    // the best games, best first, without their input logs (left empty: a list reads none)
    std::vector<RankedGame> best(int32_t limit);
    bool gameAtRank(int32_t rank, RankedGame* out);

    void close();

private:
    int prepareFresh(std::string* error);
    std::string lastError() const;

    sqlite3* db_ = nullptr;
    ScoreTableState state_ = ScoreTableState::Closed;
    std::string path_;
    int waitMs_;
    bool busy_ = false;
};

// "Rank N of M", or "New best score!" for the best of more than one game or the first game
std::string rankLine(int32_t rank, int32_t count);
// one line of --scores: rank, score, level reached, date and time (local), length m:ss
std::string scoreLine(const RankedGame& row);
