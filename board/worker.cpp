// SPDX-License-Identifier: MIT
// board: the workers' loop.
#include "board/worker.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>

void WorkerSignal::waitFor(int milliseconds)
{
    std::unique_lock<std::mutex> lock(mutex_);
    const uint64_t seen = generation_;
    changed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                      [&] { return generation_ != seen; });
}

std::string workerName(int index)
{
    char host[256] = "";
    gethostname(host, sizeof host - 1);
    return std::string(host) + ":" + std::to_string(getpid()) + ":" + std::to_string(index);
}

bool verifyOneGame(BoardStore& store, const WorkerOptions& options, const std::string& name)
{
    const std::optional<TakenGame> taken = store.take(name, options.leaseSeconds);
    if (!taken)
        return false;
    Verdict verdict;
    if (taken->attempts > kMostAttempts) {
        verdict.reason = "the replay gave no verdict in " + std::to_string(kMostAttempts) +
                         " attempts";
    } else if (!judgeGame(taken->log, options.replayer, &verdict)) {
        // no verdict this time: the lease runs out and the game is taken again
        std::fprintf(stderr, "vendettix-board: game %lld gave no verdict (attempt %lld): %s\n",
                     static_cast<long long>(taken->id), static_cast<long long>(taken->attempts),
                     verdict.reason.c_str());
        return true;
    }
    if (!store.finish(taken->id, name, verdict)) {
        std::fprintf(stderr, "vendettix-board: game %lld was taken over before its verdict\n",
                     static_cast<long long>(taken->id));
        return true;
    }
    std::fprintf(stderr, "vendettix-board: game %lld %s by %s%s%s\n",
                 static_cast<long long>(taken->id), verdict.verified ? "verified" : "rejected",
                 name.c_str(), verdict.verified ? "" : ": ", verdict.reason.c_str());
    return true;
}

void runWorker(BoardStore& store, const WorkerOptions& options, const std::string& name,
               const std::atomic<bool>& stop, WorkerSignal& signal)
{
    while (!stop) {
        bool busy = false;
        try {
            busy = verifyOneGame(store, options, name);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vendettix-board: worker %s: %s\n", name.c_str(), e.what());
        }
        if (!busy && !stop)
            signal.waitFor(options.idleMilliseconds);
    }
}
