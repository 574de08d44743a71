// SPDX-License-Identifier: MIT
// The score board through real HTTP: a vendettix-board started by the test, the checked-in
// full game and its spoiled copies sent to it, the server killed and restarted, a worker
// killed in the middle of a replay.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "board/verify.h"
#include "game/input_log.h"
#include "tests/board/board_fixture.h"

namespace {

using Json = nlohmann::json;

std::string fullGame()
{
    return readWholeFile(sourceFile("tests/data/full_game.replay"));
}

// the log's lines before step `step`, then its end there
std::string endedAt(const std::string& log, int64_t step)
{
    std::istringstream lines(log);
    std::string line;
    std::string out;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] >= '0' && line[0] <= '9' && std::stoll(line) >= step)
            break;
        out += line + "\n";
    }
    return out + std::to_string(step) + " end\n";
}

std::string body(const std::string& player, const std::string& log)
{
    return Json{{"player", player}, {"log", log}}.dump();
}

// what the replayer itself says of the log: its summary's score
int64_t replayedScore(const std::string& log, int64_t* level)
{
    TempFolder folder;
    const std::string path = folder.path() + "/game.replay";
    std::ofstream(path, std::ios::binary) << log;
    int status = 0;
    const std::string out = run(testReplayer() + " " + path, &status);
    int64_t steps = 0;
    int64_t score = -1;
    readSummary(out, &steps, level, &score);
    return score;
}

class Board {
public:
    explicit Board(int port) : client_("127.0.0.1", port) { client_.set_read_timeout(60, 0); }

    httplib::Result post(const std::string& text)
    {
        return client_.Post("/api/games", text, "application/json");
    }
    int64_t submit(const std::string& player, const std::string& log)
    {
        httplib::Result res = post(body(player, log));
        EXPECT_TRUE(res);
        if (!res)
            return 0;
        EXPECT_EQ(res->status, 202) << res->body;
        return Json::parse(res->body, nullptr, false).value("id", int64_t(0));
    }
    Json get(const std::string& path, int expected = 200)
    {
        httplib::Result res = client_.Get(path.c_str());
        EXPECT_TRUE(res);
        if (!res)
            return Json();
        EXPECT_EQ(res->status, expected) << path << ": " << res->body;
        return Json::parse(res->body, nullptr, false);
    }
    std::string text(const std::string& path)
    {
        httplib::Result res = client_.Get(path.c_str());
        return res ? res->body : std::string();
    }
    // the game once it is no longer queued (a game still queued after two minutes fails)
    Json verdict(int64_t id)
    {
        Json game;
        for (int i = 0; i < 1200; ++i) {
            game = get("/api/games/" + std::to_string(id));
            if (game.value("status", "") != "queued")
                return game;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ADD_FAILURE() << "game " << id << " is still queued";
        return game;
    }

private:
    httplib::Client client_;
};

TEST(BoardHttp, VerifiesRejectsAndShowsGames)
{
    TempFolder folder;
    BoardProcess server;
    ASSERT_TRUE(server.start({"--database", folder.path() + "/board.db", "--workers", "2",
                              "--rate", "0", "--replayer", testReplayer()}));
    Board board(server.port());
    const std::string log = fullGame();

    // the true log: verified with the score its replay gives; sent again, the same game
    const int64_t id = board.submit("Ann", log);
    ASSERT_GT(id, 0);
    EXPECT_EQ(board.submit("Someone Else", log), id);
    int64_t level = 0;
    const int64_t score = replayedScore(log, &level);
    ASSERT_GT(score, 0);
    const Json game = board.verdict(id);
    EXPECT_EQ(game["status"], "verified") << game.dump();
    EXPECT_EQ(game["score"], score);
    EXPECT_EQ(game["level"], 5);
    EXPECT_EQ(game["player"], "Ann");
    EXPECT_TRUE(game["reason"].is_null());
    EXPECT_EQ(board.text("/api/games/" + std::to_string(id) + "/log"), log);

    // its end moved before GAME OVER
    const int64_t early = board.submit("Ann", endedAt(log, 5000));
    const Json cut = board.verdict(early);
    EXPECT_EQ(cut["status"], "rejected");
    EXPECT_NE(cut["reason"].get<std::string>().find("did not reach GAME OVER"), std::string::npos)
        << cut.dump();
    EXPECT_TRUE(cut["score"].is_null());

    // a damaged line: the reader's own line and message
    std::string damaged = log;
    damaged.replace(damaged.find("110 button 2 0 300 300"), 22, "110 button 2 0 300 3x0");
    InputLogParser reader("");
    InputLog ignored;
    ASSERT_FALSE(reader.feed(damaged.data(), damaged.size()) && reader.finish(&ignored));
    const Json refused = board.verdict(board.submit("Ann", damaged));
    EXPECT_EQ(refused["status"], "rejected");
    EXPECT_EQ(refused["reason"], reader.error().substr(1));
    EXPECT_EQ(refused["reason"].get<std::string>().rfind("7: ", 0), 0u) << refused.dump();

    // longer than 20 minutes of play: never replayed
    const Json longGame = board.verdict(board.submit("Ann", "vendettix-input 2\n72001 end\n"));
    EXPECT_NE(longGame["reason"].get<std::string>().find("20 minutes"), std::string::npos);

    // the same game under another name, a comment making it another log; the name trimmed
    std::string again = log;
    again.insert(again.find('\n') + 1, "# again\n");
    const int64_t second = board.submit("  O'Brien ", again);
    EXPECT_EQ(board.verdict(second)["player"], "O'Brien");

    // what is not a submission
    const std::vector<std::string> bad = {
        body("<script>", log), body("", log), body("   ", log), body(std::string(25, 'a'), log),
        body("tab\there", log), "not json", "[1, 2]", Json{{"player", "Ann"}}.dump(),
        Json{{"player", "Ann"}, {"log", 5}}.dump(), body("Ann", "")};
    for (const std::string& text : bad) {
        httplib::Result res = board.post(text);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 400) << text.substr(0, 40);
        EXPECT_TRUE(Json::parse(res->body, nullptr, false).contains("error")) << res->body;
    }
    // no origin allowed unless asked for
    httplib::Client raw("127.0.0.1", server.port());
    httplib::Result read = raw.Get("/api/scores");
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->has_header("Access-Control-Allow-Origin"));
    httplib::Result large = board.post(body("Ann", std::string(2 * 1024 * 1024, 'x')));
    ASSERT_TRUE(large);
    EXPECT_EQ(large->status, 413);

    // the board: verified games only, best first, names escaped
    const Json scores = board.get("/api/scores");
    ASSERT_EQ(scores.size(), 2u) << scores.dump();
    EXPECT_EQ(scores[0]["rank"], 1);
    EXPECT_EQ(scores[0]["id"], id);
    EXPECT_EQ(scores[0]["score"], score);
    EXPECT_EQ(scores[1]["id"], second);
    EXPECT_EQ(board.get("/api/scores?limit=1").size(), 1u);
    board.get("/api/scores?limit=0", 400);
    board.get("/api/scores?limit=x", 400);
    board.get("/api/games/999", 404);
    const std::string page = board.text("/");
    EXPECT_NE(page.find("<td>Ann</td><td>" + std::to_string(score) + "</td>"), std::string::npos)
        << page;
    EXPECT_NE(page.find("O&#39;Brien"), std::string::npos);
    EXPECT_EQ(page.find("O'Brien"), std::string::npos);
}

TEST(BoardHttp, RefusesAClientOverItsRate)
{
    TempFolder folder;
    BoardProcess server;
    ASSERT_TRUE(server.start({"--database", folder.path() + "/board.db", "--workers", "0",
                              "--rate", "3", "--allow-origin", "https://play.example"}));
    Board board(server.port());
    // the web build's page, of another origin, may ask first and then send
    httplib::Client raw("127.0.0.1", server.port());
    httplib::Result asked = raw.Options("/api/games");
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->status, 204);
    EXPECT_EQ(asked->get_header_value("Access-Control-Allow-Origin"), "https://play.example");
    EXPECT_EQ(asked->get_header_value("Access-Control-Allow-Headers"), "Content-Type");
    httplib::Result read = raw.Get("/api/scores");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->get_header_value("Access-Control-Allow-Origin"), "https://play.example");
    for (int i = 0; i < 3; ++i) {
        httplib::Result res = board.post(body("Ann", "log " + std::to_string(i) + "\n"));
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 202);
    }
    httplib::Result res = board.post(body("Ann", "log 4\n"));
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 429);
    // reads are not counted
    board.get("/api/scores");

    // a board whose replayer cannot run would leave every game without a verdict: it does not
    // start
    BoardProcess unable;
    EXPECT_FALSE(unable.start({"--database", folder.path() + "/other.db", "--replayer",
                               folder.path() + "/no-such-replayer"}));
}

TEST(BoardHttp, AGameAnsweredSurvivesAKilledServer)
{
    TempFolder folder;
    const std::string database = folder.path() + "/board.db";
    int64_t id = 0;
    {
        BoardProcess server;
        // no worker: the game is only queued when the server dies
        ASSERT_TRUE(server.start({"--database", database, "--workers", "0"}));
        id = Board(server.port()).submit("Ann", fullGame());
        ASSERT_GT(id, 0);
        server.killHard();
    }
    BoardProcess again;
    ASSERT_TRUE(again.start({"--database", database, "--replayer", testReplayer()}));
    const Json game = Board(again.port()).verdict(id);
    EXPECT_EQ(game["status"], "verified") << game.dump();
    EXPECT_EQ(game["player"], "Ann");
}

TEST(BoardHttp, AGameOfAKilledWorkerIsTakenAgain)
{
    TempFolder folder;
    const std::string database = folder.path() + "/board.db";
    BoardProcess server;
    ASSERT_TRUE(server.start({"--database", database, "--workers", "0"}));
    Board board(server.port());
    const int64_t id = board.submit("Ann", fullGame());

    // a worker whose replay hangs, and says it has begun
    const std::string marker = folder.path() + "/replaying";
    const std::string script = folder.path() + "/hang.sh";
    std::ofstream(script) << "echo $$ > " << marker << ".tmp && mv " << marker << ".tmp "
                          << marker << "\nexec sleep 600\n";
    BoardProcess stuck;
    ASSERT_TRUE(stuck.start({"--database", database, "--lease", "3", "--replayer", "sh " + script},
                            true));
    struct stat seen;
    for (int i = 0; i < 1200 && stat(marker.c_str(), &seen) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(stat(marker.c_str(), &seen), 0);
    // the server answers while the game is held
    EXPECT_EQ(board.get("/api/games/" + std::to_string(id))["status"], "queued");
    stuck.killHard();
    const pid_t replay = std::stoi(readWholeFile(marker));
    kill(replay, SIGKILL);

    BoardProcess worker;
    ASSERT_TRUE(worker.start({"--database", database, "--replayer", testReplayer()}, true));
    const Json game = board.verdict(id);
    EXPECT_EQ(game["status"], "verified") << game.dump();
}

// two servers and two lone workers on one PostgreSQL database: a game sent to either server
// is the same game, verified once
TEST(BoardHttp, ServersAndWorkersShareOnePostgres)
{
    TestPostgres postgres;
    ASSERT_FALSE(postgres.url().empty()) << postgres.problem();
    BoardProcess first;
    BoardProcess second;
    ASSERT_TRUE(first.start({"--database", postgres.url(), "--workers", "0"}));
    ASSERT_TRUE(second.start({"--database", postgres.url(), "--workers", "0"}));
    Board one(first.port());
    Board two(second.port());
    const std::string log = fullGame();
    const int64_t id = one.submit("Ann", log);
    EXPECT_EQ(two.submit("Bob", log), id);
    const int64_t early = two.submit("Bob", endedAt(log, 3000));
    BoardProcess workerA;
    BoardProcess workerB;
    ASSERT_TRUE(workerA.start({"--database", postgres.url(), "--replayer", testReplayer()}, true));
    ASSERT_TRUE(workerB.start({"--database", postgres.url(), "--replayer", testReplayer()}, true));
    const Json game = two.verdict(id);
    EXPECT_EQ(game["status"], "verified") << game.dump();
    EXPECT_EQ(game["player"], "Ann");
    EXPECT_EQ(one.verdict(early)["status"], "rejected");
    const Json scores = one.get("/api/scores");
    ASSERT_EQ(scores.size(), 1u);
    EXPECT_EQ(scores[0]["id"], id);
}

}  // namespace
