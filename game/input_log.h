// SPDX-License-Identifier: MIT
// game: the input log, the text file of `--record` and `--replay`.
//
//   vendettix-input 3 simulation <n>
//   <step> key <code>             a key pressed (its character code, 0-255)
//   <step> keyup <code>           that key released
//   <step> special <code>         a special key (F1 = 1, Home = 106)
//   <step> button <b> <s> <x> <y> mouse button b (0 left, 1 middle, 2 right), s 0 down 1 up,
//                                 at window pixel (x, y) from the top left
//   <step> drag <x> <y>           the pointer moved with a button held
//   <step> reshape <w> <h>        the window's new size
//   <step> quit                   the menu's Exit
//   <step> window <status>        the window's visibility: 0 hidden (iconified), 1 shown,
//                                 2 partly covered, 3 wholly covered
//   <step> menu <choice>          a menu entry other than Exit: 1 pause or resume, 2 full
//                                 screen, 3 sound on or off, 4 show score, 5 landing marker,
//                                 6 help, 7 play again
//   <step> look <scale> <invert>  the Look's settings: its scale in thousandths (250-4000),
//                                 1 when dragging up (or pushing the pad's stick up) looks down
//   <step> paddown <b>            game pad button b pressed (0 A, 1 B, 2 X, 3 Y, 4 Back,
//                                 5 Guide, 6 Start, 7 left stick, 8 right stick, 9 left
//                                 shoulder, 10 right shoulder, 11-14 d-pad up, down, left,
//                                 right, up to 20)
//   <step> padup <b>              that button released
//   <step> padaxis <a> <v>        pad axis a at position v, -32768 to 32767 (0 left stick x,
//                                 1 left stick y, down positive, 2 and 3 the right stick,
//                                 4 left trigger, 5 right trigger, 0 to 32767)
//   <step> padgone                the pad in use was pulled out
//   <step> paddeadzone <d>        the pad stick's dead zone from then on, in thousandths of
//                                 full tilt (0-900)
//   <step> reached                the game had run this many steps (written every 60 steps,
//                                 so a recording cut off anywhere replays to within a second)
//   <step> end                    the game ended after this many steps; the last line
//
// One line a step or event, each with the step at which it takes effect (0 is the first step;
// steps never go backwards, and stay within 24 hours of play). A replay runs every step of its
// events and up to its last `reached` or `end`. Nothing but `end` (at the same step) follows a
// quit (the `quit` event, or the key q or Q). Lines starting with # and empty lines are
// ignored; a line holds no control character but tab and at most 4096 characters. Every line
// ends with a newline: a last line without one was cut off.
//
// The first line names the simulation that played the game: its version n, raised whenever a
// change alters what any log plays; a log of another version may replay to another game. Files
// of versions 1 and 2 name none and still read: version 1 (first line "vendettix-input 1",
// before the game pad) has no pad lines; version 2 ("vendettix-input 2") has them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/input_queue.h"

// The simulation's version: raised whenever a change alters what any recorded log plays.
//   1  the C library's sine, cosine, arc cosine and hypotenuse (logs of that time name no
//      version)
//   2  the game's own (common/exact_math.h): every target and C library plays the same game
constexpr int kSimulationVersion = 2;
// the first line this game writes; it names kSimulationVersion
constexpr const char* kInputLogHeader = "vendettix-input 3 simulation 2";
// the number a header line ends with
constexpr int headerSimulation(const char* line)
{
    int n = 0;
    for (; *line; ++line)
        n = *line >= '0' && *line <= '9' ? n * 10 + (*line - '0') : 0;
    return n;
}
static_assert(headerSimulation(kInputLogHeader) == kSimulationVersion,
              "the header names the simulation's version");
// the versions before the simulation was named: the first before the game pad
constexpr const char* kInputLogHeaderV1 = "vendettix-input 1";
constexpr const char* kInputLogHeaderV2 = "vendettix-input 2";
// the log's version its first line names: 1, 2 or 3, 0 for none; and the simulation's version
// it names in *simulation (0 for versions 1 and 2)
int inputLogVersion(const std::string& firstLine, int* simulation = nullptr);
constexpr int64_t kLargestLogStep = 24LL * 3600 * 60;       // a day of play
constexpr int64_t kLargestLogBytes = 64LL * 1024 * 1024;     // far beyond a day of input
constexpr int64_t kStepsBetweenReachedLines = 60;           // a second of play

struct InputLog {
    std::vector<QueuedInput> events;
    int64_t reachedStep = 0;  // the last `reached` or `end` step (0 when there is none)
    bool ended = false;       // the log has its `end` line: the game was ended, not cut off
    int simulation = 0;       // the simulation's version that played it; 0 when it names none
};

// one line for standard error when the log was played by another version of the simulation than
// this game's (it may replay to another game); empty when it is this one's or names none
std::string simulationVersionNote(const std::string& name, const InputLog& log);

// the text of one line, its newline included
std::string inputLogLine(const QueuedInput& input);
std::string reachedLogLine(int64_t step);
std::string endLogLine(int64_t step);

// The log as the game writes it: every line is kept as text (the whole log of the game, for
// whoever stores it) and, when a file is attached, written through to it at once, so a game
// killed at any moment leaves its log up to the line before. The first write that fails prints
// one line on standard error; the file then keeps only its whole lines, later lines go to the
// text alone, and failed() stays true.
class InputLogWriter {
public:
    InputLogWriter() = default;
    InputLogWriter(const InputLogWriter&) = delete;
    InputLogWriter& operator=(const InputLogWriter&) = delete;
    ~InputLogWriter();

    // writes through to fd (the writer closes it); name is the file's name in messages
    void attach(int fd, const std::string& name);
    void writeHeader();
    void writeInput(const QueuedInput& input);
    // a `reached` line, and the file's data to the disk at most once a second
    void writeReached(int64_t step);
    void writeEnd(int64_t step);
    // the data to the disk and the file closed; false when any write failed
    bool close();

    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& text() const { return text_; }
    // how often the data was sent to the disk
    int syncCount() const { return syncs_; }

private:
    void write(const std::string& line);
    void sync(bool always);
    void fail(const char* what, int errnoValue);

    int fd_ = -1;
    std::string name_;
    std::string text_;
    std::string error_;
    int64_t whole_ = 0;        // bytes of whole lines in the file
    int64_t lastSyncMs_ = -1;  // steady clock
    int syncs_ = 0;
};

// Checks text fed in pieces as it comes, so a reader of an endless or huge stream stops at the
// first fault. Messages are "NAME:LINE: what is wrong".
class InputLogParser {
public:
    explicit InputLogParser(std::string name) : name_(std::move(name)) {}
    // false at the first fault; the parser then takes nothing more
    bool feed(const char* data, size_t size);
    // checks the end of the text; on success the log is moved to *log
    bool finish(InputLog* log);
    const std::string& error() const { return error_; }

private:
    bool takeLine();
    bool fail(const std::string& what);

    std::string name_;
    std::string line_;
    std::string error_;
    InputLog log_;
    int64_t bytes_ = 0;
    int lineNumber_ = 1;
    int version_ = 0;  // as the first line names it
    int64_t lastStep_ = 0;
    bool quit_ = false;
};

// reads and checks the whole file; on a fault returns false with "FILE:LINE: what is wrong"
// in *error (line 0 for a file that cannot be read) and no events in *log
bool readInputLog(const std::string& path, InputLog* log, std::string* error);
