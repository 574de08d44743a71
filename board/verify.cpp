// SPDX-License-Identifier: MIT
// board: replaying a submitted game and judging it.
#include "board/verify.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "game/game_state.h"
#include "game/input_log.h"

namespace {

constexpr size_t kKeptOutputBytes = 256 * 1024;

struct ChildResult {
    bool started = false;
    bool timedOut = false;
    int status = 0;
    std::string out;
    std::string err;
};

void keepTail(std::string* text, const char* data, size_t size)
{
    text->append(data, size);
    if (text->size() > kKeptOutputBytes)
        text->erase(0, text->size() - kKeptOutputBytes);
}

[[noreturn]] void execChild(const std::vector<std::string>& argv, const ReplayerOptions& options,
                            int outFd, int errFd)
{
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull >= 0)
        dup2(devNull, 0);
    dup2(outFd, 1);
    dup2(errFd, 2);
    const rlimit cpu{rlim_t(options.cpuSeconds), rlim_t(options.cpuSeconds + 1)};
    setrlimit(RLIMIT_CPU, &cpu);
    if (options.memoryBytes > 0) {
        const rlimit memory{rlim_t(options.memoryBytes), rlim_t(options.memoryBytes)};
        setrlimit(RLIMIT_AS, &memory);
    }
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    std::fprintf(stderr, "cannot run %s: %s\n", args[0], std::strerror(errno));
    _exit(127);
}

ChildResult runChild(const std::vector<std::string>& argv, const ReplayerOptions& options)
{
    ChildResult result;
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return result;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return result;
    }
    const pid_t pid = fork();
    if (pid == 0)
        execChild(argv, options, out[1], err[1]);
    close(out[1]);
    close(err[1]);
    if (pid < 0) {
        close(out[0]);
        close(err[0]);
        return result;
    }
    result.started = true;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options.wallSeconds);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    int openPipes = 2;
    while (openPipes > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, 2, int(left.count())) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[8192];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                keepTail(i == 0 ? &result.out : &result.err, buffer, size_t(n));
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --openPipes;
            }
        }
    }
    for (pollfd& fd : fds)
        if (fd.fd >= 0)
            close(fd.fd);
    while (waitpid(pid, &result.status, 0) < 0 && errno == EINTR) {
    }
    return result;
}

// the replayer's first complaint about the file, without the file's name: "LINE: message"
std::string replayerReason(const std::string& err, const std::string& path)
{
    std::istringstream lines(err);
    std::string line;
    std::string first;
    while (std::getline(lines, line)) {
        const size_t at = line.find(path + ":");
        if (at != std::string::npos)
            return line.substr(at + path.size() + 1);
        if (first.empty() && !line.empty())
            first = line;
    }
    return first;
}

Verdict rejected(const std::string& reason)
{
    Verdict verdict;
    verdict.reason = reason;
    return verdict;
}

}  // namespace

std::vector<std::string> splitCommand(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

bool readSummary(const std::string& output, int64_t* steps, int64_t* level, int64_t* score)
{
    const size_t at = output.rfind("summary: steps=");
    if (at == std::string::npos || (at > 0 && output[at - 1] != '\n'))
        return false;
    return std::sscanf(output.c_str() + at, "summary: steps=%" SCNd64 " level=%" SCNd64
                       " score=%" SCNd64, steps, level, score) == 3;
}

bool readSubmittedLog(const std::string& log, Verdict* verdict)
{
    InputLogParser parser("");
    InputLog parsed;
    if (!parser.feed(log.data(), log.size()) || !parser.finish(&parsed)) {
        const std::string& error = parser.error();
        *verdict = rejected(error.rfind(':', 0) == 0 ? error.substr(1) : error);
        return false;
    }
    // a log naming no version is older than the naming: its replay is ranked as it plays now
    if (parsed.simulation != 0 && parsed.simulation != kSimulationVersion) {
        *verdict = rejected("the game was played by version " +
                            std::to_string(parsed.simulation) +
                            " of the simulation and the board replays version " +
                            std::to_string(kSimulationVersion));
        return false;
    }
    int64_t lastStep = parsed.reachedStep;
    if (!parsed.events.empty() && parsed.events.back().step > lastStep)
        lastStep = parsed.events.back().step;
    if (lastStep > kLongestVerifiedSteps) {
        *verdict = rejected("the game is longer than 20 minutes of play (" +
                            std::to_string(lastStep) + " steps)");
        return false;
    }
    return true;
}

bool judgeGame(const std::string& log, const ReplayerOptions& options, Verdict* verdict)
{
    // the reader first, here: a refused log is refused with its line, and a log longer than
    // the board replays is never replayed
    if (!readSubmittedLog(log, verdict))
        return true;

    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/vendettix-board-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) {
        verdict->reason = "no temporary file for the log";
        return false;
    }
    size_t written = 0;
    while (written < log.size()) {
        const ssize_t n = write(fd, log.data() + written, log.size() - written);
        if (n <= 0 && errno != EINTR)
            break;
        if (n > 0)
            written += size_t(n);
    }
    close(fd);
    if (written != log.size()) {
        unlink(path.c_str());
        verdict->reason = "the log could not be written to a temporary file";
        return false;
    }
    std::vector<std::string> argv = options.command;
    argv.push_back(path);
    const ChildResult child = runChild(argv, options);
    unlink(path.c_str());
    if (!child.started || child.timedOut) {
        verdict->reason = child.started ? "the replay ran past its wall time"
                                        : "the replayer could not be started";
        return false;
    }

    if (WIFSIGNALED(child.status)) {
        const int sig = WTERMSIG(child.status);
        if (sig == SIGXCPU || sig == SIGKILL)
            *verdict = rejected("the replay ran out of its " + std::to_string(options.cpuSeconds) +
                                " s of CPU time");
        else
            *verdict = rejected(std::string("the replay failed: ") + strsignal(sig));
        return true;
    }
    const int code = WEXITSTATUS(child.status);
    if (code != 0) {
        // 2 with a line naming the log: the log is refused (a fault in it, or another version
        // of the simulation). Anything else is the replayer's own trouble (no data, no
        // output, not found): not the game's fault, so no verdict
        const std::string reason = replayerReason(child.err, path);
        if (code == 2 && child.err.find(path + ":") != std::string::npos) {
            *verdict = rejected(reason);
            return true;
        }
        verdict->reason = "the replayer failed (exit status " + std::to_string(code) + ")" +
                          (reason.empty() ? "" : ": " + reason);
        return false;
    }
    // a replayer of another build than the board's says so of a log of another version
    const size_t other = child.err.find(path + " was played by version ");
    if (other != std::string::npos) {
        const size_t end = child.err.find('\n', other);
        *verdict = rejected("the game " + child.err.substr(other + path.size() + 1,
                                                           end == std::string::npos
                                                               ? std::string::npos
                                                               : end - other - path.size() - 1));
        return true;
    }
    int64_t steps = 0;
    int64_t level = 0;
    int64_t score = 0;
    if (!readSummary(child.out, &steps, &level, &score)) {
        *verdict = rejected("the replay printed no summary");
        return true;
    }
    if (steps > kLongestVerifiedSteps) {
        *verdict = rejected("the game is longer than 20 minutes of play (" +
                            std::to_string(steps) + " steps)");
        return true;
    }
    if (level != kGameOverLevel) {
        *verdict = rejected("the game did not reach GAME OVER (level " + std::to_string(level) +
                            " after " + std::to_string(steps) + " steps)");
        verdict->steps = steps;
        verdict->level = level;
        verdict->score = score;
        return true;
    }
    verdict->verified = true;
    verdict->score = score;
    verdict->level = level;
    verdict->steps = steps;
    verdict->reason.clear();
    return true;
}
