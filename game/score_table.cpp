// SPDX-License-Identifier: MIT
// game: the score table in SQLite (see score_table.h).
#include "game/score_table.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <ctime>

#include "game/play_step.h"
#include "platform/user_files.h"

namespace {

constexpr int64_t kStepsPerSecond = int64_t(1.0 / kStepSeconds + 0.5);

const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS games ("
    " id INTEGER PRIMARY KEY,"
    " ended_at INTEGER NOT NULL,"
    " score INTEGER NOT NULL,"
    " level INTEGER NOT NULL,"
    " rolls_thrown INTEGER NOT NULL,"
    " eggs_thrown INTEGER NOT NULL,"
    " steps INTEGER NOT NULL,"
    " play_steps INTEGER NOT NULL,"
    " state_hash TEXT NOT NULL,"
    " input_log TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS games_by_score ON games (score DESC, id);"
    "PRAGMA user_version = 1;";

const char* const kColumns =
    "id, ended_at, score, level, rolls_thrown, eggs_thrown, steps, play_steps, state_hash, "
    "input_log";
// a list of games leaves their input logs unread: one can be megabytes
const char* const kListColumns =
    "id, ended_at, score, level, rolls_thrown, eggs_thrown, steps, play_steps, state_hash, NULL";

// the best first; of two equal scores the earlier game keeps the higher place
const char* const kOrder = " ORDER BY score DESC, id ASC";

bool fileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool isDamage(int code)
{
    code &= 0xff;
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

// another program's lock, held past our wait
bool isBusy(int code)
{
    code &= 0xff;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

// a statement that finalizes itself
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
            stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt* operator*() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

void bindGame(sqlite3_stmt* stmt, const FinishedGame& g)
{
    sqlite3_bind_int64(stmt, 1, g.endedAt);
    sqlite3_bind_int(stmt, 2, g.score);
    sqlite3_bind_int(stmt, 3, g.level);
    sqlite3_bind_int(stmt, 4, g.rollsThrown);
    sqlite3_bind_int(stmt, 5, g.eggsThrown);
    sqlite3_bind_int64(stmt, 6, g.steps);
    sqlite3_bind_int64(stmt, 7, g.playSteps);
    sqlite3_bind_text(stmt, 8, g.stateHash.c_str(), int(g.stateHash.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 9, g.inputLog.c_str(), int(g.inputLog.size()), SQLITE_TRANSIENT);
}

std::string textColumn(sqlite3_stmt* stmt, int column)
{
    const unsigned char* text = sqlite3_column_text(stmt, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              size_t(sqlite3_column_bytes(stmt, column)))
                : std::string();
}

RankedGame readRow(sqlite3_stmt* stmt, int32_t rank)
{
    RankedGame row;
    row.id = sqlite3_column_int64(stmt, 0);
    row.rank = rank;
    FinishedGame& g = row.game;
    g.endedAt = sqlite3_column_int64(stmt, 1);
    g.score = sqlite3_column_int(stmt, 2);
    g.level = sqlite3_column_int(stmt, 3);
    g.rollsThrown = sqlite3_column_int(stmt, 4);
    g.eggsThrown = sqlite3_column_int(stmt, 5);
    g.steps = sqlite3_column_int64(stmt, 6);
    g.playSteps = sqlite3_column_int64(stmt, 7);
    g.stateHash = textColumn(stmt, 8);
    g.inputLog = textColumn(stmt, 9);
    return row;
}

}  // namespace

ScoreTable::~ScoreTable()
{
    close();
}

void ScoreTable::close()
{
    sqlite3_close(db_);
    db_ = nullptr;
    state_ = ScoreTableState::Closed;
}

std::string ScoreTable::lastError() const
{
    return db_ ? sqlite3_errmsg(db_) : "out of memory";
}

ScoreTableState ScoreTable::open(const std::string& path, bool forWriting, std::string* note)
{
    close();
    note->clear();
    path_ = path;
    if (!forWriting && !fileExists(path))
        return state_;

    // a damaged file is moved aside once; a second fault in the fresh file is not damage of
    // the player's games but a place we cannot use
    for (int attempt = 0; attempt < 2; ++attempt) {
        int flags = SQLITE_OPEN_READWRITE | (forWriting ? SQLITE_OPEN_CREATE : 0);
        int code = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
        if (code == SQLITE_OK)
            code = sqlite3_busy_timeout(db_, waitMs_);
        if (code != SQLITE_OK) {
            *note = "vendettix: cannot open the score table " + path + ": " + lastError();
            sqlite3_close(db_);
            db_ = nullptr;
            return state_ = ScoreTableState::Unavailable;
        }
        std::string damage;
        code = sqlite3_exec(db_, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
        int32_t version = 0;
        if (code == SQLITE_OK) {
            Statement stmt(db_, "PRAGMA user_version");
            code = stmt ? sqlite3_step(*stmt) : sqlite3_errcode(db_);
            if (code == SQLITE_ROW) {
                version = sqlite3_column_int(*stmt, 0);
                code = SQLITE_OK;
            }
        }
        if (code == SQLITE_OK && version > kScoreTableVersion) {
            *note = "vendettix: the score table " + path + " was written by a newer version (" +
                    std::to_string(version) + "); this game's scores will not be saved";
            sqlite3_close(db_);
            db_ = nullptr;
            return state_ = ScoreTableState::NewerVersion;
        }
        // every page and record read once, the indexes not matched against the rows: what a
        // torn or overwritten file shows, in the time and memory of one pass over the file
        if (code == SQLITE_OK) {
            Statement stmt(db_, "PRAGMA quick_check");
            code = stmt ? sqlite3_step(*stmt) : sqlite3_errcode(db_);
            if (code == SQLITE_ROW) {
                std::string verdict = textColumn(*stmt, 0);
                code = SQLITE_OK;
                // the first fault found is enough to name it
                if (verdict != "ok")
                    damage = "quick check: " + verdict.substr(0, verdict.find('\n'));
            }
        }
        if (isBusy(code)) {
            *note = "vendettix: the score table " + path + " is locked by another program";
            close();
            return state_ = ScoreTableState::Busy;
        }
        if (isDamage(code))
            damage = sqlite3_errmsg(db_);
        if (damage.empty() && code == SQLITE_OK) {
            std::string error;
            if (forWriting && sqlite3_db_readonly(db_, "main") == 1) {
                *note = "vendettix: cannot write the score table " + path + ": read-only";
                close();
                return state_ = ScoreTableState::Unavailable;
            }
            code = version == 0 ? prepareFresh(&error) : SQLITE_OK;
            if (code != SQLITE_OK) {
                *note = "vendettix: cannot start the score table " + path + ": " + error;
                close();
                return state_ = isBusy(code) ? ScoreTableState::Busy : ScoreTableState::Unavailable;
            }
            return state_ = ScoreTableState::Open;
        }
        sqlite3_close(db_);
        db_ = nullptr;
        if (damage.empty() || attempt > 0) {
            *note = "vendettix: cannot read the score table " + path + ": " +
                    (damage.empty() ? sqlite3_errstr(code) : damage);
            return state_ = ScoreTableState::Unavailable;
        }
        // the journal belongs to the damaged file: a fresh table must never play it back
        std::string movedTo, error, journalMovedTo;
        if (fileExists(path + "-journal") &&
            !keepDamagedFile(path + "-journal", journalMovedTo, error)) {
            *note = "vendettix: the score table " + path + " is damaged (" + damage +
                    ") and cannot be moved aside: " + error;
            return state_ = ScoreTableState::Unavailable;
        }
        if (!keepDamagedFile(path, movedTo, error)) {
            *note = "vendettix: the score table " + path + " is damaged (" + damage +
                    ") and cannot be moved aside: " + error;
            return state_ = ScoreTableState::Unavailable;
        }
        *note = "vendettix: the score table " + path + " is damaged (" + damage + "); kept as " +
                movedTo + ", a fresh table started";
        if (!forWriting)
            return state_ = ScoreTableState::Closed;
    }
    return state_;
}

// the schema, once: a second game starting at the same moment finds it made
int ScoreTable::prepareFresh(std::string* error)
{
    char* message = nullptr;
    std::string sql = std::string("BEGIN IMMEDIATE;") + kSchema + "COMMIT;";
    const int code = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    if (code == SQLITE_OK)
        return code;
    *error = message ? message : lastError();
    sqlite3_free(message);
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return code;
}

bool ScoreTable::save(const FinishedGame& game, int64_t* id, std::string* error)
{
    busy_ = false;
    if (state_ != ScoreTableState::Open) {
        *error = "the score table is not open";
        return false;
    }
    bool ok = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (ok) {
        Statement insert(db_, "INSERT INTO games (ended_at, score, level, rolls_thrown, "
                              "eggs_thrown, steps, play_steps, state_hash, input_log) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        ok = bool(insert);
        if (ok) {
            bindGame(*insert, game);
            ok = sqlite3_step(*insert) == SQLITE_DONE;
        }
    }
    if (ok) {
        *id = sqlite3_last_insert_rowid(db_);
        ok = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    if (!ok) {
        busy_ = isBusy(sqlite3_errcode(db_));
        *error = lastError();
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    return ok;
}

bool ScoreTable::update(int64_t id, const FinishedGame& game, std::string* error)
{
    busy_ = false;
    if (state_ != ScoreTableState::Open) {
        *error = "the score table is not open";
        return false;
    }
    // one statement is one transaction of its own
    Statement change(db_, "UPDATE games SET ended_at = ?, score = ?, level = ?, rolls_thrown = ?, "
                          "eggs_thrown = ?, steps = ?, play_steps = ?, state_hash = ?, "
                          "input_log = ? WHERE id = ?");
    bool ok = bool(change);
    if (ok) {
        bindGame(*change, game);
        sqlite3_bind_int64(*change, 10, id);
        ok = sqlite3_step(*change) == SQLITE_DONE && sqlite3_changes(db_) == 1;
    }
    if (!ok) {
        busy_ = isBusy(sqlite3_errcode(db_));
        *error = sqlite3_errcode(db_) == SQLITE_OK ? "no such game" : lastError();
    }
    return ok;
}

bool ScoreTable::rankOf(int64_t id, int32_t* rank, int32_t* count)
{
    if (state_ != ScoreTableState::Open)
        return false;
    Statement query(db_, "SELECT (SELECT COUNT(*) FROM games AS o WHERE o.score > g.score OR "
                         "(o.score = g.score AND o.id < g.id)) + 1, (SELECT COUNT(*) FROM games) "
                         "FROM games AS g WHERE g.id = ?");
    if (!query)
        return false;
    sqlite3_bind_int64(*query, 1, id);
    if (sqlite3_step(*query) != SQLITE_ROW)
        return false;
    *rank = sqlite3_column_int(*query, 0);
    *count = sqlite3_column_int(*query, 1);
    return true;
}

std::vector<RankedGame> ScoreTable::best(int32_t limit)
{
    std::vector<RankedGame> rows;
    if (state_ != ScoreTableState::Open)
        return rows;
    Statement query(db_, std::string("SELECT ") + kListColumns + " FROM games" + kOrder +
                             " LIMIT ?");
    if (!query)
        return rows;
    sqlite3_bind_int(*query, 1, limit);
    while (sqlite3_step(*query) == SQLITE_ROW)
        rows.push_back(readRow(*query, int32_t(rows.size()) + 1));
    return rows;
}

bool ScoreTable::gameAtRank(int32_t rank, RankedGame* out)
{
    if (state_ != ScoreTableState::Open || rank < 1)
        return false;
    Statement query(db_, std::string("SELECT ") + kColumns + " FROM games" + kOrder +
                             " LIMIT 1 OFFSET ?");
    if (!query)
        return false;
    sqlite3_bind_int64(*query, 1, int64_t(rank) - 1);
    if (sqlite3_step(*query) != SQLITE_ROW)
        return false;
    *out = readRow(*query, rank);
    return true;
}

std::string rankLine(int32_t rank, int32_t count)
{
    if (rank == 1)
        return "New best score!";
    return "Rank " + std::to_string(rank) + " of " + std::to_string(count);
}

std::string scoreLine(const RankedGame& row)
{
    char when[32] = "?";
    std::time_t ended = std::time_t(row.game.endedAt);
    std::tm local{};
    if (localtime_r(&ended, &local))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", &local);
    const int64_t seconds = row.game.playSteps / kStepsPerSecond;
    char line[160];
    std::snprintf(line, sizeof line, "%4d %8d %6d  %s %5" PRId64 ":%02" PRId64, row.rank,
                  row.game.score, row.game.level, when, seconds / 60, seconds % 60);
    return line;
}
