// SPDX-License-Identifier: MIT
// vendettix-board: the shared score board, which replays every game it is sent and ranks the
// score the replay reaches (docs/BOARD.md).
#include <httplib.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "board/server.h"
#include "board/store.h"
#include "board/worker.h"

namespace {

const char* const kUsage =
    "usage: vendettix-board [--listen HOST:PORT] [--database FILE|postgresql://...]\n"
    "                       [--workers N] [--replayer \"CMD ARGS\"] [--rate N] [--lease S]\n"
    "                       [--cpu-seconds S] [--memory-mb M] [--allow-origin ORIGIN]\n"
    "       vendettix-board --worker --database FILE|postgresql://... [--replayer ...]\n"
    "  --listen HOST:PORT  where to answer (127.0.0.1:8080); port 0 picks a free one\n"
    "  --database          the SQLite file (board.db) or a PostgreSQL address\n"
    "  --workers N         replaying workers in the server (1); 0 leaves it to lone workers\n"
    "  --worker            a lone worker: no HTTP, only replays\n"
    "  --replayer CMD      the display-free replayer, given the log's file last\n"
    "                      (vendettix-replay beside this program)\n"
    "  --rate N            submissions a minute from one address (30); 0 for no limit\n"
    "  --lease S           seconds a worker holds a game before another may take it (60)\n"
    "  --cpu-seconds S     CPU time of one replay (20)\n"
    "  --memory-mb M       address space of one replay, in MiB (1024); 0 for no limit\n"
    "  --allow-origin O    a web page of origin O (or * for any) may use the interface\n";

bool readNumber(const char* text, long low, long high, long* value)
{
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || n < low || n > high)
        return false;
    *value = n;
    return true;
}

std::string besideThisProgram(const char* name)
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return name;
    std::string path(self, size_t(n));
    return path.substr(0, path.rfind('/') + 1) + name;
}

// the program a command names, as execvp would find it
bool canRun(const std::string& program)
{
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string dir = end > start ? dirs.substr(start, end - start) : ".";
        if (access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string listen = "127.0.0.1:8080";
    std::string database = "board.db";
    std::string replayer;
    std::string allowOrigin;
    long workers = 1;
    long rate = 30;
    bool alone = false;
    WorkerOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        long n = 0;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--worker") {
            alone = true;
        } else if (arg == "--listen" && hasValue) {
            listen = argv[++i];
        } else if (arg == "--database" && hasValue) {
            database = argv[++i];
        } else if (arg == "--allow-origin" && hasValue) {
            allowOrigin = argv[++i];
        } else if (arg == "--replayer" && hasValue) {
            replayer = argv[++i];
        } else if (arg == "--workers" && hasValue && readNumber(argv[i + 1], 0, 64, &n)) {
            workers = n;
            ++i;
        } else if (arg == "--rate" && hasValue && readNumber(argv[i + 1], 0, 1000000, &n)) {
            rate = n;
            ++i;
        } else if (arg == "--lease" && hasValue && readNumber(argv[i + 1], 1, 86400, &n)) {
            options.leaseSeconds = int(n);
            ++i;
        } else if (arg == "--cpu-seconds" && hasValue && readNumber(argv[i + 1], 1, 3600, &n)) {
            options.replayer.cpuSeconds = int(n);
            ++i;
        } else if (arg == "--memory-mb" && hasValue &&
                   readNumber(argv[i + 1], 0, 1024 * 1024, &n)) {
            options.replayer.memoryBytes = int64_t(n) * 1024 * 1024;
            ++i;
        } else {
            std::fprintf(stderr, "vendettix-board: unknown or incomplete option %s\n%s",
                         arg.c_str(), kUsage);
            return 2;
        }
    }
    options.replayer.command =
        splitCommand(replayer.empty() ? besideThisProgram("vendettix-replay") : replayer);
    if (options.replayer.command.empty()) {
        std::fprintf(stderr, "vendettix-board: --replayer is empty\n");
        return 2;
    }
    // a replay that runs over its wall time leaves the game to be taken again well before
    // the lease of the worker that took it runs out
    options.replayer.wallSeconds = std::max(1, options.leaseSeconds * 3 / 4);
    // a replayer that cannot run would leave every game without a verdict
    if ((alone || workers > 0) && !canRun(options.replayer.command[0])) {
        std::fprintf(stderr, "vendettix-board: cannot run the replayer %s (--replayer)\n",
                     options.replayer.command[0].c_str());
        return 2;
    }
#if defined(__SANITIZE_ADDRESS__)
    // a sanitized replayer reserves far more address space than any limit would allow
    options.replayer.memoryBytes = 0;
#endif

    // SIGINT and SIGTERM are taken by one thread, which stops the rest; replays run with
    // their signals back as they were
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGINT);
    sigaddset(&stopping, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopping, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::string error;
    std::unique_ptr<BoardStore> store = openBoardStore(database, &error);
    if (!store) {
        std::fprintf(stderr, "vendettix-board: %s\n", error.c_str());
        return 1;
    }

    std::atomic<bool> stop{false};
    WorkerSignal wake;
    httplib::Server server;
    std::thread stopper([&] {
        int sig = 0;
        sigwait(&stopping, &sig);
        stop = true;
        wake.notify();
        server.stop();
    });

    if (alone) {
        std::printf("vendettix-board: worker %s on %s\n", workerName(0).c_str(), database.c_str());
        std::fflush(stdout);
        runWorker(*store, options, workerName(0), stop, wake);
        stopper.join();
        return 0;
    }

    const size_t colon = listen.rfind(':');
    long port = 0;
    if (colon == std::string::npos || !readNumber(listen.c_str() + colon + 1, 0, 65535, &port)) {
        std::fprintf(stderr, "vendettix-board: --listen takes HOST:PORT, not %s\n",
                     listen.c_str());
        return 2;
    }
    const std::string host = listen.substr(0, colon);
    RateLimit rateLimit{int(rate)};
    addBoardRoutes(server, *store, rateLimit, [&wake] { wake.notify(); }, allowOrigin);
    if (port == 0)
        port = server.bind_to_any_port(host);
    else if (!server.bind_to_port(host, int(port)))
        port = -1;
    if (port <= 0) {
        std::fprintf(stderr, "vendettix-board: cannot listen on %s\n", listen.c_str());
        kill(getpid(), SIGTERM);
        stopper.join();
        return 1;
    }

    std::vector<std::thread> threads;
    for (long i = 0; i < workers; ++i)
        threads.emplace_back([&, i] { runWorker(*store, options, workerName(int(i)), stop, wake); });
    std::printf("vendettix-board: http://%s:%ld/ on %s with %ld workers\n", host.c_str(), port,
                database.c_str(), workers);
    std::fflush(stdout);
    server.listen_after_bind();
    stop = true;
    wake.notify();
    for (std::thread& thread : threads)
        thread.join();
    if (stopper.joinable()) {
        // the server stopped on its own: the stopper is woken to end too
        kill(getpid(), SIGTERM);
        stopper.join();
    }
    return 0;
}
