// SPDX-License-Identifier: MIT
// vendettix-replay: recorded games played with no window, one summary line each, the line
// `vendettix --replay FILE --headless` prints. It links no display library, so a server or a
// container with none checks a game; the data comes from the same places as the game's.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/data_directory.h"
#include "app/replay.h"
#include "game/game_state.h"
#include "game/input_log.h"
#include "game/play_summary.h"

namespace {

void writeUsage(std::FILE* out)
{
    std::fputs("Usage: vendettix-replay [--hashes N] FILE...\n"
               "Plays each recorded game (vendettix --record FILE) with no window and prints its\n"
               "summary line, as vendettix --replay FILE --headless does.\n"
               "  --hashes N   before each summary, the state's hash after every N steps:\n"
               "               \"hash: step=S state=H\"\n"
               "  --help       this text\n"
               "The game's data is looked for where the game looks (VENDETTIX_DATA first).\n"
               "Exit status: 0 when every game was played, 1 when the data or the output\n"
               "failed, 2 for a bad command line or a log that cannot be read.\n",
               out);
}

struct HashWatch {
    std::FILE* out;
    int64_t every;
};

void printHash(int64_t stepCount, void* context)
{
    const HashWatch& watch = *static_cast<const HashWatch*>(context);
    if (stepCount % watch.every == 0)
        std::fprintf(watch.out, "hash: step=%" PRId64 " state=%016" PRIx64 "\n", stepCount,
                     playStateHash());
}

}  // namespace

int main(int argc, char** argv)
{
    int64_t hashEvery = 0;
    std::vector<std::string> paths;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--help") {
            writeUsage(stdout);
            return 0;
        }
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--hashes") {
            char* end = nullptr;
            const char* value = i + 1 < argc ? argv[++i] : "";
            errno = 0;
            const long long every = std::strtoll(value, &end, 10);
            if (!*value || *end || errno || every < 1 || every > kLargestLogStep) {
                std::fprintf(stderr, "vendettix-replay: --hashes takes a count of steps, 1 to %" PRId64 "\n",
                             kLargestLogStep);
                return 2;
            }
            hashEvery = every;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "vendettix-replay: unknown option %s\n", arg.c_str());
            writeUsage(stderr);
            return 2;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty()) {
        writeUsage(stderr);
        return 2;
    }

    // every log is read before any is played, from where the player stands: one bad log and
    // nothing is played, as with the game's --replay
    std::vector<InputLog> logs(paths.size());
    bool allRead = true;
    for (size_t i = 0; i < paths.size(); ++i) {
        std::string error;
        if (!readInputLog(paths[i], &logs[i], &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            allRead = false;
            continue;
        }
        // a log of another simulation plays on, as in the game, with a word about it
        const std::string note = simulationVersionNote(paths[i], logs[i]);
        if (!note.empty())
            std::fprintf(stderr, "%s\n", note.c_str());
    }
    if (!allRead)
        return 2;
    if (!enterDataDirectory())
        return 1;

    // the game's own console lines (the turn's countdown, the help) belong to a window's
    // terminal; the replayer's standard output holds its summaries alone
    std::fflush(stdout);
    const int summaryFd = dup(STDOUT_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    std::FILE* out = summaryFd >= 0 ? fdopen(summaryFd, "w") : nullptr;
    if (!out || nowhere < 0 || dup2(nowhere, STDOUT_FILENO) < 0) {
        std::fprintf(stderr, "vendettix-replay: cannot set the output aside: %s\n",
                     std::strerror(errno));
        return 1;
    }
    close(nowhere);

    HashWatch watch{out, hashEvery};
    for (const InputLog& log : logs) {
        // each game from the state a fresh process has
        resetPlayState();
        resetReplay();
        const std::string summary =
            replayHeadless(log, hashEvery > 0 ? printHash : nullptr, &watch);
        std::fprintf(out, "%s\n", summary.c_str());
        std::fflush(out);
    }
    // the strips go with the globals, so a leak checker sees a clean end
    resetPlayState();
    if (std::ferror(out) || std::fclose(out) != 0) {
        std::fprintf(stderr, "vendettix-replay: cannot write the summaries\n");
        return 1;
    }
    return 0;
}
