// SPDX-License-Identifier: MIT
// The score board's checks on what a client sends and on what the replayer prints: names,
// bodies, the HTML escaping, the summary line and the rate limit, as tables.
#include <gtest/gtest.h>

#include "board/server.h"
#include "board/submission.h"
#include "board/verify.h"
#include "game/input_log.h"

namespace {

TEST(BoardSubmission, Names)
{
    struct Row {
        const char* name;
        bool taken;
        const char* trimmed;
    };
    const Row rows[] = {
        {"Ann", true, "Ann"},
        {"  Ann Lee  ", true, "Ann Lee"},
        {"O'Neil-2_x.y", true, "O'Neil-2_x.y"},
        {"a", true, "a"},
        {"abcdefghijklmnopqrstuvwx", true, "abcdefghijklmnopqrstuvwx"},
        {"  abcdefghijklmnopqrstuvwx ", true, "abcdefghijklmnopqrstuvwx"},
        {"abcdefghijklmnopqrstuvwxy", false, ""},
        {"", false, ""},
        {"    ", false, ""},
        {"<script>", false, ""},
        {"Ann\tLee", false, ""},
        {"Ann\nLee", false, ""},
        {"Ann&Lee", false, ""},
        {"\"Ann\"", false, ""},
        {"Zo\xc3\xab", false, ""},
        {"AZaz09", true, "AZaz09"},
        {"@[`{/:", false, ""},
    };
    for (const Row& row : rows) {
        std::string trimmed;
        std::string error;
        EXPECT_EQ(checkPlayerName(row.name, &trimmed, &error), row.taken) << row.name;
        if (row.taken)
            EXPECT_EQ(trimmed, row.trimmed);
        else
            EXPECT_FALSE(error.empty()) << row.name;
    }
}

TEST(BoardSubmission, Bodies)
{
    struct Row {
        std::string body;
        bool taken;
    };
    const Row rows[] = {
        {R"({"player": "Ann", "log": "vendettix-input 2\n0 end\n"})", true},
        {R"({"log": "x", "player": " Ann ", "more": 1})", true},
        {R"({"player": "Ann"})", false},
        {R"({"log": "x"})", false},
        {R"({"player": 3, "log": "x"})", false},
        {R"({"player": "Ann", "log": ["x"]})", false},
        {R"({"player": "Ann", "log": ""})", false},
        {R"({"player": "Ann", "log": "a\u0000b"})", false},
        {R"({"player": "<b>", "log": "x"})", false},
        {R"(["Ann", "x"])", false},
        {R"("Ann")", false},
        {R"({"player": "Ann", "log": "x")", false},
        {"", false},
        {"{\"player\": \"Ann\", \"log\": \"\xff\"}", false},
    };
    for (const Row& row : rows) {
        Submission submission;
        std::string error;
        EXPECT_EQ(parseSubmission(row.body, &submission, &error), row.taken) << row.body;
        EXPECT_EQ(error.empty(), row.taken) << row.body;
    }
    Submission submission;
    std::string error;
    ASSERT_TRUE(parseSubmission(R"({"player": " Ann ", "log": "a\nb"})", &submission, &error));
    EXPECT_EQ(submission.player, "Ann");
    EXPECT_EQ(submission.log, "a\nb");
}

TEST(BoardSubmission, HtmlEscaping)
{
    EXPECT_EQ(escapeHtml("O'Brien & <Sons> \"Ltd\""),
              "O&#39;Brien &amp; &lt;Sons&gt; &quot;Ltd&quot;");
    EXPECT_EQ(escapeHtml("plain"), "plain");
}

TEST(BoardSubmission, SummaryLine)
{
    struct Row {
        const char* output;
        bool found;
        int64_t steps, level, score;
    };
    const Row rows[] = {
        {"summary: steps=8200 level=5 score=95 rolls_left=2 eggs_left=6 strips=32 state=1d\n",
         true, 8200, 5, 95},
        {"1.333\n0.5\nsummary: steps=10 level=1 score=0 rolls_left=2\n", true, 10, 1, 0},
        // the last summary counts
        {"summary: steps=1 level=1 score=1\nsummary: steps=2 level=5 score=7\n", true, 2, 5, 7},
        {"no summary here\n", false, 0, 0, 0},
        {"xsummary: steps=2 level=5 score=7\n", false, 0, 0, 0},
        {"summary: steps=2 level=five score=7\n", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const Row& row : rows) {
        int64_t steps = 0, level = 0, score = 0;
        EXPECT_EQ(readSummary(row.output, &steps, &level, &score), row.found) << row.output;
        if (row.found) {
            EXPECT_EQ(steps, row.steps);
            EXPECT_EQ(level, row.level);
            EXPECT_EQ(score, row.score);
        }
    }
}

TEST(BoardSubmission, LogsReadBeforeAnyReplay)
{
    Verdict verdict;
    EXPECT_TRUE(readSubmittedLog("vendettix-input 2\n0 reshape 600 600\n72000 end\n", &verdict));
    EXPECT_FALSE(readSubmittedLog("vendettix-input 2\n72001 end\n", &verdict));
    EXPECT_NE(verdict.reason.find("20 minutes"), std::string::npos);
    // a log without its end, its last event past the limit
    EXPECT_FALSE(readSubmittedLog("vendettix-input 2\n80000 key 97\n", &verdict));
    EXPECT_NE(verdict.reason.find("80000 steps"), std::string::npos);
    // a log of another version of the simulation; one naming none is older than the naming
    EXPECT_FALSE(readSubmittedLog("vendettix-input 3 simulation " +
                                      std::to_string(kSimulationVersion + 1) + "\n60 end\n",
                                  &verdict));
    EXPECT_NE(verdict.reason.find("version " + std::to_string(kSimulationVersion + 1) +
                                  " of the simulation"),
              std::string::npos)
        << verdict.reason;
    EXPECT_TRUE(readSubmittedLog(std::string(kInputLogHeader) + "\n60 end\n", &verdict));
    EXPECT_TRUE(readSubmittedLog("vendettix-input 1\n60 end\n", &verdict));
    EXPECT_FALSE(readSubmittedLog("vendettix-input 2\n5 jump\n", &verdict));
    EXPECT_EQ(verdict.reason.rfind("2: ", 0), 0u) << verdict.reason;
    EXPECT_FALSE(verdict.verified);
}

TEST(BoardSubmission, RateLimitPerAddressPerMinute)
{
    RateLimit rate(2);
    const auto t0 = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    EXPECT_TRUE(rate.allow("a", t0));
    EXPECT_TRUE(rate.allow("a", t0 + std::chrono::seconds(10)));
    EXPECT_FALSE(rate.allow("a", t0 + std::chrono::seconds(20)));
    EXPECT_TRUE(rate.allow("b", t0 + std::chrono::seconds(20)));
    // a minute after the first, one more
    EXPECT_TRUE(rate.allow("a", t0 + std::chrono::seconds(60)));
    EXPECT_FALSE(rate.allow("a", t0 + std::chrono::seconds(61)));
    EXPECT_TRUE(rate.allow("a", t0 + std::chrono::seconds(71)));
    RateLimit none(0);
    for (int i = 0; i < 100; ++i)
        EXPECT_TRUE(none.allow("a", t0));
}

TEST(BoardSubmission, ReplayerCommand)
{
    EXPECT_EQ(splitCommand("  /a/vendettix  --headless --replay "),
              (std::vector<std::string>{"/a/vendettix", "--headless", "--replay"}));
    EXPECT_TRUE(splitCommand("   ").empty());
}

// the verdict from what the replayer does, with stand-ins for it: a shell given the log's file
// name last as $1
TEST(BoardVerdict, FromWhatTheReplayerDoes)
{
    const std::string log = "vendettix-input 2\n0 reshape 600 600\n60 end\n";
    struct Row {
        const char* script;
        bool decided;
        bool verified;
        const char* reason;  // the start of the reason
        int64_t score;
    };
    const Row rows[] = {
        {"echo 1.3; echo 'summary: steps=60 level=5 score=7 rolls_left=0'", true, true, "", 7},
        {"echo 'summary: steps=60 level=3 score=7'", true, false,
         "the game did not reach GAME OVER (level 3 after 60 steps)", 0},
        {"echo 'summary: steps=72001 level=5 score=7'", true, false,
         "the game is longer than 20 minutes", 0},
        {"echo nothing", true, false, "the replay printed no summary", 0},
        {"echo \"vendettix: $1:1: not a log of this version\" >&2; exit 2", true, false,
         "1: not a log of this version", 0},
        // the replayer's own trouble is not the game's
        {"echo 'vendettix: cannot find the data' >&2; exit 1", false, false,
         "the replayer failed (exit status 1): vendettix: cannot find the data", 0},
        {"echo 'usage' >&2; exit 2", false, false, "the replayer failed (exit status 2)", 0},
        // a replayer of another build than the board's
        {"echo \"vendettix: $1 was played by version 9 of the simulation and this game plays "
         "version 2: it may replay to another game\" >&2; echo 'summary: steps=60 level=5 score=7'",
         true, false, "the game was played by version 9 of the simulation", 0},
        // its first line says it
        {"printf 'no data\\n  looked in x\\n' >&2; exit 1", false, false,
         "the replayer failed (exit status 1): no data", 0},
        {"kill -SEGV $$", true, false, "the replay failed: ", 0},
        {"while :; do :; done", true, false, "the replay ran out of its 1 s of CPU time", 0},
        {"exec sleep 30", false, false, "the replay ran past its wall time", 0},
    };
    for (const Row& row : rows) {
        ReplayerOptions options;
        options.command = {"sh", "-c", row.script, "sh"};
        options.cpuSeconds = 1;
        // room for a busy machine, but for the replay that never ends
        options.wallSeconds = std::string(row.script).find("sleep") != std::string::npos ? 2 : 300;
        Verdict verdict;
        EXPECT_EQ(judgeGame(log, options, &verdict), row.decided) << row.script;
        EXPECT_EQ(verdict.verified, row.verified) << row.script;
        EXPECT_EQ(verdict.reason.rfind(row.reason, 0), 0u) << row.script << ": " << verdict.reason;
        EXPECT_EQ(verdict.score, row.verified ? row.score : verdict.score);
    }
    // a refused log is never replayed
    ReplayerOptions never;
    never.command = {"false"};
    Verdict verdict;
    EXPECT_TRUE(judgeGame("vendettix-input 2\n5 jump\n", never, &verdict));
    EXPECT_EQ(verdict.reason.rfind("2: ", 0), 0u);
}

}  // namespace
