// SPDX-License-Identifier: MIT
// Record and replay: the input log's strict reader, and a checked-in short game replayed with no
// window, which must end on its recorded summary line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/play_session.h"
#include "game/game_state.h"
#include "game/input_log.h"
#include "game/play_step.h"
#include "game/play_summary.h"
#include "game/rules.h"
#include "tests/support/run_dir.h"

namespace {

std::string sourceFile(const std::string& name)
{
    const char* dir = std::getenv("VX_SOURCE_DIR");
    return std::string(dir ? dir : ".") + "/" + name;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string tempLog(const std::string& text)
{
    std::string pattern = testing::TempDir() + "vx-replay-XXXXXX";
    std::vector<char> path(pattern.begin(), pattern.end());
    path.push_back('\0');
    int fd = mkstemp(path.data());
    if (fd < 0)
        return "";
    if (write(fd, text.data(), text.size()) != ssize_t(text.size()))
        ADD_FAILURE() << "short write";
    close(fd);
    return path.data();
}

TEST(InputLog, BadFilesNameTheFileTheLineAndTheFault)
{
    const std::string head = "vendettix-input 1\n";
    const struct { const char* name; std::string text; const char* where; const char* what; } rows[] = {
        {"missing file", "", ":0:", "cannot read"},
        {"empty file", "\x01", ":1:", "first line"},
        {"wrong first line", "vendettix-input 2\n0 quit\n", ":1:", "first line"},
        {"unknown event", head + "0 reshape 600 600\n3 jump 1\n", ":3:", "unknown event \"jump\""},
        {"steps backwards", head + "5 key 97\n5 keyup 97\n4 key 100\n", ":4:", "goes back"},
        {"truncated event", head + "7 button 2 0 300\n", ":2:", "truncated line"},
        {"truncated file", head + "7 key 97\n8 key", ":3:", "truncated line"},
        {"no event", head + "7\n", ":2:", "truncated line"},
        {"key out of range", head + "1 key 256\n", ":2:", "out of range"},
        {"negative step", head + "-1 key 97\n", ":2:", "bad step"},
        {"huge coordinate", head + "1 drag 99999999999999999999 3\n", ":2:", "out of range"},
        {"trailing word", head + "1 quit now\n", ":2:", "unexpected"},
        {"menu choice out of range", head + "1 menu 8\n", ":2:", "out of range"},
        {"menu choice 0", head + "1 menu 0\n", ":2:", "out of range"},
        {"look scale too small", head + "0 look 249 0\n", ":2:", "out of range"},
        {"look scale too large", head + "0 look 4001 0\n", ":2:", "out of range"},
        {"look invert not 0 or 1", head + "0 look 1000 2\n", ":2:", "out of range"},
    };
    for (const auto& row : rows) {
        const bool missing = std::string(row.name) == "missing file";
        std::string path = missing ? testing::TempDir() + "vx-no-such.replay"
                                   : tempLog(row.text == "\x01" ? "" : row.text);
        InputLog log;
        log.events.resize(1);
        std::string error;
        EXPECT_FALSE(readInputLog(path, &log, &error)) << row.name;
        EXPECT_EQ(error.rfind(path + row.where, 0), 0u) << row.name << ": " << error;
        EXPECT_NE(error.find(row.what), std::string::npos) << row.name << ": " << error;
        EXPECT_TRUE(log.events.empty()) << row.name << ": nothing is played";
        if (!missing)
            std::remove(path.c_str());
    }
}

TEST(InputLog, WhatIsWrittenReadsBackTheSame)
{
    const QueuedInput inputs[] = {
        {0, {InputKind::Reshape, 0, 0, 640, 480}}, {3, {InputKind::KeyDown, 'a', 0, 0, 0}},
        {3, {InputKind::KeyUp, 'a', 0, 0, 0}},     {9, {InputKind::SpecialKey, 106, 0, 0, 0}},
        {9, {InputKind::Button, 2, 1, -4, 700}},   {12, {InputKind::Drag, 0, 0, 17, -3}},
        {12, {InputKind::Look, 250, 1, 0, 0}},     {13, {InputKind::Look, 4000, 0, 0, 0}},
        {14, {InputKind::Menu, 1, 0, 0, 0}},       {15, {InputKind::Menu, 7, 0, 0, 0}},
        {1LL << 33, {InputKind::Quit, 0, 0, 0, 0}},
    };
    std::string path = tempLog("");
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    writeInputLogHeader(file);
    for (const QueuedInput& input : inputs)
        writeInputLine(file, input);
    std::fclose(file);

    InputLog log;
    std::string error;
    ASSERT_TRUE(readInputLog(path, &log, &error)) << error;
    std::remove(path.c_str());
    ASSERT_EQ(log.events.size(), std::size(inputs));
    for (size_t i = 0; i < log.events.size(); ++i) {
        const InputEvent &a = log.events[i].event, &b = inputs[i].event;
        EXPECT_EQ(log.events[i].step, inputs[i].step) << i;
        EXPECT_TRUE(a.kind == b.kind && a.code == b.code && a.state == b.state && a.x == b.x &&
                    a.y == b.y)
            << i;
    }
}

// the game is fully determined by its input and its steps: the same summary, hash included, as
// when it was recorded; and replaying while recording writes the same input back
TEST(Replay, ShortGameEndsOnItsRecordedSummary)
{
    InputLog log;
    std::string error;
    ASSERT_TRUE(readInputLog(sourceFile("tests/data/short_game.replay"), &log, &error)) << error;
    std::string expected = readText(sourceFile("tests/data/short_game.summary"));
    ASSERT_FALSE(expected.empty());

    std::string recording = tempLog("");
    enterRunDirectory();
    resetAllGlobals();
    ASSERT_TRUE(startRecording(recording));
    testing::internal::CaptureStdout();
    std::string summary = replayHeadless(log);
    testing::internal::GetCapturedStdout();
    resetAllGlobals();
    EXPECT_EQ(summary + "\n", expected);

    InputLog again;
    ASSERT_TRUE(readInputLog(recording, &again, &error)) << error;
    std::remove(recording.c_str());
    ASSERT_EQ(again.events.size(), log.events.size());
    for (size_t i = 0; i < log.events.size(); ++i)
        EXPECT_EQ(again.events[i].step, log.events[i].step) << i;
}

// play again: a second game in the same window, played with the same input, ends where the first
// ended, state hash and all; only the count of steps differs
TEST(Replay, PlayAgainWithTheSameInputEndsTheSameWay)
{
    InputLog log;
    std::string error;
    ASSERT_TRUE(readInputLog(sourceFile("tests/data/full_game.replay"), &log, &error)) << error;
    // the first game's input, its final q (after GAME OVER) turned into the frame-rate key, so
    // the game stays for the second
    ASSERT_EQ(log.events.back().event.code, 'q');
    log.events.back().event.code = 'f';

    enterRunDirectory();
    resetAllGlobals();
    testing::internal::CaptureStdout();
    const std::string first = replayHeadless(log);
    const uint8_t firstOver = gGameOver;
    startNewGame();
    InputLog second = log;
    for (QueuedInput& input : second.events)
        input.step += gStepCount;
    startReplay(second);
    while (!playEnded())
        runPlayStep();
    const std::string again = playSummary();
    testing::internal::GetCapturedStdout();
    resetAllGlobals();
    ASSERT_EQ(firstOver, 1) << first;

    auto withoutSteps = [](const std::string& line) {
        return line.substr(line.find(" level="));
    };
    EXPECT_NE(first.find("level=5"), std::string::npos) << first;
    EXPECT_EQ(withoutSteps(again), withoutSteps(first));
}

}  // namespace
