// SPDX-License-Identifier: MIT
// The score board's store: every operation, as a table of cases run against SQLite and
// against a PostgreSQL server of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <memory>
#include <pqxx/pqxx>

#include "board/store.h"
#include "tests/board/board_fixture.h"

namespace {

Verdict verified(int64_t score)
{
    Verdict verdict;
    verdict.verified = true;
    verdict.score = score;
    verdict.level = 5;
    verdict.steps = 1000 + score;
    return verdict;
}

struct StoreCase {
    const char* name;
    std::function<void(BoardStore&)> run;
};

const StoreCase kCases[] = {
    {"a resent log answers with the first game's id",
     [](BoardStore& store) {
         bool fresh = false;
         const int64_t first = store.submit("Ann", "vendettix-input 2\n0 end\n", &fresh);
         EXPECT_TRUE(fresh);
         const int64_t again = store.submit("Bob", "vendettix-input 2\n0 end\n", &fresh);
         EXPECT_FALSE(fresh);
         EXPECT_EQ(again, first);
         const int64_t other = store.submit("Ann", "vendettix-input 2\n1 end\n", &fresh);
         EXPECT_TRUE(fresh);
         EXPECT_NE(other, first);
         EXPECT_EQ(store.game(first)->player, "Ann");
         EXPECT_EQ(store.count("queued"), 2);
     }},
    {"a game reads back as it was sent, queued",
     [](BoardStore& store) {
         const std::string log = std::string("vendettix-input 2\n# \xc3\xa9t\xc3\xa9\t'\"\\\n0 end\n");
         bool fresh = false;
         const int64_t id = store.submit("O'Neil-2.x", log, &fresh);
         const std::optional<BoardGame> game = store.game(id);
         ASSERT_TRUE(game);
         EXPECT_EQ(game->id, id);
         EXPECT_EQ(game->player, "O'Neil-2.x");
         EXPECT_EQ(game->status, "queued");
         EXPECT_EQ(game->ended.size(), 20u) << game->ended;
         EXPECT_EQ(store.log(id), log);
         EXPECT_FALSE(store.game(id + 1));
         EXPECT_FALSE(store.log(id + 1));
     }},
    {"each queued game is taken once, oldest first, while its lease runs",
     [](BoardStore& store) {
         bool fresh = false;
         const int64_t a = store.submit("A", "a\n", &fresh);
         const int64_t b = store.submit("B", "b\n", &fresh);
         const std::optional<TakenGame> first = store.take("w1", 60);
         const std::optional<TakenGame> second = store.take("w2", 60);
         ASSERT_TRUE(first && second);
         EXPECT_EQ(first->id, a);
         EXPECT_EQ(first->log, "a\n");
         EXPECT_EQ(first->attempts, 1);
         EXPECT_EQ(second->id, b);
         EXPECT_FALSE(store.take("w3", 60));
         // only the holder writes the verdict, and only once
         EXPECT_FALSE(store.finish(a, "w2", verified(10)));
         EXPECT_TRUE(store.finish(a, "w1", verified(10)));
         EXPECT_FALSE(store.finish(a, "w1", verified(20)));
         EXPECT_EQ(store.game(a)->score, 10);
         EXPECT_EQ(store.game(a)->status, "verified");
         EXPECT_EQ(store.count("verified"), 1);
         EXPECT_EQ(store.count("queued"), 1);
     }},
    {"a game whose lease ran out is taken again, and its first holder writes nothing",
     [](BoardStore& store) {
         bool fresh = false;
         const int64_t id = store.submit("A", "a\n", &fresh);
         // a lease that ran out before it began
         ASSERT_TRUE(store.take("dead", -5));
         const std::optional<TakenGame> again = store.take("alive", 60);
         ASSERT_TRUE(again);
         EXPECT_EQ(again->id, id);
         EXPECT_EQ(again->attempts, 2);
         EXPECT_FALSE(store.finish(id, "dead", verified(99)));
         Verdict no;
         no.reason = "3: unknown event";
         EXPECT_TRUE(store.finish(id, "alive", no));
         EXPECT_EQ(store.game(id)->status, "rejected");
         EXPECT_EQ(store.game(id)->reason, "3: unknown event");
         EXPECT_FALSE(store.take("any", 60));
     }},
    {"the best verified games come first, ties to the earlier, rejected and queued left out",
     [](BoardStore& store) {
         bool fresh = false;
         const int64_t low = store.submit("Low", "1\n", &fresh);
         const int64_t tieFirst = store.submit("TieFirst", "2\n", &fresh);
         const int64_t high = store.submit("High", "3\n", &fresh);
         const int64_t tieSecond = store.submit("TieSecond", "4\n", &fresh);
         const int64_t bad = store.submit("Bad", "5\n", &fresh);
         store.submit("Waiting", "6\n", &fresh);
         for (int i = 0; i < 5; ++i) {
             const std::optional<TakenGame> taken = store.take("w", 60);
             ASSERT_TRUE(taken);
             const int64_t score = taken->id == low ? 5 : taken->id == high ? 50 : 20;
             Verdict verdict = verified(score);
             if (taken->id == bad) {
                 verdict = Verdict{};
                 verdict.reason = "no";
             }
             ASSERT_TRUE(store.finish(taken->id, "w", verdict));
         }
         const std::vector<BoardGame> best = store.best(10);
         ASSERT_EQ(best.size(), 4u);
         EXPECT_EQ(best[0].id, high);
         EXPECT_EQ(best[1].id, tieFirst);
         EXPECT_EQ(best[2].id, tieSecond);
         EXPECT_EQ(best[3].id, low);
         EXPECT_EQ(best[3].steps, 1005);
         EXPECT_EQ(best[3].level, 5);
         ASSERT_EQ(store.best(2).size(), 2u);
         EXPECT_EQ(store.best(2)[1].id, tieFirst);
         EXPECT_EQ(store.count("rejected"), 1);
     }},
};

// each case gets a store of its own: a new SQLite file, or a new PostgreSQL database
class StoreTable : public ::testing::TestWithParam<const char*> {
protected:
    static TestPostgres* postgres;
    static void TearDownTestSuite()
    {
        delete postgres;
        postgres = nullptr;
    }

    std::unique_ptr<BoardStore> open(const std::string& name, bool create = true)
    {
        std::string error;
        std::string database;
        if (std::string(GetParam()) == "sqlite") {
            database = folder.path() + "/" + name + ".db";
        } else {
            if (!postgres)
                postgres = new TestPostgres;
            if (postgres->url().empty())
                return nullptr;
            if (create) {
                pqxx::connection admin(postgres->url());
                pqxx::nontransaction creating(admin);
                creating.exec("CREATE DATABASE " + name);
            }
            database = postgres->url().substr(0, postgres->url().rfind('/') + 1) + name;
        }
        std::unique_ptr<BoardStore> store = openBoardStore(database, &error);
        EXPECT_TRUE(store) << error;
        return store;
    }

    TempFolder folder;
};
TestPostgres* StoreTable::postgres = nullptr;

TEST_P(StoreTable, EveryOperation)
{
    int row = 0;
    for (const StoreCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<BoardStore> store = open("case" + std::to_string(++row));
        if (!store && postgres && postgres->url().empty())
            FAIL() << postgres->problem();
        ASSERT_TRUE(store);
        c.run(*store);
    }
}

// workers of separate connections (separate processes, for all the store can tell) taking at
// once: every game is taken by exactly one
TEST_P(StoreTable, EachGameHasOneTakerAmongMany)
{
    std::unique_ptr<BoardStore> store = open("many");
    if (!store && postgres && postgres->url().empty())
        FAIL() << postgres->problem();
    ASSERT_TRUE(store);
    constexpr int kGames = 60;
    bool fresh = false;
    for (int i = 0; i < kGames; ++i)
        store->submit("P", "log " + std::to_string(i) + "\n", &fresh);
    std::vector<std::unique_ptr<BoardStore>> workers;
    for (int w = 0; w < 4; ++w)
        workers.push_back(open("many", false));
    std::vector<std::vector<int64_t>> taken(workers.size());
    std::vector<std::thread> threads;
    for (size_t w = 0; w < workers.size(); ++w)
        threads.emplace_back([&, w] {
            const std::string name = "w" + std::to_string(w);
            while (std::optional<TakenGame> game = workers[w]->take(name, 60)) {
                taken[w].push_back(game->id);
                workers[w]->finish(game->id, name, verified(game->id));
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    std::vector<int64_t> all;
    for (const std::vector<int64_t>& ids : taken)
        all.insert(all.end(), ids.begin(), ids.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all.size(), size_t(kGames));
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
    EXPECT_EQ(store->count("verified"), kGames);
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreTable, ::testing::Values("sqlite", "postgresql"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

TEST(BoardStore, LogKeyTellsLogsApart)
{
    EXPECT_EQ(boardLogKey("a\n"), boardLogKey("a\n"));
    EXPECT_NE(boardLogKey("ab"), boardLogKey("ba"));
    EXPECT_NE(boardLogKey(""), boardLogKey(std::string(1, '\0')));
    EXPECT_EQ(boardLogKey("x").size(), 32u);
}

}  // namespace
