// SPDX-License-Identifier: MIT
// board: the store in PostgreSQL, which any number of servers and workers share. Each caller
// borrows a connection of its own; a queued game is taken with FOR UPDATE SKIP LOCKED, so two
// workers never take the same one.
#include <memory>
#include <mutex>
#include <pqxx/pqxx>
#include <vector>

#include "board/store_backends.h"

namespace {

const char* const kSchema = R"(
SELECT pg_advisory_xact_lock(7391062);
CREATE TABLE IF NOT EXISTS games (
    id BIGSERIAL PRIMARY KEY,
    player TEXT NOT NULL,
    log TEXT NOT NULL,
    log_key TEXT NOT NULL UNIQUE,
    status TEXT NOT NULL DEFAULT 'queued',
    score BIGINT NOT NULL DEFAULT 0,
    level BIGINT NOT NULL DEFAULT 0,
    steps BIGINT NOT NULL DEFAULT 0,
    reason TEXT NOT NULL DEFAULT '',
    submitted TEXT NOT NULL
        DEFAULT to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD"T"HH24:MI:SS"Z"'),
    taker TEXT,
    lease_until TIMESTAMPTZ,
    attempts INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS games_queue ON games (id) WHERE status = 'queued';
CREATE INDEX IF NOT EXISTS games_rank ON games (score DESC, submitted, id)
    WHERE status = 'verified';
)";

const char* const kGameColumns =
    "id, player, status, score, level, steps, reason, submitted FROM games ";

BoardGame readGame(const pqxx::row& row)
{
    BoardGame game;
    game.id = row[0].as<int64_t>();
    game.player = row[1].as<std::string>();
    game.status = row[2].as<std::string>();
    game.score = row[3].as<int64_t>();
    game.level = row[4].as<int64_t>();
    game.steps = row[5].as<int64_t>();
    game.reason = row[6].as<std::string>();
    game.ended = row[7].as<std::string>();
    return game;
}

class PostgresStore : public BoardStore {
public:
    explicit PostgresStore(std::string url) : url_(std::move(url)) {}

    // a connection of the pool for one operation; a connection that failed is not returned
    class Borrowed {
    public:
        explicit Borrowed(PostgresStore& store) : store_(store)
        {
            {
                std::lock_guard<std::mutex> lock(store.mutex_);
                if (!store.idle_.empty()) {
                    connection_ = std::move(store.idle_.back());
                    store.idle_.pop_back();
                }
            }
            if (!connection_ || !connection_->is_open())
                connection_ = std::make_unique<pqxx::connection>(store.url_);
        }
        ~Borrowed()
        {
            if (!done_)
                return;
            std::lock_guard<std::mutex> lock(store_.mutex_);
            store_.idle_.push_back(std::move(connection_));
        }
        pqxx::connection& operator*() { return *connection_; }
        // the operation went through: the connection may serve the next one
        void done() { done_ = true; }

    private:
        PostgresStore& store_;
        std::unique_ptr<pqxx::connection> connection_;
        bool done_ = false;
    };

    int64_t submit(const std::string& player, const std::string& log, bool* fresh) override
    {
        Borrowed connection(*this);
        const std::string key = boardLogKey(log);
        pqxx::work work(*connection);
        pqxx::result first = work.exec_params("SELECT id FROM games WHERE log_key = $1", key);
        int64_t id = 0;
        *fresh = false;
        if (!first.empty()) {
            id = first[0][0].as<int64_t>();
        } else {
            pqxx::result inserted = work.exec_params(
                "INSERT INTO games (player, log, log_key) VALUES ($1, $2, $3) "
                "ON CONFLICT (log_key) DO NOTHING RETURNING id",
                player, log, key);
            if (!inserted.empty()) {
                *fresh = true;
                id = inserted[0][0].as<int64_t>();
            } else {
                // another server kept the same log a moment ago
                id = work.exec_params("SELECT id FROM games WHERE log_key = $1", key)[0][0]
                         .as<int64_t>();
            }
        }
        work.commit();
        connection.done();
        return id;
    }

    std::optional<BoardGame> game(int64_t id) override
    {
        Borrowed connection(*this);
        pqxx::read_transaction work(*connection);
        pqxx::result rows =
            work.exec_params(std::string("SELECT ") + kGameColumns + "WHERE id = $1", id);
        connection.done();
        if (rows.empty())
            return std::nullopt;
        return readGame(rows[0]);
    }

    std::optional<std::string> log(int64_t id) override
    {
        Borrowed connection(*this);
        pqxx::read_transaction work(*connection);
        pqxx::result rows = work.exec_params("SELECT log FROM games WHERE id = $1", id);
        connection.done();
        if (rows.empty())
            return std::nullopt;
        return rows[0][0].as<std::string>();
    }

    std::vector<BoardGame> best(int limit) override
    {
        Borrowed connection(*this);
        pqxx::read_transaction work(*connection);
        pqxx::result rows = work.exec_params(
            std::string("SELECT ") + kGameColumns +
                "WHERE status = 'verified' ORDER BY score DESC, submitted, id LIMIT $1",
            limit);
        connection.done();
        std::vector<BoardGame> games;
        for (const pqxx::row& row : rows)
            games.push_back(readGame(row));
        return games;
    }

    std::optional<TakenGame> take(const std::string& worker, int leaseSeconds) override
    {
        Borrowed connection(*this);
        pqxx::work work(*connection);
        pqxx::result rows = work.exec_params(
            "UPDATE games SET taker = $1, attempts = attempts + 1, "
            "lease_until = now() + make_interval(secs => $2) WHERE id = (SELECT id FROM games "
            "WHERE status = 'queued' AND (lease_until IS NULL OR lease_until < now()) "
            "ORDER BY id LIMIT 1 FOR UPDATE SKIP LOCKED) RETURNING id, log, attempts",
            worker, leaseSeconds);
        work.commit();
        connection.done();
        if (rows.empty())
            return std::nullopt;
        return TakenGame{rows[0][0].as<int64_t>(), rows[0][1].as<std::string>(),
                         rows[0][2].as<int64_t>()};
    }

    bool finish(int64_t id, const std::string& worker, const Verdict& verdict) override
    {
        Borrowed connection(*this);
        pqxx::work work(*connection);
        pqxx::result rows = work.exec_params(
            "UPDATE games SET status = $1, score = $2, level = $3, steps = $4, reason = $5, "
            "taker = NULL, lease_until = NULL WHERE id = $6 AND taker = $7 AND status = 'queued'",
            std::string(verdict.verified ? "verified" : "rejected"), verdict.score, verdict.level,
            verdict.steps, verdict.reason, id, worker);
        work.commit();
        connection.done();
        return rows.affected_rows() == 1;
    }

    int64_t count(const std::string& status) override
    {
        Borrowed connection(*this);
        pqxx::read_transaction work(*connection);
        pqxx::result rows =
            work.exec_params("SELECT count(*) FROM games WHERE status = $1", status);
        connection.done();
        return rows[0][0].as<int64_t>();
    }

private:
    std::string url_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<pqxx::connection>> idle_;
};

}  // namespace

std::unique_ptr<BoardStore> openPostgresStore(const std::string& url, std::string* error)
{
    try {
        pqxx::connection connection(url);
        pqxx::work work(connection);
        work.exec(kSchema);
        work.commit();
    } catch (const std::exception& e) {
        *error = e.what();
        return nullptr;
    }
    return std::make_unique<PostgresStore>(url);
}
