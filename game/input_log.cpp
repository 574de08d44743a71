// SPDX-License-Identifier: MIT
// game: the input log's writer and its strict reader.
#include "game/input_log.h"

#include "game/input_bindings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// larger than any screen; pointers may stand a little outside the window during a drag
constexpr long long kLargestCoordinate = 65535;
constexpr long long kLargestStep = 1LL << 40;  // some 580 years of play

struct EventName {
    const char* name;
    InputKind kind;
    int fields;  // numbers after the name
};

const EventName kEventNames[] = {
    {"key", InputKind::KeyDown, 1},    {"keyup", InputKind::KeyUp, 1},
    {"special", InputKind::SpecialKey, 1}, {"button", InputKind::Button, 4},
    {"drag", InputKind::Drag, 2},      {"reshape", InputKind::Reshape, 2},
    {"quit", InputKind::Quit, 0},      {"window", InputKind::WindowStatus, 1},
    {"menu", InputKind::Menu, 1},      {"look", InputKind::Look, 2},
};

const EventName* nameOf(InputKind kind)
{
    for (const EventName& e : kEventNames)
        if (e.kind == kind)
            return &e;
    return nullptr;
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

// what is wrong with one event line, or an empty string; the event and its step go to *input
std::string parseLine(const std::string& line, QueuedInput* input)
{
    std::istringstream in(line);
    std::string stepWord, name;
    in >> stepWord >> name;
    long long step = 0;
    if (!readNumber(stepWord, 0, kLargestStep, &step))
        return "bad step number \"" + stepWord + "\"";
    if (name.empty())
        return "truncated line: no event after the step";
    const EventName* event = nullptr;
    for (const EventName& e : kEventNames)
        if (name == e.name)
            event = &e;
    if (!event)
        return "unknown event \"" + name + "\"";

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
    }
    long long values[4] = {};
    for (int k = 0; k < event->fields; ++k) {
        std::string word;
        if (!(in >> word))
            return "truncated line: " + name + " needs " + std::to_string(event->fields) +
                   " numbers";
        if (!readNumber(word, ranges[k].lo, ranges[k].hi, &values[k]))
            return "number out of range for " + name + ": \"" + word + "\"";
    }
    std::string extra;
    if (in >> extra)
        return "unexpected \"" + extra + "\" after " + name;

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
    default:
        e.code = int32_t(values[0]);
        break;
    }
    *input = QueuedInput{step, e};
    return "";
}

}  // namespace

void writeInputLogHeader(std::FILE* file)
{
    std::fprintf(file, "%s\n", kInputLogHeader);
    std::fflush(file);
}

std::string inputLine(const QueuedInput& input)
{
    const EventName* e = nameOf(input.event.kind);
    if (!e)
        return "";
    const InputEvent& ev = input.event;
    char line[96];
    int n = std::snprintf(line, sizeof line, "%lld %s", static_cast<long long>(input.step), e->name);
    switch (ev.kind) {
    case InputKind::Button:
        std::snprintf(line + n, sizeof line - n, " %d %d %d %d", ev.code, ev.state, ev.x, ev.y);
        break;
    case InputKind::Drag: case InputKind::Reshape:
        std::snprintf(line + n, sizeof line - n, " %d %d", ev.x, ev.y);
        break;
    case InputKind::Look:
        std::snprintf(line + n, sizeof line - n, " %d %d", ev.code, ev.state);
        break;
    case InputKind::Quit: break;
    default: std::snprintf(line + n, sizeof line - n, " %d", ev.code); break;
    }
    return std::string(line) + "\n";
}

void writeInputLine(std::FILE* file, const QueuedInput& input)
{
    // flushed a line at a time: a game killed mid-play still leaves a log that replays
    std::fputs(inputLine(input).c_str(), file);
    std::fflush(file);
}

std::string inputLogText(const std::vector<QueuedInput>& events)
{
    std::string text = std::string(kInputLogHeader) + "\n";
    for (const QueuedInput& input : events)
        text += inputLine(input);
    return text;
}

bool readInputLog(const std::string& path, InputLog* log, std::string* error)
{
    log->events.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ":0: cannot read: " + std::strerror(errno);
        return false;
    }
    std::stringstream whole;
    whole << in.rdbuf();
    return parseInputLog(whole.str(), path, log, error);
}

bool parseInputLog(const std::string& text, const std::string& path, InputLog* log,
                   std::string* error)
{
    log->events.clear();
    size_t at = 0;
    int lineNumber = 0;
    int64_t lastStep = 0;
    auto fail = [&](const std::string& what) {
        *error = path + ":" + std::to_string(lineNumber) + ": " + what;
        log->events.clear();
        return false;
    };
    if (text.empty()) {
        lineNumber = 1;
        return fail(std::string("empty file; the first line must be \"") + kInputLogHeader + "\"");
    }
    while (at < text.size()) {
        ++lineNumber;
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            return fail("truncated line: the file ends without a newline");
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (lineNumber == 1) {
            if (line != kInputLogHeader)
                return fail(std::string("the first line must be \"") + kInputLogHeader + "\"");
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        QueuedInput input{};
        std::string wrong = parseLine(line, &input);
        if (!wrong.empty())
            return fail(wrong);
        if (input.step < lastStep)
            return fail("step " + std::to_string(input.step) + " goes back before step " +
                        std::to_string(lastStep));
        lastStep = input.step;
        log->events.push_back(input);
    }
    return true;
}
