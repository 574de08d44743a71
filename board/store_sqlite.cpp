// SPDX-License-Identifier: MIT
// board: the store in one SQLite file. One connection, one caller at a time; the file is in
// WAL mode with full syncs, so a game is on the disk when submit returns, and several
// processes (a server and lone workers) can share it.
#include <sqlite3.h>

#include <mutex>
#include <stdexcept>

#include "board/store_backends.h"

namespace {

const char* const kSchema = R"(
CREATE TABLE IF NOT EXISTS games (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    player TEXT NOT NULL,
    log TEXT NOT NULL,
    log_key TEXT NOT NULL UNIQUE,
    status TEXT NOT NULL DEFAULT 'queued',
    score INTEGER NOT NULL DEFAULT 0,
    level INTEGER NOT NULL DEFAULT 0,
    steps INTEGER NOT NULL DEFAULT 0,
    reason TEXT NOT NULL DEFAULT '',
    submitted TEXT NOT NULL,
    taker TEXT,
    lease_until INTEGER,
    attempts INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS games_queue ON games (status, id);
CREATE INDEX IF NOT EXISTS games_rank ON games (status, score DESC, id);
)";

class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int i, const std::string& text)
    {
        sqlite3_bind_text(stmt_, i, text.data(), int(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bind(int i, int64_t value)
    {
        sqlite3_bind_int64(stmt_, i, value);
        return *this;
    }
    // true while there is a row
    bool step()
    {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw std::runtime_error(sqlite3_errmsg(db_));
    }
    int64_t integer(int column) { return sqlite3_column_int64(stmt_, column); }
    std::string text(int column)
    {
        const unsigned char* data = sqlite3_column_text(stmt_, column);
        return data ? std::string(reinterpret_cast<const char*>(data),
                                  size_t(sqlite3_column_bytes(stmt_, column)))
                    : std::string();
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

const char* const kGameColumns =
    "id, player, status, score, level, steps, reason, submitted FROM games ";

BoardGame readGame(Statement& row)
{
    BoardGame game;
    game.id = row.integer(0);
    game.player = row.text(1);
    game.status = row.text(2);
    game.score = row.integer(3);
    game.level = row.integer(4);
    game.steps = row.integer(5);
    game.reason = row.text(6);
    game.ended = row.text(7);
    return game;
}

class SqliteStore : public BoardStore {
public:
    explicit SqliteStore(sqlite3* db) : db_(db) {}
    ~SqliteStore() override { sqlite3_close(db_); }

    int64_t submit(const std::string& player, const std::string& log, bool* fresh) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const std::string key = boardLogKey(log);
        // the first game with this log, if the store has it (most resent logs end here)
        {
            Statement first(db_, "SELECT id FROM games WHERE log_key = ?");
            first.bind(1, key);
            if (first.step()) {
                *fresh = false;
                return first.integer(0);
            }
        }
        Statement insert(db_,
                         "INSERT INTO games (player, log, log_key, submitted) VALUES "
                         "(?, ?, ?, strftime('%Y-%m-%dT%H:%M:%SZ', 'now')) "
                         "ON CONFLICT (log_key) DO NOTHING RETURNING id");
        insert.bind(1, player).bind(2, log).bind(3, key);
        if (insert.step()) {
            *fresh = true;
            return insert.integer(0);
        }
        *fresh = false;
        Statement first(db_, "SELECT id FROM games WHERE log_key = ?");
        first.bind(1, key);
        if (!first.step())
            throw std::runtime_error("a log the store refused is not in it");
        return first.integer(0);
    }

    std::optional<BoardGame> game(int64_t id) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Statement select(db_, (std::string("SELECT ") + kGameColumns + "WHERE id = ?").c_str());
        select.bind(1, id);
        if (!select.step())
            return std::nullopt;
        return readGame(select);
    }

    std::optional<std::string> log(int64_t id) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Statement select(db_, "SELECT log FROM games WHERE id = ?");
        select.bind(1, id);
        if (!select.step())
            return std::nullopt;
        return select.text(0);
    }

    std::vector<BoardGame> best(int limit) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Statement select(db_, (std::string("SELECT ") + kGameColumns +
                               "WHERE status = 'verified' ORDER BY score DESC, submitted, id "
                               "LIMIT ?")
                                  .c_str());
        select.bind(1, int64_t(limit));
        std::vector<BoardGame> games;
        while (select.step())
            games.push_back(readGame(select));
        return games;
    }

    std::optional<TakenGame> take(const std::string& worker, int leaseSeconds) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // one statement: SQLite runs one writer at a time, so no other process takes it between
        Statement update(db_,
                         "UPDATE games SET taker = ?, attempts = attempts + 1, "
                         "lease_until = unixepoch() + ? WHERE id = (SELECT id FROM games "
                         "WHERE status = 'queued' AND (lease_until IS NULL OR lease_until < "
                         "unixepoch()) ORDER BY id LIMIT 1) RETURNING id, log, attempts");
        update.bind(1, worker).bind(2, int64_t(leaseSeconds));
        if (!update.step())
            return std::nullopt;
        TakenGame taken{update.integer(0), update.text(1), update.integer(2)};
        // the statement is stepped to its end so the write is committed
        while (update.step()) {
        }
        return taken;
    }

    bool finish(int64_t id, const std::string& worker, const Verdict& verdict) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Statement update(db_,
                         "UPDATE games SET status = ?, score = ?, level = ?, steps = ?, "
                         "reason = ?, taker = NULL, lease_until = NULL "
                         "WHERE id = ? AND taker = ? AND status = 'queued'");
        update.bind(1, std::string(verdict.verified ? "verified" : "rejected"))
            .bind(2, verdict.score)
            .bind(3, verdict.level)
            .bind(4, verdict.steps)
            .bind(5, verdict.reason)
            .bind(6, id)
            .bind(7, worker);
        update.step();
        return sqlite3_changes(db_) == 1;
    }

    int64_t count(const std::string& status) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Statement select(db_, "SELECT count(*) FROM games WHERE status = ?");
        select.bind(1, status);
        select.step();
        return select.integer(0);
    }

private:
    std::mutex mutex_;
    sqlite3* db_;
};

}  // namespace

std::unique_ptr<BoardStore> openSqliteStore(const std::string& path, std::string* error)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        *error = path + ": " + (db ? sqlite3_errmsg(db) : "cannot open");
        sqlite3_close(db);
        return nullptr;
    }
    // other processes' writes wait their turn instead of failing
    sqlite3_busy_timeout(db, 30000);
    char* message = nullptr;
    const std::string setup = std::string("PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL;") +
                              kSchema;
    if (sqlite3_exec(db, setup.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        *error = path + ": " + (message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
        sqlite3_close(db);
        return nullptr;
    }
    return std::make_unique<SqliteStore>(db);
}
