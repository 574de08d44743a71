// SPDX-License-Identifier: MIT
// Record and replay: the input log's strict reader, and a checked-in short game replayed with no
// window, which must end on its recorded summary line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/play_session.h"
#include "app/score_keeping.h"
#include "game/hud.h"
#include "game/input_queue.h"
#include "game/game_state.h"
#include "game/input_log.h"
#include "game/play_step.h"
#include "game/play_summary.h"
#include "game/rules.h"
#include "game/score_table.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"
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

// a FIFO nothing writes to
std::string fifoPath()
{
    std::string path = tempLog("");
    std::remove(path.c_str());
    if (mkfifo(path.c_str(), 0600) != 0)
        ADD_FAILURE() << "cannot make a FIFO at " << path;
    return path;
}

TEST(InputLog, BadFilesNameTheFileTheLineAndTheFault)
{
    const std::string head = "vendettix-input 2\n";
    const std::string v1 = "vendettix-input 1\n";
    const std::string longWord(4000, 'x');
    const struct {
        const char* name;
        std::string text;
        const char* where;
        std::string what;
        std::string path = "";  // a file of its own instead of one holding text
    } rows[] = {
        {"missing file", "", ":0:", "cannot read", testing::TempDir() + "vx-no-such.replay"},
        {"empty file", "", ":1:", "first line"},
        {"wrong first line", "vendettix-input 3\n0 quit\n", ":1:", "first line"},
        {"no simulation number", "vendettix-input 3 simulation\n0 quit\n", ":1:", "first line"},
        {"simulation 0", "vendettix-input 3 simulation 0\n0 quit\n", ":1:", "first line"},
        {"simulation 02", "vendettix-input 3 simulation 02\n0 quit\n", ":1:", "first line"},
        {"simulation -2", "vendettix-input 3 simulation -2\n0 quit\n", ":1:", "first line"},
        {"simulation past int", "vendettix-input 3 simulation 2147483648\n0 quit\n", ":1:",
         "first line"},
        {"a word after the simulation", "vendettix-input 3 simulation 2 x\n", ":1:",
         "first line"},
        {"simulation in a version 2 log", "vendettix-input 2 simulation 2\n", ":1:",
         "first line"},
        {"pad line in a version 1 log", v1 + "0 key 97\n2 paddown 0\n", ":3:",
         "\"paddown\" needs \"vendettix-input 2\""},
        {"pad button out of range", head + "2 paddown 21\n", ":2:", "out of range"},
        {"pad axis out of range", head + "2 padaxis 6 0\n", ":2:", "out of range"},
        {"pad position out of range", head + "2 padaxis 0 32768\n", ":2:", "out of range"},
        {"pad position too low", head + "2 padaxis 1 -32769\n", ":2:", "out of range"},
        {"truncated pad axis", head + "2 padaxis 5\n", ":2:", "truncated line"},
        {"dead zone too wide", head + "0 paddeadzone 901\n", ":2:", "out of range"},
        {"dead zone below nothing", head + "0 paddeadzone -1\n", ":2:", "out of range"},
        {"padgone with a number", head + "0 padgone 1\n", ":2:", "unexpected"},
        {"unknown event", head + "0 reshape 600 600\n3 jump 1\n", ":3:", "unknown event \"jump\""},
        {"steps backwards", head + "5 key 97\n5 keyup 97\n4 key 100\n", ":4:", "goes back"},
        {"truncated event", head + "7 button 2 0 300\n", ":2:", "truncated line"},
        {"truncated file", head + "7 key 97\n8 key", ":3:", "truncated line"},
        {"cut mid-number", head + "7 key 97\n8 key 9", ":3:", "truncated line"},
        {"no event", head + "7\n", ":2:", "truncated line"},
        {"key out of range", head + "1 key 256\n", ":2:", "out of range"},
        {"letters after a number", head + "1 key 97x\n", ":2:", "out of range for key: \"97x\""},
        {"negative reshape", head + "0 reshape -600 600\n", ":2:", "out of range for reshape"},
        {"negative step", head + "-1 key 97\n", ":2:", "bad step"},
        {"huge coordinate", head + "1 drag 99999999999999999999 3\n", ":2:", "out of range"},
        {"trailing word", head + "1 quit now\n", ":2:", "unexpected"},
        {"menu choice out of range", head + "1 menu 8\n", ":2:", "out of range"},
        {"menu choice 0", head + "1 menu 0\n", ":2:", "out of range"},
        {"look scale too small", head + "0 look 249 0\n", ":2:", "out of range"},
        {"look scale too large", head + "0 look 4001 0\n", ":2:", "out of range"},
        {"look invert not 0 or 1", head + "0 look 1000 2\n", ":2:", "out of range"},
        // the reader stops at the first byte that is not text, wherever it stands
        {"NUL inside a step", head + std::string("900\0" "999999 key 113\n", 15), ":2:",
         "control character 0"},
        {"NUL in the first line", std::string("vendettix\0", 10), ":1:", "control character 0"},
        {"carriage return", head + "1 key 97\r\n", ":2:", "control character 13"},
        {"delete in a comment", head + "# \x7f\n", ":2:", "control character 127"},
        // nothing is played after the game ends
        {"line after quit", head + "5 quit\n6 key 97\n", ":3:", "after a quit"},
        {"line after q", head + "5 key 113\n5 key 97\n", ":3:", "after a quit"},
        {"line after Q", head + "5 key 81\n5 reached\n", ":3:", "after a quit"},
        {"end after quit elsewhere", head + "5 quit\n6 end\n", ":3:", "after a quit"},
        {"line after end", head + "5 end\n6 reached\n", ":3:", "after the end line"},
        {"reached going back", head + "60 reached\n59 key 97\n", ":3:", "goes back"},
        // a day of play at most
        {"step past a day", head + "5184001 key 97\n", ":2:", "beyond 24 hours"},
        {"reached past a day", head + "5184001 reached\n", ":2:", "beyond 24 hours"},
        {"step 2^40", head + "1099511627776 quit\n", ":2:", "beyond 24 hours"},
        {"long word quoted short", head + "1 " + longWord + "\n", ":2:",
         "unknown event \"" + longWord.substr(0, 60) + "\"..."},
        {"long number quoted short", head + "1 drag 1 " + longWord + "\n", ":2:",
         "\"" + longWord.substr(0, 60) + "\"..."},
        {"line too long", head + "# " + std::string(4095, '#') + "\n", ":2:",
         "a line longer than 4096 characters"},
        {"plus sign", head + "1 key +97\n", ":2:", "out of range for key: \"+97\""},
        {"directory", "", ":0:", "is a directory", testing::TempDir()},
        {"device", "", ":0:", "is a device", "/dev/zero"},
        // a file the system cannot read part way: the reason, not a read tried forever
        {"read error", "", ":0:", "cannot read: Input/output error", "/proc/self/mem"},
        // nothing will ever write it: the open must not wait
        {"FIFO", "", ":0:", "is a FIFO, not a recording", fifoPath()},
    };
    for (const auto& row : rows) {
        std::string path = row.path.empty() ? tempLog(row.text) : row.path;
        InputLog log;
        log.events.resize(1);
        log.reachedStep = 9;
        std::string error;
        EXPECT_FALSE(readInputLog(path, &log, &error)) << row.name;
        EXPECT_EQ(error.rfind(path + row.where, 0), 0u) << row.name << ": " << error;
        EXPECT_NE(error.find(row.what), std::string::npos) << row.name << ": " << error;
        EXPECT_LT(error.size(), path.size() + 200) << row.name << ": a short message";
        EXPECT_TRUE(log.events.empty()) << row.name << ": nothing is played";
        EXPECT_EQ(log.reachedStep, 0) << row.name;
        if (row.path.empty() || path.find("vx-replay-") != std::string::npos)
            std::remove(path.c_str());
    }
}

// the checks are made as the text comes: an endless stream stops at its first fault, a huge one
// at 64 MB, and a file cut anywhere gives the same answer as the file read whole
TEST(InputLog, PiecesAreCheckedAsTheyCome)
{
    InputLogParser zeros("zeros");
    const std::vector<char> nothing(65536, '\0');
    EXPECT_FALSE(zeros.feed(nothing.data(), nothing.size()));
    EXPECT_EQ(zeros.error(), "zeros:1: control character 0 in the line; a recording holds only text");
    EXPECT_FALSE(zeros.feed("\n", 1)) << "nothing more is taken after a fault";
    InputLogParser badLine("bad");
    const std::string bad = "vendettix-input 1\n1 jump\n2 key 97\n";
    EXPECT_FALSE(badLine.feed(bad.data(), bad.size())) << "a bad line stops the reading";
    EXPECT_EQ(badLine.error(), "bad:2: unknown event \"jump\"");

    InputLogParser huge("huge");
    const std::string head = "vendettix-input 1\n";
    ASSERT_TRUE(huge.feed(head.data(), head.size()));
    std::string comments;
    while (comments.size() < 65536)
        comments += "# a comment of sixty-four bytes, line after line, to fill it up\n";
    int64_t fed = int64_t(head.size());
    while (fed + int64_t(comments.size()) <= kLargestLogBytes) {
        ASSERT_TRUE(huge.feed(comments.data(), comments.size())) << fed;
        fed += int64_t(comments.size());
    }
    EXPECT_FALSE(huge.feed(comments.data(), comments.size()));
    EXPECT_NE(huge.error().find("larger than 64 MB"), std::string::npos) << huge.error();
    InputLog log;
    EXPECT_FALSE(huge.finish(&log));

    const std::string text = head + "0 reshape 600 600\n3 key 97\n60 reached\n61 key 113\n61 end\n";
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        InputLogParser parser("cut");
        ASSERT_TRUE(parser.feed(text.data(), cut));
        ASSERT_TRUE(parser.feed(text.data() + cut, text.size() - cut));
        ASSERT_TRUE(parser.finish(&log)) << parser.error();
        EXPECT_EQ(log.events.size(), 3u) << cut;
        EXPECT_EQ(log.reachedStep, 61) << cut;
        EXPECT_TRUE(log.ended) << cut;
    }
}

// the first line names the simulation that played the log; one of another version is said to be,
// in one line naming the file and both versions; logs of versions 1 and 2 name none
TEST(InputLog, TheFirstLineNamesTheSimulationThatPlayedIt)
{
    const struct {
        std::string header;
        int simulation;
        bool noted;
    } rows[] = {
        {"vendettix-input 1", 0, false},
        {"vendettix-input 2", 0, false},
        {kInputLogHeader, kSimulationVersion, false},
        {"vendettix-input 3 simulation 1", 1, true},
        {"vendettix-input 3 simulation " + std::to_string(kSimulationVersion + 1),
         kSimulationVersion + 1, true},
        {"vendettix-input 3 simulation 2147483647", INT_MAX, true},
    };
    for (const auto& row : rows) {
        const std::string path = tempLog(row.header + "\n0 reshape 600 600\n5 key 113\n");
        InputLog log;
        std::string error;
        ASSERT_TRUE(readInputLog(path, &log, &error)) << error;
        std::remove(path.c_str());
        EXPECT_EQ(log.events.size(), 2u) << row.header;
        EXPECT_EQ(log.simulation, row.simulation) << row.header;
        const std::string note = simulationVersionNote(path, log);
        if (row.noted)
            EXPECT_EQ(note, "vendettix: " + path + " was played by version " +
                                std::to_string(row.simulation) +
                                " of the simulation and this game plays version " +
                                std::to_string(kSimulationVersion) +
                                ": it may replay to another game");
        else
            EXPECT_EQ(note, "") << row.header;
    }
}

TEST(InputLog, WhatIsWrittenReadsBackTheSame)
{
    const QueuedInput inputs[] = {
        {0, {InputKind::Reshape, 0, 0, 640, 480}}, {3, {InputKind::KeyDown, 'a', 0, 0, 0}},
        {3, {InputKind::KeyUp, 'a', 0, 0, 0}},     {9, {InputKind::SpecialKey, 106, 0, 0, 0}},
        {9, {InputKind::Button, 2, 1, -4, 700}},   {12, {InputKind::Drag, 0, 0, 17, -3}},
        {13, {InputKind::WindowStatus, 3, 0, 0, 0}},
        {13, {InputKind::Look, 250, 1, 0, 0}},     {14, {InputKind::Look, 4000, 0, 0, 0}},
        {15, {InputKind::Menu, 1, 0, 0, 0}},       {16, {InputKind::Menu, 7, 0, 0, 0}},
        {16, {InputKind::PadDeadzone, 900, 0, 0, 0}}, {16, {InputKind::PadDeadzone, 0, 0, 0, 0}},
        {17, {InputKind::PadDown, 20, 0, 0, 0}},   {17, {InputKind::PadUp, 0, 0, 0, 0}},
        {18, {InputKind::PadAxis, 5, 0, 32767, 0}}, {18, {InputKind::PadAxis, 1, 0, -32768, 0}},
        {19, {InputKind::PadGone, 0, 0, 0, 0}},
        {kLargestLogStep, {InputKind::Quit, 0, 0, 0, 0}},
    };
    std::string path = tempLog("");
    int fd = open(path.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    InputLogWriter writer;
    writer.attach(fd, path);
    writer.writeHeader();
    for (const QueuedInput& input : inputs) {
        writer.writeInput(input);
        if (input.step == 12)
            writer.writeReached(12);
    }
    writer.writeEnd(kLargestLogStep);
    EXPECT_EQ(writer.syncCount(), 0) << "to the disk at most once a second";
    ASSERT_TRUE(writer.close()) << writer.error();
    EXPECT_EQ(writer.syncCount(), 1) << "and once more when closed";
    EXPECT_EQ(readText(path), writer.text());

    InputLog log;
    std::string error;
    ASSERT_TRUE(readInputLog(path, &log, &error)) << error;
    std::remove(path.c_str());
    EXPECT_EQ(log.reachedStep, kLargestLogStep);
    EXPECT_TRUE(log.ended);
    ASSERT_EQ(log.events.size(), std::size(inputs));
    for (size_t i = 0; i < log.events.size(); ++i) {
        const InputEvent &a = log.events[i].event, &b = inputs[i].event;
        EXPECT_EQ(log.events[i].step, inputs[i].step) << i;
        EXPECT_TRUE(a.kind == b.kind && a.code == b.code && a.state == b.state && a.x == b.x &&
                    a.y == b.y)
            << i;
    }
}

// a full device and a pipe whose reader has gone: one line on stderr naming the file and the
// reason, the game's log still whole in memory, and close() owning up to the loss
TEST(InputLog, AFailedWriteIsReportedOnceAndKeptInMind)
{
    std::signal(SIGPIPE, SIG_IGN);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    const struct { const char* name; int fd; const char* reason; } rows[] = {
        {"/dev/full", open("/dev/full", O_WRONLY), "No space left on device"},
        {"closed pipe", ends[1], "Broken pipe"},
    };
    for (const auto& row : rows) {
        ASSERT_GE(row.fd, 0) << row.name;
        InputLogWriter writer;
        writer.attach(row.fd, row.name);
        testing::internal::CaptureStderr();
        writer.writeHeader();
        writer.writeInput({4, {InputKind::KeyDown, 'a', 0, 0, 0}});
        writer.writeReached(60);
        const bool closed = writer.close();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(closed) << row.name;
        EXPECT_TRUE(writer.failed()) << row.name;
        EXPECT_EQ(err, std::string("vendettix: ") + row.name + ": cannot write the recording: " +
                           row.reason + "\n");
        EXPECT_EQ(writer.text(), std::string(kInputLogHeader) + "\n4 key 97\n60 reached\n")
            << row.name;
    }
}

// a disk filling up mid-line leaves the file's whole lines, which still replay
TEST(InputLog, AFileThatFillsUpKeepsItsWholeLines)
{
    const std::string path = tempLog("");
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = 100;
            setrlimit(RLIMIT_FSIZE, &limit);
            InputLogWriter writer;
            writer.attach(open(path.c_str(), O_WRONLY | O_TRUNC), path);
            writer.writeHeader();
            for (int step = 0; step < 20; ++step)
                writer.writeInput({step, {InputKind::Drag, 0, 0, 1000 + step, 2000}});
            std::exit(writer.close() ? 3 : 0);
        },
        testing::ExitedWithCode(0), "cannot write the recording: File too large");
    InputLog log;
    std::string error;
    ASSERT_TRUE(readInputLog(path, &log, &error)) << error;
    EXPECT_EQ(log.events.size(), 4u) << "18 + 4 x 20 bytes fit in 100";
    std::remove(path.c_str());
}

// the refusals of --record: nothing that is not a recording is overwritten, and the old file
// stays until the new recording is whole
TEST(Recording, ReplacesOnlyRecordingsAndOnlyWhenWhole)
{
    enterRunDirectory();
    resetAllGlobals();
    std::string error;
    EXPECT_EQ(startRecording(testing::TempDir(), &error), RecordStart::Refused);
    EXPECT_NE(error.find("is a directory"), std::string::npos) << error;

    const std::string texture = tempLog("BM\x36\x00 pixels\n");
    EXPECT_EQ(startRecording(texture, &error), RecordStart::Refused);
    EXPECT_NE(error.find("is not a recording"), std::string::npos) << error;
    EXPECT_EQ(readText(texture), "BM\x36\x00 pixels\n");
    EXPECT_NE(access((texture + ".part").c_str(), F_OK), 0) << "nothing written";
    std::remove(texture.c_str());

    const std::string noFolder = testing::TempDir() + "vx-no-such-folder/game.replay";
    EXPECT_EQ(startRecording(noFolder, &error), RecordStart::Failed);
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;

    const std::string old = "vendettix-input 1\n5 key 113\n";
    const std::string path = tempLog(old);
    ASSERT_EQ(startRecording(path, &error), RecordStart::Started) << error;
    queueInput(0, InputEvent{InputKind::KeyDown, 'f', 0, 0, 0});
    for (int step = 0; step < 125; ++step)
        runPlayStep();
    EXPECT_EQ(readText(path), old) << "the old recording stays until the new one is whole";
    const std::string header = std::string(kInputLogHeader) + "\n";
    EXPECT_EQ(readText(path + ".part"), header + "0 key 102\n60 reached\n120 reached\n");
    EXPECT_TRUE(finishRecording());
    const std::string whole = header + "0 key 102\n60 reached\n120 reached\n125 end\n";
    EXPECT_EQ(readText(path), whole);
    EXPECT_EQ(recordedLogText(), whole);
    EXPECT_NE(access((path + ".part").c_str(), F_OK), 0);
    resetAllGlobals();

    // an empty file holds nothing to lose
    ASSERT_EQ(startRecording(path + "-empty", &error), RecordStart::Started);
    resetAllGlobals();
    std::remove((path + "-empty.part").c_str());
    std::remove(path.c_str());
}

// a recording that cannot be written ends the game with status 1 and no summary line
TEST(Recording, AFailedRecordingEndsWithStatusOneAndNoSummary)
{
    EXPECT_EXIT(
        {
            enterRunDirectory();
            resetAllGlobals();
            std::string error;
            if (startRecording("/dev/full", &error) != RecordStart::Started)
                std::exit(5);
            runPlayStep();
            endPlay();
        },
        testing::ExitedWithCode(1), "^vendettix: /dev/full: cannot write the recording: "
                                    "No space left on device\n$");
    testing::internal::CaptureStdout();
    EXPECT_EXIT(
        {
            enterRunDirectory();
            resetAllGlobals();
            startReplay(InputLog{});
            endPlay();
        },
        testing::ExitedWithCode(0), "^$");
    testing::internal::GetCapturedStdout();
}

// a log's `reached` and `end` lines carry the replay past its last input; the player's way out
// stops a replay in the window where it stands
TEST(Replay, RunsToTheStepReachedAndStopsOnTheWayOut)
{
    InputLogParser parser("reached");
    const std::string text = "vendettix-input 1\n0 reshape 600 600\n3 key 102\n300 reached\n";
    ASSERT_TRUE(parser.feed(text.data(), text.size()));
    InputLog log;
    ASSERT_TRUE(parser.finish(&log)) << parser.error();
    enterRunDirectory();
    resetAllGlobals();
    EXPECT_EQ(replayHeadless(log).rfind("summary: steps=300 ", 0), 0u);
    resetAllGlobals();
    // --stop-at holds it at its step, the first step too; the next replay runs whole
    for (const int64_t stop : {0, 120}) {
        holdReplayAt(stop);
        EXPECT_EQ(replayHeadless(log).rfind("summary: steps=" + std::to_string(stop) + " ", 0), 0u);
        resetAllGlobals();
    }
    EXPECT_EQ(replayHeadless(log).rfind("summary: steps=300 ", 0), 0u);
    resetAllGlobals();

    const InputEvent ways[] = {
        {InputKind::KeyDown, 'q', 0, 0, 0}, {InputKind::KeyDown, 'Q', 0, 0, 0},
        {InputKind::KeyDown, kKeyEscape, 0, 0, 0}, {InputKind::Quit, 0, 0, 0, 0},
    };
    for (const InputEvent& way : ways) {
        startReplay(log);
        queueWindowInput(InputEvent{InputKind::KeyDown, 'p', 0, 0, 0});
        EXPECT_FALSE(playEnded()) << "the player's other keys are ignored";
        queueWindowInput(way);
        EXPECT_TRUE(playEnded()) << way.code;
        EXPECT_EQ(gQuitRequested, 0) << "not through the game's input";
        resetAllGlobals();
    }
}

const char* const kRecordings[] = {"full_game",  "pad_game", "play_again",
                                   "short_game", "soak",     "strip_on_house"};

// What each recording of tests/data replays to, by the simulation's version. A change that alters
// any of them alters what players' logs play: it raises kSimulationVersion (game/input_log.h) and
// adds its row here, and the recordings' summary files follow.
const char* const kSameOnThisMachine[std::size(kRecordings)] = {
    "summary: steps=8200 level=5 score=95 rolls_left=2 eggs_left=6 "
    "strips=32 state=1d7e4a6ebd0789db",
    "summary: steps=634 level=1 score=80 rolls_left=8 eggs_left=9 "
    "strips=2 state=9c8ca899d96326f1",
    "summary: steps=1500 level=1 score=0 rolls_left=10 eggs_left=10 "
    "strips=0 state=ae7be27ab367f378",
    "summary: steps=2300 level=2 score=30 rolls_left=10 eggs_left=9 "
    "strips=7 state=50a2dc2450836f73",
    "summary: steps=5278 level=5 score=200 rolls_left=0 eggs_left=1 "
    "strips=40 state=8c6be6aab189edbd",
    "summary: steps=600 level=1 score=55 rolls_left=9 eggs_left=10 "
    "strips=1 state=631be1da1d1f8c27",
};
const struct {
    int simulation;
    const char* const* summaries;
} kPlayedBySimulation[] = {
    // the C library's sine, cosine, arc cosine and hypotenuse
    {1, kSameOnThisMachine},
    // the game's own: on this machine the same games, now on every other too
    {2, kSameOnThisMachine},
};

TEST(Replay, TheSimulationsVersionNamesWhatTheRecordingsPlay)
{
    const auto row = std::find_if(
        std::begin(kPlayedBySimulation), std::end(kPlayedBySimulation),
        [](const auto& played) { return played.simulation == kSimulationVersion; });
    ASSERT_NE(row, std::end(kPlayedBySimulation))
        << "no row for simulation version " << kSimulationVersion;
    for (size_t i = 0; i < std::size(kRecordings); ++i) {
        InputLog log;
        std::string error;
        ASSERT_TRUE(readInputLog(sourceFile(std::string("tests/data/") + kRecordings[i] +
                                            ".replay"), &log, &error)) << error;
        enterRunDirectory();
        resetAllGlobals();
        testing::internal::CaptureStdout();
        const std::string summary = replayHeadless(log);
        testing::internal::GetCapturedStdout();
        resetAllGlobals();
        EXPECT_EQ(summary, row->summaries[i])
            << kRecordings[i] << " plays another game than simulation version "
            << kSimulationVersion << " did: raise kSimulationVersion and add its row";
    }
}

// the game is fully determined by its input and its steps: the same summary, hash included, as
// when it was recorded; and replaying while recording writes the same input back. The pad's game
// was played with a software pad plugged in, used, pulled out and the game then quit.
TEST(Replay, RecordedGamesEndOnTheirRecordedSummaries)
{
    for (const std::string name : {"short_game", "pad_game"}) {
        InputLog log;
        std::string error;
        ASSERT_TRUE(readInputLog(sourceFile("tests/data/" + name + ".replay"), &log, &error))
            << error;
        std::string expected = readText(sourceFile("tests/data/" + name + ".summary"));
        ASSERT_FALSE(expected.empty()) << name;

        std::string recording = tempLog("");
        enterRunDirectory();
        resetAllGlobals();
        ASSERT_EQ(startRecording(recording, &error), RecordStart::Started) << error;
        testing::internal::CaptureStdout();
        std::string summary = replayHeadless(log);
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(finishRecording());
        resetAllGlobals();
        EXPECT_EQ(summary + "\n", expected) << name;

        InputLog again;
        ASSERT_TRUE(readInputLog(recording, &again, &error)) << error;
        std::remove(recording.c_str());
        ASSERT_EQ(again.events.size(), log.events.size()) << name;
        for (size_t i = 0; i < log.events.size(); ++i) {
            const InputEvent &a = again.events[i].event, &b = log.events[i].event;
            EXPECT_EQ(again.events[i].step, log.events[i].step) << name << " " << i;
            EXPECT_TRUE(a.kind == b.kind && a.code == b.code && a.x == b.x) << name << " " << i;
        }
    }
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

// a game whose eggs knock plants out, then Enter after GAME OVER: the second game starts with the
// yard as the layout has it, every plant standing
TEST(Replay, PlayAgainStandsTheStruckPlantsUpAgain)
{
    InputLog log;
    std::string error;
    ASSERT_TRUE(readInputLog(sourceFile("tests/data/play_again.replay"), &log, &error)) << error;
    enterRunDirectory();
    resetAllGlobals();
    assignStartingValues();
    if (!gWorld)
        gWorld = new World();
    addPlaceholderStreamer();
    auto shown = [] {
        std::vector<bool> flags;
        for (const Placement* p : gWorld->placements)
            flags.push_back(p->visible);
        return flags;
    };
    const std::vector<bool> layout = shown();
    startReplay(log);
    while (!gGameOver && !playEnded())
        runPlayStep();
    ASSERT_TRUE(gGameOver);
    EXPECT_GT(gPlantBonus, 0);
    const std::vector<bool> afterGame = shown();
    int knockedOut = 0;
    for (size_t i = 0; i < layout.size(); ++i)
        knockedOut += layout[i] && !afterGame[i];
    EXPECT_EQ(knockedOut, 2);
    while (gGameOver && !playEnded())
        runPlayStep();
    ASSERT_FALSE(gGameOver) << "Enter did not start a second game";
    EXPECT_EQ(shown(), layout);
    EXPECT_EQ(gPlantBonus, 0);
    resetAllGlobals();
}

// a live game to GAME OVER and on to its q, kept in the player's table as it ends: ranked on its
// screen, and its replay from the table ends on the line the game ended on. Whatever is wrong
// with the player's folder is one line on standard error, and the game plays on.
TEST(Replay, AGameKeptInTheScoreTableReplaysToTheLineItEndedOn)
{
    InputLog log;
    std::string error;
    ASSERT_TRUE(readInputLog(sourceFile("tests/data/full_game.replay"), &log, &error)) << error;
    const std::string root = testing::TempDir() + "vx-kept-" + std::to_string(getpid());
    std::system(("rm -rf '" + root + "' && mkdir -p '" + root + "'").c_str());
    const std::string savedData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";

    const struct {
        const char* name;
        void (*setup)(const std::string& root);  // what the player's data folder holds first
        const char* note;    // under GAME OVER
        const char* said;    // a part of the one line on standard error; "" for none
        const char* unread;  // a part of what asking for the best kept game says, when none is
    } rows[] = {
        {"first game", [](const std::string&) {}, "New best score!", "", "of rank 3 in "},
        {"second game, same score", [](const std::string&) {}, "Rank 2 of 2", "", "of rank 3 in "},
        {"a file in the way",
         [](const std::string& root) {
             std::system(("rm -rf '" + root + "/data' && echo x > '" + root + "/data'").c_str());
         },
         "", "cannot create", "no kept game of rank 1 in "},
        {"newer table",
         [](const std::string& root) {
             const std::string folder = root + "/data/vendettix";
             std::system(("rm -f '" + root + "/data' && mkdir -p '" + folder + "'").c_str());
             sqlite3* db = nullptr;
             sqlite3_open((folder + "/scores.db").c_str(), &db);
             sqlite3_exec(db, "PRAGMA user_version = 7", nullptr, nullptr, nullptr);
             sqlite3_close(db);
         },
         "", "newer version (7)", "no game can be read from the score table"},
    };
    enterRunDirectory();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.setup(root);
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        resetAllGlobals();
        testing::internal::CaptureStdout();
        replayHeadless(InputLog{});  // the starting values and the world, no step run
        resetPlaySession();
        testing::internal::CaptureStderr();
        startKeepingScores();
        keepInputLogInMemory();
        for (const QueuedInput& input : log.events)
            queueInput(input.step, input.event);
        bool overSeen = false;
        std::string note;
        while (!playEnded()) {
            runPlayStep();
            noteGameProgress();
            if (gGameOver && !overSeen) {
                overSeen = true;
                note = gGameOverNote;
            }
        }
        const std::string played = playSummary();
        finishKeepingScores();
        const std::string said = testing::internal::GetCapturedStderr();
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(overSeen);
        EXPECT_EQ(note, row.note);
        if (*row.said == '\0') {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_NE(said.find(row.said), std::string::npos) << said;
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        }
        // a rank beyond the games kept, or a table that cannot be read, is refused by name
        InputLog kept;
        EXPECT_FALSE(loadKeptGame(*row.note == '\0' ? 1 : 3, &kept, &error));
        EXPECT_NE(error.find(row.unread), std::string::npos) << error;
        if (*row.note == '\0')
            continue;

        // the game kept last is the best or the second, as ranked, and at the last level played
        const int rank = note == "New best score!" ? 1 : 2;
        ScoreTable table;
        RankedGame keptRow;
        ASSERT_EQ(table.open(scoreTablePath(), false, &error), ScoreTableState::Open) << error;
        ASSERT_TRUE(table.gameAtRank(rank, &keptRow));
        EXPECT_EQ(keptRow.game.level, 4);
        EXPECT_NE(played.find(" score=" + std::to_string(keptRow.game.score) + " "),
                  std::string::npos) << played;
        EXPECT_NEAR(double(keptRow.game.endedAt), double(std::time(nullptr)), 600.0);
        ASSERT_TRUE(loadKeptGame(rank, &kept, &error)) << error;
        resetAllGlobals();
        testing::internal::CaptureStdout();
        const std::string replayed = replayHeadless(kept);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(replayed, played);

        // it replays to the end it was kept with; a game kept by another version of the game
        // (another state, another score) is said to be one, naming both
        EXPECT_TRUE(keptGameReplaysToItsEnd(rank, kept, keptRow.game, &error)) << error;
        FinishedGame other = keptRow.game;
        other.stateHash = "00c0ffee00c0ffee";
        other.score += 5;
        EXPECT_FALSE(keptGameReplaysToItsEnd(rank, kept, other, &error));
        const std::string steps = std::to_string(other.steps);
        EXPECT_EQ(error, "vendettix: the kept game of rank " + std::to_string(rank) +
                             " does not replay to its end (kept: steps=" + steps + " score=" +
                             std::to_string(other.score) + " state=00c0ffee00c0ffee; the replay "
                             "reaches steps=" + steps + " score=" +
                             std::to_string(keptRow.game.score) + " state=" +
                             keptRow.game.stateHash + "): it was played by another version of "
                             "the game");
        other = keptRow.game;
        other.steps += 1;
        EXPECT_FALSE(keptGameReplaysToItsEnd(rank, kept, other, &error));
    }
    resetAllGlobals();
    setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    std::system(("rm -rf '" + root + "'").c_str());
}

// another program holding scores.db locked from before start-up: the game plays on at every step
// while its score waits, shown as waiting under GAME OVER; it is saved within a quarter second
// (15 steps) of the lock's end, or, with the lock held to the end, one line says it was not saved.
// A start and quit with no game kept makes no table.
TEST(Replay, AGameOverALockedTableIsSavedOnceTheLockGoes)
{
    InputLog log;
    std::string error;
    ASSERT_TRUE(readInputLog(sourceFile("tests/data/full_game.replay"), &log, &error)) << error;
    const std::string root = testing::TempDir() + "vx-locked-" + std::to_string(getpid());
    const std::string savedData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    enterRunDirectory();

    const struct {
        const char* name;
        int64_t releasedAfter;  // steps after GAME OVER the lock goes; -1: held to the end
        const char* said;       // a part of the one line on standard error; "" for none
    } rows[] = {
        {"released after GAME OVER", 120, ""},
        {"held to the end", -1, "the score "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::system(("rm -rf '" + root + "' && mkdir -p '" + root + "'").c_str());
        resetAllGlobals();
        resetPlaySession();
        startKeepingScores();
        finishKeepingScores();
        struct stat st;
        EXPECT_NE(stat(scoreTablePath().c_str(), &st), 0) << "made with no game kept";
        {
            std::system(("mkdir -p '" + root + "/data/vendettix'").c_str());
            ScoreTable made;
            std::string note;
            ASSERT_EQ(made.open(scoreTablePath(), true, &note), ScoreTableState::Open) << note;
        }
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(scoreTablePath().c_str(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

        resetAllGlobals();
        testing::internal::CaptureStdout();
        replayHeadless(InputLog{});
        resetPlaySession();
        testing::internal::CaptureStderr();
        startKeepingScores();
        keepInputLogInMemory();
        for (const QueuedInput& input : log.events)
            queueInput(input.step, input.event);
        int64_t overAt = -1, releasedAt = -1, savedAt = -1;
        while (!playEnded()) {
            runPlayStep();
            noteGameProgress();
            if (gGameOver && overAt < 0) {
                overAt = gStepCount;
                EXPECT_STREQ(gGameOverNote, "Saving the score...");
            }
            if (other && overAt >= 0 && gStepCount - overAt == row.releasedAfter) {
                EXPECT_STREQ(gGameOverNote, "Saving the score...") << "saved under the lock";
                sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
                sqlite3_close(other);
                other = nullptr;
                releasedAt = gStepCount;
            }
            if (releasedAt >= 0 && savedAt < 0 && std::string(gGameOverNote) != "Saving the score...")
                savedAt = gStepCount;
        }
        const std::string played = playSummary();
        finishKeepingScores();
        const std::string said = testing::internal::GetCapturedStderr();
        testing::internal::GetCapturedStdout();
        if (other) {
            // the commands wait a while for the lock, then say so and fail
            testing::internal::CaptureStdout();
            testing::internal::CaptureStderr();
            EXPECT_EQ(printBestScores(), 1);
            InputLog none;
            EXPECT_FALSE(loadKeptGame(1, &none, &error));
            EXPECT_EQ(error, "vendettix: no game can be read from the score table");
            EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
            const std::string lockSaid = testing::internal::GetCapturedStderr();
            EXPECT_NE(lockSaid.find(" is locked by another program\n"), std::string::npos)
                << lockSaid;
            sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(other);
        }
        ASSERT_GE(overAt, 0);
        ScoreTable table;
        std::string note;
        ASSERT_EQ(table.open(scoreTablePath(), false, &note), ScoreTableState::Open) << note;
        std::vector<RankedGame> kept = table.best(10);
        if (row.releasedAfter < 0) {
            EXPECT_TRUE(kept.empty());
            EXPECT_NE(said.find(row.said + std::to_string(computeScore()) + " was not saved in " +
                                scoreTablePath() + ": the table is locked by another program"),
                      std::string::npos) << said;
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            continue;
        }
        EXPECT_EQ(said, "");
        ASSERT_GE(savedAt, 0) << "never saved";
        EXPECT_LE(savedAt - releasedAt, 15);
        EXPECT_STREQ(gGameOverNote, "New best score!");
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0].game.playSteps, overAt) << "its length is to its GAME OVER";
        testing::internal::CaptureStdout();
        EXPECT_EQ(printBestScores(), 0);
        const std::string listed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), 2) << listed;
        // kept whole: its replay ends on the line the game ended on
        InputLog keptLog;
        ASSERT_TRUE(loadKeptGame(1, &keptLog, &error)) << error;
        resetAllGlobals();
        testing::internal::CaptureStdout();
        const std::string replayed = replayHeadless(keptLog);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(replayed, played);
    }
    resetAllGlobals();
    resetPlaySession();
    setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    std::system(("rm -rf '" + root + "'").c_str());
}

}  // namespace
