// SPDX-License-Identifier: MIT
// The game's side of the score board: the body it sends and how it reads the answers, and
// `vendettix --submit` against a real board started by the test, with a home of the test's own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <thread>
#include <httplib.h>

#include "app/board_client.h"
#include "board/verify.h"
#include "game/hud.h"
#include "game/score_table.h"
#include "game/settings.h"
#include "tests/board/board_fixture.h"

namespace {

struct BodyRow {
    const char* name;
    std::string player, log, body;
};

TEST(BoardClient, TheBodyIsTheNameAndTheLogAsJson)
{
    const BodyRow rows[] = {
        {"a plain log", "Ann", "vendettix-input 3 simulation 2\n10 end\n",
         R"({"log":"vendettix-input 3 simulation 2\n10 end\n","player":"Ann"})"},
        {"quotes, backslashes, tabs and control bytes escaped", "O'Neil Jr.",
         "a\"b\\c\td\x01\x7f", "{\"log\":\"a\\\"b\\\\c\\td\\u0001\x7f\",\"player\":\"O'Neil Jr.\"}"},
        {"a byte that is not UTF-8 stands as U+FFFD", "Bo", "x\xffy\xc3\xa9",
         "{\"log\":\"x\xef\xbf\xbdy\xc3\xa9\",\"player\":\"Bo\"}"},
        {"nothing is left out", "Cy", "", R"({"log":"","player":"Cy"})"},
    };
    for (const BodyRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(submissionBody(row.player, row.log), row.body);
    }
}

struct AnswerRow {
    const char* name;
    int status;
    std::string body;
    bool taken;
    int64_t id;
    std::string why;
};

TEST(BoardClient, TheSubmissionsAnswerIsAnIdOrTheReason)
{
    const AnswerRow rows[] = {
        {"taken", 202, R"({"id":7,"status":"queued"})", true, 7, ""},
        {"the same log again", 202, R"({"id":3,"status":"verified"})", true, 3, ""},
        {"the board's own words for a 4xx", 400, R"({"error":"not a name"})", false, 0,
         "not a name"},
        {"too many", 429, R"({"error":"too many submissions"})", false, 0, "too many submissions"},
        {"a 4xx without its error", 413, "Payload Too Large", false, 0,
         "the board refused it (413)"},
        {"a 5xx", 500, R"({"error":"disk full"})", false, 0, "the board answered 500"},
        {"a 202 without an id", 202, R"({"status":"queued"})", false, 0, "the board answered 202"},
        {"a 202 with an id that is no number", 202, R"({"id":"7"})", false, 0,
         "the board answered 202"},
        {"a 200 is no submission", 200, R"({"id":7})", false, 0, "the board answered 200"},
    };
    for (const AnswerRow& row : rows) {
        SCOPED_TRACE(row.name);
        int64_t id = 0;
        std::string why;
        EXPECT_EQ(readSubmissionAnswer(row.status, row.body, &id, &why), row.taken);
        EXPECT_EQ(id, row.id);
        EXPECT_EQ(why, row.why);
    }
}

struct VerdictRow {
    const char* name;
    std::string body;
    bool read;
    std::string status;
    int64_t score, level;
    std::string reason;
};

TEST(BoardClient, TheGamesAnswerIsItsVerdict)
{
    const VerdictRow rows[] = {
        {"verified", R"({"id":1,"status":"verified","score":95,"level":5,"reason":null})", true,
         "verified", 95, 5, ""},
        {"rejected", R"({"id":1,"status":"rejected","score":null,"reason":"3: bad"})", true,
         "rejected", 0, 0, "3: bad"},
        {"rejected with no reason", R"({"status":"rejected","reason":null})", true, "rejected", 0,
         0, "no reason given"},
        {"queued", R"({"status":"queued","score":null})", true, "queued", 0, 0, ""},
        {"verified with no score", R"({"status":"verified","score":null,"level":5})", false, "", 0,
         0, ""},
        {"verified with no level", R"({"status":"verified","score":9})", false, "", 0, 0, ""},
        {"an unknown status", R"({"status":"lost"})", false, "", 0, 0, ""},
        {"no status", R"({"score":9})", false, "", 0, 0, ""},
        {"not JSON", "<html>", false, "", 0, 0, ""},
    };
    for (const VerdictRow& row : rows) {
        SCOPED_TRACE(row.name);
        BoardVerdict verdict;
        std::string why;
        ASSERT_EQ(readGameAnswer(row.body, &verdict, &why), row.read) << why;
        EXPECT_EQ(why.empty(), row.read);
        if (!row.read)
            continue;
        EXPECT_EQ(verdict.status, row.status);
        EXPECT_EQ(verdict.score, row.score);
        EXPECT_EQ(verdict.level, row.level);
        EXPECT_EQ(verdict.reason, row.reason);
    }
}

// the score and level the replayer reaches with the log
int64_t replayedScore(const std::string& folder, const std::string& log, int64_t* level)
{
    const std::string path = folder + "/replayed.replay";
    std::ofstream(path, std::ios::binary) << log;
    int status = 0;
    const std::string out = run(testReplayer() + " " + path, &status);
    int64_t steps = 0, score = -1;
    readSummary(out, &steps, level, &score);
    return score;
}

// a home of the test's own: the settings file, and a score table with these games kept
struct TestHome {
    TempFolder folder;
    std::string env;

    TestHome(const std::string& settings, const std::vector<FinishedGame>& games)
    {
        const std::string config = folder.path() + "/config", data = folder.path() + "/data";
        for (const std::string& dir : {config, config + "/vendettix", data, data + "/vendettix"})
            mkdir(dir.c_str(), 0700);
        std::ofstream(config + "/vendettix/settings.ini") << settings;
        ScoreTable table;
        std::string note;
        EXPECT_EQ(table.open(data + "/vendettix/" + kScoreTableName, true, &note),
                  ScoreTableState::Open)
            << note;
        for (const FinishedGame& game : games) {
            int64_t id = 0;
            std::string error;
            EXPECT_TRUE(table.save(game, &id, &error)) << error;
        }
        env = "env XDG_CONFIG_HOME=" + config + " XDG_DATA_HOME=" + data +
              " XDG_STATE_HOME=" + folder.path() + "/state ";
    }

    std::string submit(int rank, int* status) const
    {
        const char* bin = std::getenv("VX_BINARY_DIR");
        return run(env + (bin ? bin : ".") + std::string("/vendettix --submit ") +
                       std::to_string(rank),
                   status);
    }
};

FinishedGame keptGame(int32_t score, const std::string& log)
{
    FinishedGame game;
    game.endedAt = 1700000000;
    game.score = score;
    game.level = 5;
    game.steps = 100;
    game.playSteps = 100;
    game.stateHash = "0";
    game.inputLog = log;
    return game;
}

TEST(BoardSubmit, AKeptGameIsVerifiedAndOneWithTheLevelKeyIsNotSent)
{
    TempFolder boardFolder;
    BoardProcess board;
    ASSERT_TRUE(board.start({"--database", boardFolder.path() + "/board.db", "--workers", "1",
                             "--replayer", testReplayer()}));
    const std::string url = "http://127.0.0.1:" + std::to_string(board.port());

    const std::string log = readWholeFile(sourceFile("tests/data/full_game.replay"));
    ASSERT_FALSE(log.empty());
    int64_t level = 0;
    const int64_t score = replayedScore(boardFolder.path(), log, &level);
    ASSERT_GT(score, 0);
    // the same game with the level key pressed at its start
    const std::string withKey = log.substr(0, log.find('\n') + 1) + "0 key 99\n" +
                                log.substr(log.find('\n') + 1);

    TestHome home("[board]\nurl = " + url + "/\nplayer = Ann\n",
                  {keptGame(int32_t(score), log), keptGame(1, withKey)});
    int status = -1;
    const std::string verdict = home.submit(1, &status);
    EXPECT_EQ(verdict, "board: game 1 verified: score " + std::to_string(score) + " level " +
                           std::to_string(level) + "\n")
        << verdict;
    EXPECT_EQ(status, 0);

    // not sent: the board has no second game
    EXPECT_EQ(home.submit(2, &status), "");
    EXPECT_EQ(status, 1);
    httplib::Client client("127.0.0.1", board.port());
    httplib::Result second = client.Get("/api/games/2");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->status, 404);

    // no url: nothing is sent, and the status says it is a setting to make
    TestHome noBoard("[board]\nplayer = Ann\n", {keptGame(int32_t(score), log)});
    EXPECT_EQ(noBoard.submit(1, &status), "");
    EXPECT_EQ(status, 2);
    // no name: the same
    TestHome noName("[board]\nurl = " + url + "\n", {keptGame(int32_t(score), log)});
    EXPECT_EQ(noName.submit(1, &status), "");
    EXPECT_EQ(status, 2);
    // a kept game that is not there
    EXPECT_EQ(home.submit(3, &status), "");
    EXPECT_EQ(status, 1);
}

// the note once the sending of the game shown has its answer (the step only polls)
std::string noteOnceAnswered()
{
    for (;;) {
        pollBoardSending();
        if (std::string(gBoardNote) != "Sending to the board...")
            return gBoardNote;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

TEST(BoardSubmit, AGameKeptInPlayIsSentAndItsNoteShowsUnderGameOver)
{
    TempFolder boardFolder;
    BoardProcess board;
    ASSERT_TRUE(board.start({"--database", boardFolder.path() + "/board.db", "--workers", "0"}));
    const std::string log = readWholeFile(sourceFile("tests/data/full_game.replay"));
    const std::string withKey = log.substr(0, log.find('\n') + 1) + "0 key 67\n" +
                                log.substr(log.find('\n') + 1);
    resetHudState();
    resetBoardSending();

    // no board: nothing is sent and nothing shows
    gSettings = Settings{};
    sendKeptGame(1, log);
    showBoardNoteOf(1);
    pollBoardSending();
    EXPECT_STREQ(gBoardNote, "");

    gSettings.boardUrl = "http://127.0.0.1:" + std::to_string(board.port());
    showBoardNoteOf(1);
    sendKeptGame(1, log);
    EXPECT_STREQ(gBoardNote, "Not sent: no [board] player is set");
    gSettings.boardPlayer = "Ann";
    showBoardNoteOf(2);
    sendKeptGame(2, log);
    EXPECT_EQ(noteOnceAnswered(), "Sent to the board");
    httplib::Client client("127.0.0.1", board.port());
    httplib::Result sent = client.Get("/api/games/1");
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->status, 200);
    EXPECT_NE(sent->body.find("\"player\":\"Ann\""), std::string::npos) << sent->body;

    // the level key (C as well as c): not sent, and said so
    showBoardNoteOf(3);
    sendKeptGame(3, withKey);
    EXPECT_EQ(noteOnceAnswered(), "Not sent: the level key was used");
    EXPECT_EQ(client.Get("/api/games/2")->status, 404);

    // play again: the line goes; the earlier game's note stays its own
    showBoardNoteOf(0);
    EXPECT_STREQ(gBoardNote, "");
    showBoardNoteOf(2);
    EXPECT_STREQ(gBoardNote, "Sent to the board");

    // the board's own refusal, and a board gone
    gSettings.boardPlayer = "<b>";
    showBoardNoteOf(4);
    sendKeptGame(4, log + "# again\n");
    EXPECT_EQ(noteOnceAnswered(), "Not sent: the player's name may hold only letters, digi");
    gSettings.boardPlayer = "Ann";
    board.stop();
    showBoardNoteOf(5);
    sendKeptGame(5, log + "# another\n");
    EXPECT_EQ(noteOnceAnswered(), "Not sent: the board could not be reached");
    finishBoardSending();
    resetBoardSending();
    gSettings = Settings{};
}

}  // namespace
