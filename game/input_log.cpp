// SPDX-License-Identifier: MIT
// game: the input log's writer and its strict reader.
#include "game/input_log.h"

#include "game/input_bindings.h"
#include "game/pad_bindings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// larger than any screen; pointers may stand a little outside the window during a drag
constexpr long long kLargestCoordinate = 65535;
// a message quotes no more of a bad word than this
constexpr size_t kQuotedChars = 60;
constexpr size_t kReadPiece = 64 * 1024;
constexpr size_t kLongestLine = 4096;
constexpr int64_t kSyncIntervalMs = 1000;

// the log's own lines beside the input events
enum class LineKind : uint8_t { Input, Reached, End };

struct EventName {
    const char* name;
    InputKind kind;
    int fields;  // numbers after the name
    LineKind line = LineKind::Input;
    int version = 1;  // the log's version that brought it
};

constexpr LineKind kInput = LineKind::Input;

const EventName kEventNames[] = {
    {"key", InputKind::KeyDown, 1},    {"keyup", InputKind::KeyUp, 1},
    {"special", InputKind::SpecialKey, 1}, {"button", InputKind::Button, 4},
    {"drag", InputKind::Drag, 2},      {"reshape", InputKind::Reshape, 2},
    {"quit", InputKind::Quit, 0},      {"window", InputKind::WindowStatus, 1},
    {"menu", InputKind::Menu, 1},      {"look", InputKind::Look, 2},
    {"reached", InputKind::Quit, 0, LineKind::Reached},
    {"end", InputKind::Quit, 0, LineKind::End},
    {"paddown", InputKind::PadDown, 1, kInput, 2}, {"padup", InputKind::PadUp, 1, kInput, 2},
    {"padaxis", InputKind::PadAxis, 2, kInput, 2}, {"padgone", InputKind::PadGone, 0, kInput, 2},
    {"paddeadzone", InputKind::PadDeadzone, 1, kInput, 2},
};

const EventName* nameOf(InputKind kind)
{
    for (const EventName& e : kEventNames)
        if (e.kind == kind && e.line == LineKind::Input)
            return &e;
    return nullptr;
}

// the bindings end the game on these; whatever follows is never played
bool quits(const InputEvent& event)
{
    return event.kind == InputKind::Quit ||
           (event.kind == InputKind::KeyDown && (event.code == 'q' || event.code == 'Q'));
}

std::string quoted(const std::string& word)
{
    if (word.size() <= kQuotedChars)
        return "\"" + word + "\"";
    return "\"" + word.substr(0, kQuotedChars) + "\"...";
}

// a whole decimal integer within [lo, hi], or false
bool readNumber(const std::string& word, long long lo, long long hi, long long* out)
{
    if (word.empty() || (word[0] != '-' && (word[0] < '0' || word[0] > '9')))
        return false;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < lo || value > hi)
        return false;
    *out = value;
    return true;
}

// the line's words, split at spaces and tabs
std::vector<std::string> wordsOf(const std::string& line)
{
    std::vector<std::string> words;
    size_t at = 0;
    while (at < line.size()) {
        size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string::npos)
            break;
        size_t end = line.find_first_of(" \t", start);
        if (end == std::string::npos)
            end = line.size();
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

// what is wrong with one line of a log of that version, or an empty string; the event and its
// step go to *input, the line's kind to *kind
std::string parseLine(const std::string& line, int version, QueuedInput* input, LineKind* kind)
{
    const std::vector<std::string> words = wordsOf(line);
    const std::string stepWord = words.empty() ? "" : words[0];
    long long step = 0;
    if (!readNumber(stepWord, 0, kLargestLogStep, &step)) {
        long long any = 0;
        if (readNumber(stepWord, 0, LLONG_MAX, &any))
            return "step " + stepWord + " is beyond 24 hours of play (" +
                   std::to_string(kLargestLogStep) + " steps)";
        return "bad step number " + quoted(stepWord);
    }
    if (words.size() < 2)
        return "truncated line: no event after the step";
    const std::string& name = words[1];
    const EventName* event = nullptr;
    for (const EventName& e : kEventNames)
        if (name == e.name)
            event = &e;
    if (!event)
        return "unknown event " + quoted(name);
    if (event->version > version)
        return quoted(name) + " needs \"vendettix-input " + std::to_string(event->version) +
               "\" on the first line";

    // the ranges each field may take
    struct Range { long long lo, hi; };
    Range ranges[4] = {};
    switch (event->kind) {
    case InputKind::KeyDown: case InputKind::KeyUp: ranges[0] = {0, 255}; break;
    case InputKind::SpecialKey: ranges[0] = {0, 255}; break;
    case InputKind::Button:
        ranges[0] = {0, 4};
        ranges[1] = {0, 1};
        ranges[2] = ranges[3] = {-kLargestCoordinate, kLargestCoordinate};
        break;
    case InputKind::Drag:
        ranges[0] = ranges[1] = {-kLargestCoordinate, kLargestCoordinate};
        break;
    case InputKind::Reshape: ranges[0] = ranges[1] = {0, kLargestCoordinate}; break;
    case InputKind::Quit: break;
    case InputKind::WindowStatus: ranges[0] = {0, 3}; break;  // hidden .. fully covered
    case InputKind::Menu: ranges[0] = {kFirstMenuChoice, kLastMenuChoice}; break;
    case InputKind::Look:
        ranges[0] = {kLookScaleUnits / 4, kLookScaleUnits * 4};
        ranges[1] = {0, 1};
        break;
    case InputKind::SpecialKeyUp: break;  // never in a log: it has no name
    case InputKind::PadDown: case InputKind::PadUp: ranges[0] = {0, kPadButtonCount - 1}; break;
    case InputKind::PadAxis:
        ranges[0] = {0, kPadAxisCount - 1};
        ranges[1] = {kPadAxisMin, kPadAxisMax};
        break;
    case InputKind::PadGone: break;
    case InputKind::PadDeadzone: ranges[0] = {0, kPadDeadzoneMax}; break;
    }
    if (words.size() < size_t(2 + event->fields))
        return "truncated line: " + name + " needs " + std::to_string(event->fields) +
               " numbers";
    long long values[4] = {};
    for (int k = 0; k < event->fields; ++k)
        if (!readNumber(words[2 + k], ranges[k].lo, ranges[k].hi, &values[k]))
            return "number out of range for " + name + ": " + quoted(words[2 + k]);
    if (words.size() > size_t(2 + event->fields))
        return "unexpected " + quoted(words[2 + event->fields]) + " after " + name;

    InputEvent e{event->kind, 0, 0, 0, 0};
    switch (event->kind) {
    case InputKind::Button:
        e.code = int32_t(values[0]);
        e.state = int32_t(values[1]);
        e.x = int32_t(values[2]);
        e.y = int32_t(values[3]);
        break;
    case InputKind::Drag: case InputKind::Reshape:
        e.x = int32_t(values[0]);
        e.y = int32_t(values[1]);
        break;
    case InputKind::Look:
        e.code = int32_t(values[0]);
        e.state = int32_t(values[1]);
        break;
    case InputKind::PadAxis:
        e.code = int32_t(values[0]);
        e.x = int32_t(values[1]);
        break;
    default:
        e.code = int32_t(values[0]);
        break;
    }
    *input = QueuedInput{step, e};
    *kind = event->line;
    return "";
}

int64_t steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int inputLogVersion(const std::string& firstLine, int* simulation)
{
    if (simulation)
        *simulation = 0;
    if (firstLine == kInputLogHeaderV1 || firstLine == kInputLogHeaderV2)
        return firstLine == kInputLogHeaderV1 ? 1 : 2;
    // "vendettix-input 3 simulation <n>", n from 1, written as the writer writes it
    const std::string head = "vendettix-input 3 simulation ";
    long long n = 0;
    if (firstLine.compare(0, head.size(), head) != 0 || firstLine.size() == head.size() ||
        firstLine[head.size()] == '0' || firstLine[head.size()] == '-' ||
        !readNumber(firstLine.substr(head.size()), 1, INT_MAX, &n))
        return 0;
    if (simulation)
        *simulation = int(n);
    return 3;
}

std::string simulationVersionNote(const std::string& name, const InputLog& log)
{
    if (log.simulation == 0 || log.simulation == kSimulationVersion)
        return "";
    return "vendettix: " + name + " was played by version " + std::to_string(log.simulation) +
           " of the simulation and this game plays version " +
           std::to_string(kSimulationVersion) + ": it may replay to another game";
}

std::string inputLogLine(const QueuedInput& input)
{
    const EventName* e = nameOf(input.event.kind);
    if (!e)
        return "";
    const InputEvent& ev = input.event;
    char buffer[96];
    int n = std::snprintf(buffer, sizeof buffer, "%lld %s", static_cast<long long>(input.step),
                          e->name);
    switch (ev.kind) {
    case InputKind::Button:
        std::snprintf(buffer + n, sizeof buffer - n, " %d %d %d %d\n", ev.code, ev.state, ev.x,
                      ev.y);
        break;
    case InputKind::Drag: case InputKind::Reshape:
        std::snprintf(buffer + n, sizeof buffer - n, " %d %d\n", ev.x, ev.y);
        break;
    case InputKind::Look:
        std::snprintf(buffer + n, sizeof buffer - n, " %d %d\n", ev.code, ev.state);
        break;
    case InputKind::PadAxis:
        std::snprintf(buffer + n, sizeof buffer - n, " %d %d\n", ev.code, ev.x);
        break;
    case InputKind::Quit: case InputKind::PadGone:
        std::snprintf(buffer + n, sizeof buffer - n, "\n");
        break;
    default: std::snprintf(buffer + n, sizeof buffer - n, " %d\n", ev.code); break;
    }
    return buffer;
}

std::string reachedLogLine(int64_t step)
{
    return std::to_string(step) + " reached\n";
}

std::string endLogLine(int64_t step)
{
    return std::to_string(step) + " end\n";
}

InputLogWriter::~InputLogWriter()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void InputLogWriter::attach(int fd, const std::string& name)
{
    fd_ = fd;
    name_ = name;
    lastSyncMs_ = steadyMs();
}

void InputLogWriter::fail(const char* what, int errnoValue)
{
    if (failed())
        return;
    error_ = name_ + ": " + what + ": " + std::strerror(errnoValue);
    std::fprintf(stderr, "vendettix: %s\n", error_.c_str());
    std::fflush(stderr);
}

void InputLogWriter::write(const std::string& line)
{
    text_ += line;
    if (fd_ < 0 || failed())
        return;
    size_t done = 0;
    while (done < line.size()) {
        ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fail("cannot write the recording", n < 0 ? errno : ENOSPC);
            // a line cut short would make the whole file unreadable: keep the whole lines
            if (done > 0 && ftruncate(fd_, whole_) != 0) {
                // a pipe or a device cannot be cut back; the reader names the cut line
            }
            return;
        }
        done += size_t(n);
    }
    whole_ += int64_t(line.size());
}

void InputLogWriter::sync(bool always)
{
    if (fd_ < 0 || failed())
        return;
    const int64_t now = steadyMs();
    if (!always && now - lastSyncMs_ < kSyncIntervalMs)
        return;
    lastSyncMs_ = now;
    ++syncs_;
    // a pipe or a terminal has no disk behind it
    if (fdatasync(fd_) != 0 && errno != EINVAL && errno != EROFS)
        fail("cannot write the recording to the disk", errno);
}

void InputLogWriter::writeHeader()
{
    write(std::string(kInputLogHeader) + "\n");
}

void InputLogWriter::writeInput(const QueuedInput& input)
{
    write(inputLogLine(input));
}

void InputLogWriter::writeReached(int64_t step)
{
    write(reachedLogLine(step));
    sync(false);
}

void InputLogWriter::writeEnd(int64_t step)
{
    write(endLogLine(step));
}

bool InputLogWriter::close()
{
    if (fd_ < 0)
        return !failed();
    sync(true);
    if (::close(fd_) != 0 && errno != EINTR)
        fail("cannot write the recording", errno);
    fd_ = -1;
    return !failed();
}

bool InputLogParser::fail(const std::string& what)
{
    if (error_.empty())
        error_ = name_ + ":" + std::to_string(lineNumber_) + ": " + what;
    return false;
}

bool InputLogParser::feed(const char* data, size_t size)
{
    if (!error_.empty())
        return false;
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (++bytes_ > kLargestLogBytes)
            return fail("the file is larger than 64 MB; no recording is that long");
        if (c == '\n') {
            if (!takeLine())
                return false;
            line_.clear();
            ++lineNumber_;
        } else if ((c < 0x20 && c != '\t') || c == 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "%u", unsigned(c));
            return fail(std::string("control character ") + code + " in the line; a recording "
                        "holds only text");
        } else if (line_.size() >= kLongestLine) {
            // no event needs a line that long; a huge word is refused as it comes
            return fail("a line longer than " + std::to_string(kLongestLine) + " characters");
        } else {
            line_ += char(c);
        }
    }
    return true;
}

bool InputLogParser::takeLine()
{
    if (lineNumber_ == 1) {
        version_ = inputLogVersion(line_, &log_.simulation);
        if (version_ == 0)
            return fail(std::string("the first line must be \"") + kInputLogHeader + "\"");
        return true;
    }
    if (line_.empty() || line_[0] == '#')
        return true;
    QueuedInput input{};
    LineKind kind = LineKind::Input;
    std::string wrong = parseLine(line_, version_, &input, &kind);
    if (!wrong.empty())
        return fail(wrong);
    if (log_.ended)
        return fail("a line after the end line");
    if (quit_ && !(kind == LineKind::End && input.step == lastStep_))
        return fail("a line after a quit, which ends the game");
    if (input.step < lastStep_)
        return fail("step " + std::to_string(input.step) + " goes back before step " +
                    std::to_string(lastStep_));
    lastStep_ = input.step;
    switch (kind) {
    case LineKind::Input:
        quit_ = quits(input.event);
        log_.events.push_back(input);
        break;
    case LineKind::Reached:
        log_.reachedStep = input.step;
        break;
    case LineKind::End:
        log_.reachedStep = input.step;
        log_.ended = true;
        break;
    }
    return true;
}

bool InputLogParser::finish(InputLog* log)
{
    *log = InputLog{};
    if (!error_.empty())
        return false;
    if (bytes_ == 0)
        return fail(std::string("empty file; the first line must be \"") + kInputLogHeader +
                    "\"");
    if (!line_.empty())
        return fail("truncated line: the file ends without a newline");
    *log = std::move(log_);
    log_ = InputLog{};
    return true;
}

bool readInputLog(const std::string& path, InputLog* log, std::string* error)
{
    *log = InputLog{};
    auto refuse = [&](const std::string& what) {
        *error = path + ":0: " + what;
        return false;
    };
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return refuse(std::string("cannot read: ") + std::strerror(errno));
    struct stat info {};
    const char* notAFile = nullptr;
    if (fstat(fd, &info) != 0)
        notAFile = "cannot read it";
    else if (S_ISDIR(info.st_mode))
        notAFile = "is a directory, not a recording";
    else if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        notAFile = "is a device, not a recording";
    if (notAFile) {
        ::close(fd);
        return refuse(notAFile);
    }
    InputLogParser parser(path);
    std::vector<char> piece(kReadPiece);
    for (;;) {
        ssize_t n = ::read(fd, piece.data(), piece.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int readErrno = errno;
            ::close(fd);
            return refuse(std::string("cannot read: ") + std::strerror(readErrno));
        }
        if (n == 0 || !parser.feed(piece.data(), size_t(n)))
            break;
    }
    ::close(fd);
    if (!parser.finish(log)) {
        *error = parser.error();
        return false;
    }
    return true;
}
