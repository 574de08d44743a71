// SPDX-License-Identifier: MIT
// fuzz: the input log's reader on any bytes, fed in two pieces cut where the first byte says.
// A refused text names its line and leaves no events; an accepted one, written back by the
// writer, reads back the same, its first line naming this game's simulation.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/input_log.h"

namespace {

bool sameLog(const InputLog& a, const InputLog& b)
{
    if (a.events.size() != b.events.size() || a.reachedStep != b.reachedStep ||
        a.ended != b.ended)
        return false;
    for (size_t i = 0; i < a.events.size(); ++i) {
        const InputEvent &x = a.events[i].event, &y = b.events[i].event;
        if (a.events[i].step != b.events[i].step || x.kind != y.kind || x.code != y.code ||
            x.state != y.state || x.x != y.x || x.y != y.y)
            return false;
    }
    return true;
}

// "fuzz:LINE: " with LINE a number from 1
bool namesItsLine(const std::string& error)
{
    const std::string prefix = "fuzz:";
    if (error.compare(0, prefix.size(), prefix) != 0)
        return false;
    size_t at = prefix.size();
    if (at >= error.size() || error[at] < '1' || error[at] > '9')
        return false;
    while (at < error.size() && error[at] >= '0' && error[at] <= '9')
        ++at;
    return error.compare(at, 2, ": ") == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    const size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    InputLogParser parser("fuzz");
    InputLog log;
    log.events.resize(1);
    // finish() is asked even after a refused piece, as a reader does
    parser.feed(text, cut);
    parser.feed(text + cut, size - cut);
    const bool read = parser.finish(&log);
    // the same text in one piece gives the same answer
    InputLogParser whole("fuzz");
    InputLog wholeLog;
    whole.feed(text, size);
    const bool readWhole = whole.finish(&wholeLog);
    if (read != readWhole || parser.error() != whole.error() || !sameLog(log, wholeLog) ||
        log.simulation != wholeLog.simulation)
        std::abort();
    if (!read) {
        if (!log.events.empty() || log.reachedStep != 0 || log.simulation != 0 ||
            !namesItsLine(parser.error()))
            std::abort();
        return 0;
    }

    // the reached line where the game wrote it, before the first event of its step or later
    // (after a quit at that step it would be refused); the end line last
    InputLogWriter writer;  // no file: the text alone
    writer.writeHeader();
    bool reachedWritten = log.ended || log.reachedStep == 0;
    for (const QueuedInput& input : log.events) {
        if (!reachedWritten && input.step >= log.reachedStep) {
            writer.writeReached(log.reachedStep);
            reachedWritten = true;
        }
        writer.writeInput(input);
    }
    if (log.ended)
        writer.writeEnd(log.reachedStep);
    else if (!reachedWritten)
        writer.writeReached(log.reachedStep);
    InputLogParser again("again");
    InputLog back;
    const std::string& written = writer.text();
    // written back, it names this game's simulation
    if (!again.feed(written.data(), written.size()) || !again.finish(&back) ||
        !sameLog(log, back) || back.simulation != kSimulationVersion)
        std::abort();
    return 0;
}
