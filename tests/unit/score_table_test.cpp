// SPDX-License-Identifier: MIT
// The score table: what it keeps and how it ranks, what it does with a file it did not expect
// (damaged, newer, in an unusable place), two writers at once, and a kill at any moment of a save.
#include "game/score_table.h"

#include <gtest/gtest.h>
#include <dirent.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string freshFolder(const std::string& name)
{
    std::string path = testing::TempDir() + "vx-scores-" + std::to_string(getpid()) + "-" + name;
    std::system(("rm -rf '" + path + "'").c_str());
    mkdir(path.c_str(), 0700);
    return path;
}

std::string readBytes(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return "";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes, long at = -1)
{
    std::FILE* f = std::fopen(path.c_str(), at < 0 ? "wb" : "r+b");
    ASSERT_NE(f, nullptr) << path;
    if (at >= 0)
        std::fseek(f, at, SEEK_SET);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

FinishedGame game(int32_t score, int64_t steps = 3600)
{
    FinishedGame g;
    g.endedAt = 1700000000 + score;
    g.score = score;
    g.level = 4;
    g.rollsThrown = 13;
    g.eggsThrown = 11;
    g.steps = steps;
    g.playSteps = steps - 60;
    g.stateHash = "00c0ffee00c0ffee";
    g.inputLog =
        "vendettix-input 1\n0 reshape 600 600\n" + std::to_string(steps - 1) + " key 113\n";
    return g;
}

// the files this process holds open
int openFileCount()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}

int32_t rowCount(const std::string& path)
{
    ScoreTable table;
    std::string note;
    if (table.open(path, false, &note) != ScoreTableState::Open)
        return -1;
    return int32_t(table.best(1000).size());
}

// a table of several games whose pages past the first are then overwritten
void damagePages(const std::string& path)
{
    {
        ScoreTable table;
        std::string note, error;
        ASSERT_EQ(table.open(path, true, &note), ScoreTableState::Open);
        int64_t id;
        for (int i = 0; i < 40; ++i)
            ASSERT_TRUE(table.save(game(i), &id, &error)) << error;
    }
    writeBytes(path, std::string(3000, '\x5a'), 4096 + 100);
}

TEST(ScoreTable, KeepsEveryGameAndRanksThemBestFirst)
{
    const std::string path = freshFolder("rank") + "/" + kScoreTableName;
    ScoreTable table;
    std::string note, error;
    ASSERT_EQ(table.open(path, true, &note), ScoreTableState::Open);
    EXPECT_EQ(note, "");
    EXPECT_TRUE(table.best(kBestShown).empty());

    // score, then the rank it has once saved, then among how many
    const struct { int32_t score; int32_t rank, count; } rows[] = {
        {50, 1, 1}, {120, 1, 2}, {120, 2, 3},  // a tie goes to the earlier game
        {30, 4, 4}, {121, 1, 5}, {0, 6, 6},
    };
    std::vector<int64_t> ids;
    for (const auto& r : rows) {
        int64_t id = 0;
        ASSERT_TRUE(table.save(game(r.score), &id, &error)) << error;
        int32_t rank = 0, count = 0;
        ASSERT_TRUE(table.rankOf(id, &rank, &count));
        EXPECT_EQ(rank, r.rank) << r.score;
        EXPECT_EQ(count, r.count) << r.score;
        ids.push_back(id);
    }
    EXPECT_FALSE(table.rankOf(9999, nullptr, nullptr));

    std::vector<RankedGame> best = table.best(3);
    ASSERT_EQ(best.size(), 3u);
    EXPECT_EQ(best[0].game.score, 121);
    EXPECT_EQ(best[1].id, ids[1]);
    EXPECT_EQ(best[2].id, ids[2]);
    EXPECT_EQ(best[2].rank, 3);
    // a list reads no input log
    EXPECT_EQ(best[0].game.inputLog, "");
    EXPECT_EQ(best[0].game.stateHash, game(121).stateHash);
    EXPECT_EQ(best[0].game.playSteps, game(121).playSteps);

    // every field comes back as it went in, the input log byte for byte
    RankedGame at;
    ASSERT_TRUE(table.gameAtRank(4, &at));
    const FinishedGame want = game(50);
    EXPECT_EQ(at.id, ids[0]);
    EXPECT_EQ(at.rank, 4);
    EXPECT_EQ(at.game.endedAt, want.endedAt);
    EXPECT_EQ(at.game.level, 4);
    EXPECT_EQ(at.game.rollsThrown, 13);
    EXPECT_EQ(at.game.eggsThrown, 11);
    EXPECT_EQ(at.game.steps, want.steps);
    EXPECT_EQ(at.game.playSteps, want.playSteps);
    EXPECT_EQ(at.game.stateHash, want.stateHash);
    EXPECT_EQ(at.game.inputLog, want.inputLog);
    EXPECT_FALSE(table.gameAtRank(7, &at));
    EXPECT_FALSE(table.gameAtRank(0, &at));

    // played on at its GAME OVER screen: the same row, its longer log
    FinishedGame later = game(50, 5000);
    ASSERT_TRUE(table.update(ids[0], later, &error)) << error;
    ASSERT_TRUE(table.gameAtRank(4, &at));
    EXPECT_EQ(at.game.steps, 5000);
    EXPECT_EQ(at.game.inputLog, later.inputLog);
    EXPECT_FALSE(table.update(9999, later, &error));

    // kept across a reopen; a closed table takes nothing
    table.close();
    EXPECT_EQ(table.state(), ScoreTableState::Closed);
    int64_t none = 0;
    EXPECT_FALSE(table.save(game(1), &none, &error));
    ASSERT_EQ(table.open(path, false, &note), ScoreTableState::Open);
    EXPECT_EQ(table.best(100).size(), std::size(rows));

    EXPECT_EQ(rankLine(1, 1), "New best score!");
    EXPECT_EQ(rankLine(1, 9), "New best score!");
    EXPECT_EQ(rankLine(3, 12), "Rank 3 of 12");
    RankedGame shown{7, 2, game(1234, 9060)};
    std::string line = scoreLine(shown);
    EXPECT_EQ(line.substr(0, 22), "   2     1234      4  ") << line;
    EXPECT_EQ(line.substr(line.size() - 5), " 2:30") << line;  // 9000 steps of play
    EXPECT_NE(line.find("2023-11-"), std::string::npos) << line;
}

// what open does with each kind of file it finds
TEST(ScoreTable, OpensWhatItFindsAndNeverLosesAFile)
{
    const std::string root = freshFolder("open");
    const struct Row {
        const char* name;
        void (*lay)(const std::string& path);  // what lies at the path before the open
        bool forWriting;
        ScoreTableState state;
        const char* note;         // a part of the one line said; "" for none
        bool keptAside;           // the old file moved to a dated name, bytes unchanged
        bool untouched;           // the file's bytes are as they were
        int32_t rowsAfter;        // games in the table after the open (-1: none to count)
    } rows[] = {
        {"no file, reading", [](const std::string&) {}, false, ScoreTableState::Closed, "", false,
         false, -1},
        {"no file, writing", [](const std::string&) {}, true, ScoreTableState::Open, "", false,
         false, 0},
        {"not a database",
         [](const std::string& p) { writeBytes(p, "these are not the scores you look for"); },
         true, ScoreTableState::Open, "is damaged (file is not a database); kept as ", true, false,
         0},
        {"an empty file is a fresh table", [](const std::string& p) { writeBytes(p, ""); }, true,
         ScoreTableState::Open, "", false, false, 0},
        {"damaged pages", damagePages, true, ScoreTableState::Open, "is damaged (", true, false, 0},
        {"damaged, only reading", damagePages, false, ScoreTableState::Closed, "is damaged (", true,
         false, -1},
        {"newer version",
         [](const std::string& p) {
             sqlite3* db = nullptr;
             sqlite3_open(p.c_str(), &db);
             sqlite3_exec(db, "CREATE TABLE games (x); INSERT INTO games VALUES (1);"
                              "PRAGMA user_version = 2;", nullptr, nullptr, nullptr);
             sqlite3_close(db);
         },
         true, ScoreTableState::NewerVersion, "was written by a newer version (2)", false, true,
         -1},
        // a fault that is not damage leaves the file where it is
        {"a folder where the table should be",
         [](const std::string& p) { mkdir(p.c_str(), 0700); }, true,
         ScoreTableState::Unavailable, "cannot ", false, false, -1},
        {"a file in the way of the folder",
         [](const std::string& p) { writeBytes(p.substr(0, p.rfind('/')), "x"); }, true,
         ScoreTableState::Unavailable, "cannot open the score table ", false, false, -1},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string folder = root + "/" + std::to_string(n++);
        mkdir(folder.c_str(), 0700);
        const std::string path = folder + "/place/" + kScoreTableName;
        mkdir((folder + "/place").c_str(), 0700);
        if (std::string(row.name) == "a file in the way of the folder")
            rmdir((folder + "/place").c_str());
        row.lay(path);
        const std::string before = readBytes(path);

        const int filesOpen = openFileCount();
        ScoreTable table;
        std::string note;
        EXPECT_EQ(table.open(path, row.forWriting, &note), row.state);
        EXPECT_EQ(table.state(), row.state);
        if (*row.note == '\0') {
            EXPECT_EQ(note, "");
        } else {
            EXPECT_NE(note.find(row.note), std::string::npos) << note;
        }
        if (!note.empty()) {
            EXPECT_EQ(note.find('\n'), std::string::npos) << "one line";
            EXPECT_NE(note.find(path), std::string::npos) << note;
        }
        if (row.keptAside) {
            size_t at = note.find("kept as ");
            ASSERT_NE(at, std::string::npos) << note;
            std::string moved = note.substr(at + 8, note.find(',', at) - at - 8);
            EXPECT_EQ(moved.rfind(path + ".damaged-", 0), 0u) << moved;
            EXPECT_EQ(readBytes(moved), before);
        }
        if (row.untouched) {
            EXPECT_EQ(readBytes(path), before);
        }
        // nothing but a damaged table is ever moved aside
        const std::string listing = folder + "/listing";
        std::system(("ls '" + folder + "/place' > '" + listing + "' 2>&1").c_str());
        EXPECT_EQ(readBytes(listing).find(".damaged-") != std::string::npos, row.keptAside)
            << readBytes(listing);
        if (row.rowsAfter >= 0) {
            EXPECT_EQ(table.best(100).size(), size_t(row.rowsAfter));
        }
        // only an open table takes a game
        int64_t id = 0;
        std::string error;
        EXPECT_EQ(table.save(game(10), &id, &error), row.state == ScoreTableState::Open);
        int32_t rank = 0, count = 0;
        EXPECT_EQ(table.rankOf(id, &rank, &count), row.state == ScoreTableState::Open);
        if (row.untouched) {
            EXPECT_EQ(readBytes(path), before);
        }
        // every file the open tried is closed again
        table.close();
        EXPECT_EQ(openFileCount(), filesOpen);
    }
    std::system(("rm -rf '" + root + "'").c_str());
}

// another program holding the table locked: the running game's table waits a few milliseconds,
// says it was only the lock (nothing written, nothing moved aside, no lock of its own left), and
// the same save goes through once the lock goes
TEST(ScoreTable, ALockIsOnlyWaitedOnBrieflyAndTheSaveGoesThroughOnceItGoes)
{
    const std::string folder = freshFolder("locked");
    const struct {
        const char* lock;        // what the other program does and holds
        ScoreTableState opened;  // what the game's table finds under it
    } rows[] = {
        {"BEGIN EXCLUSIVE", ScoreTableState::Busy},
        {"BEGIN IMMEDIATE", ScoreTableState::Open},
        {"BEGIN; SELECT COUNT(*) FROM games", ScoreTableState::Open},  // a long read
    };
    int n = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.lock);
        const std::string place = folder + "/" + std::to_string(n++);
        mkdir(place.c_str(), 0700);
        const std::string path = place + "/" + kScoreTableName;
        int64_t firstId = 0;
        {
            ScoreTable table;
            std::string note, error;
            ASSERT_EQ(table.open(path, true, &note), ScoreTableState::Open) << note;
            ASSERT_TRUE(table.save(game(5), &firstId, &error)) << error;
        }
        const std::string before = readBytes(path);
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, row.lock, nullptr, nullptr, nullptr), SQLITE_OK);

        ScoreTable table(kScoreTableFrameWaitMs);
        std::string note, error;
        EXPECT_EQ(table.open(path, true, &note), row.opened);
        int64_t id = 0;
        if (row.opened == ScoreTableState::Busy) {
            EXPECT_NE(note.find(path + " is locked by another program"), std::string::npos)
                << note;
            EXPECT_FALSE(table.save(game(60), &id, &error));
        } else {
            EXPECT_EQ(note, "");
            EXPECT_FALSE(table.save(game(60), &id, &error));
            EXPECT_TRUE(table.busy());
            EXPECT_NE(error, "");
            EXPECT_FALSE(table.update(firstId, game(61), &error));
            EXPECT_TRUE(table.busy());
        }
        EXPECT_EQ(readBytes(path), before);
        // the lock ends: the other program can write at once, so the table holds no lock of its own
        sqlite3_busy_timeout(other, 0);
        EXPECT_EQ(sqlite3_exec(other, "COMMIT; BEGIN IMMEDIATE; COMMIT", nullptr, nullptr,
                               nullptr), SQLITE_OK)
            << sqlite3_errmsg(other);
        sqlite3_close(other);

        if (row.opened == ScoreTableState::Busy) {
            ASSERT_EQ(table.open(path, true, &note), ScoreTableState::Open) << note;
        }
        ASSERT_TRUE(table.save(game(60), &id, &error)) << error;
        EXPECT_FALSE(table.busy());
        EXPECT_TRUE(table.update(firstId, game(5, 4000), &error)) << error;
        EXPECT_FALSE(table.busy());
        EXPECT_EQ(rowCount(path), 2);
        std::system(("ls '" + place + "' | grep -v '^scores.db$' > '" + place + ".ls'").c_str());
        EXPECT_EQ(readBytes(place + ".ls"), "") << "nothing moved aside";
    }
    std::system(("rm -rf '" + folder + "'").c_str());
}

// several games reaching GAME OVER at the same moment, on a table none of them has made yet
TEST(ScoreTable, GamesEndingAtOnceAreAllKept)
{
    const std::string path = freshFolder("together") + "/" + kScoreTableName;
    constexpr int kWriters = 6;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> writers;
    for (int w = 0; w < kWriters; ++w) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(gate[1]);
            char c;
            (void)!read(gate[0], &c, 1);  // all go when the gate closes
            ScoreTable table;
            std::string note, error;
            int64_t id;
            bool ok = table.open(path, true, &note) == ScoreTableState::Open &&
                      table.save(game(100 + w), &id, &error);
            if (!ok)
                std::fprintf(stderr, "writer %d: %s%s\n", w, note.c_str(), error.c_str());
            _exit(ok ? 0 : 1);
        }
        writers.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer " << pid;
    }
    ScoreTable table;
    std::string note;
    ASSERT_EQ(table.open(path, false, &note), ScoreTableState::Open) << note;
    EXPECT_EQ(note, "");
    std::vector<RankedGame> all = table.best(100);
    ASSERT_EQ(all.size(), size_t(kWriters));
    for (int i = 0; i < kWriters; ++i)
        EXPECT_EQ(all[i].game.score, 100 + kWriters - 1 - i);
}

// SQLite's own hook into its file system's system calls: every write, truncation and removal
// (the commit of a journal) is counted, and the process kills itself (SIGKILL: nothing flushed,
// no handler run) at the one numbered sKillAt
int sIoCount = 0;
int sKillAt = 0;
sqlite3_syscall_ptr sRealPwrite64, sRealWrite, sRealFtruncate, sRealUnlink;

void countIo()
{
    if (++sIoCount == sKillAt)
        kill(getpid(), SIGKILL);
}

ssize_t countedPwrite64(int fd, const void* data, size_t size, off_t at)
{
    countIo();
    return reinterpret_cast<ssize_t (*)(int, const void*, size_t, off_t)>(sRealPwrite64)(
        fd, data, size, at);
}

ssize_t countedWrite(int fd, const void* data, size_t size)
{
    countIo();
    return reinterpret_cast<ssize_t (*)(int, const void*, size_t)>(sRealWrite)(fd, data, size);
}

int countedFtruncate(int fd, off_t size)
{
    countIo();
    return reinterpret_cast<int (*)(int, off_t)>(sRealFtruncate)(fd, size);
}

int countedUnlink(const char* path)
{
    countIo();
    return reinterpret_cast<int (*)(const char*)>(sRealUnlink)(path);
}

void countFileSystemCalls()
{
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    struct { const char* name; sqlite3_syscall_ptr* real; sqlite3_syscall_ptr counted; } calls[] = {
        {"pwrite64", &sRealPwrite64, reinterpret_cast<sqlite3_syscall_ptr>(countedPwrite64)},
        {"write", &sRealWrite, reinterpret_cast<sqlite3_syscall_ptr>(countedWrite)},
        {"ftruncate", &sRealFtruncate, reinterpret_cast<sqlite3_syscall_ptr>(countedFtruncate)},
        {"unlink", &sRealUnlink, reinterpret_cast<sqlite3_syscall_ptr>(countedUnlink)},
    };
    for (auto& call : calls) {
        *call.real = vfs->xGetSystemCall(vfs, call.name);
        vfs->xSetSystemCall(vfs, call.name, call.counted);
    }
}

// a save killed at each of its writes in turn: every game whose save had returned
// is there, the file opens clean (no damage), and it takes the next game
TEST(ScoreTable, AKillAtAnyWriteOfASaveLosesNoGameSavedBefore)
{
    const std::string path = freshFolder("kill") + "/" + kScoreTableName;
    int32_t saved = 0;  // games the table held before this round, all of which must stay
    int kills = 0;
    for (int n = 1; n <= 20; ++n) {
        int report[2];
        ASSERT_EQ(pipe(report), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(report[0]);
            countFileSystemCalls();
            ScoreTable table;
            std::string note, error;
            if (table.open(path, true, &note) != ScoreTableState::Open) {
                std::fprintf(stderr, "%s\n", note.c_str());
                _exit(3);
            }
            sIoCount = 0;
            sKillAt = n;  // counted from the first save on
            for (int g = 0; g < 3; ++g) {
                int64_t id;
                if (!table.save(game(1000 * n + g), &id, &error)) {
                    std::fprintf(stderr, "%s\n", error.c_str());
                    _exit(4);
                }
                (void)!write(report[1], "s", 1);  // this one is kept, whatever comes next
            }
            _exit(0);
        }
        close(report[1]);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        char buffer[8];
        int returned = 0;
        for (ssize_t got; (got = read(report[0], buffer, sizeof buffer)) > 0;)
            returned += int(got);
        close(report[0]);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        kills += killed;
        ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0))
            << n << ": status " << status;

        ScoreTable table;
        std::string note, error;
        ASSERT_EQ(table.open(path, true, &note), ScoreTableState::Open) << n << ": " << note;
        EXPECT_EQ(note, "") << n;
        const int32_t now = int32_t(table.best(1000).size());
        // the save under way may or may not have reached its commit
        EXPECT_GE(now, saved + returned) << "after a kill at " << n;
        EXPECT_LE(now, saved + returned + (killed ? 1 : 0)) << "after a kill at " << n;
        int64_t id;
        ASSERT_TRUE(table.save(game(7), &id, &error)) << n << ": " << error;
        saved = now + 1;
    }
    // the first saves of the rounds were cut at each of their writes and syncs
    EXPECT_GE(kills, 15);
    EXPECT_EQ(rowCount(path), saved);
}

}  // namespace
