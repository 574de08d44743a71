// SPDX-License-Identifier: MIT
// board: a worker, which takes queued games from the store one at a time and records each
// one's verdict.
#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "board/store.h"
#include "board/verify.h"

// a game taken this many times without a verdict (its workers died or ran out of wall time)
// is rejected rather than taken again
constexpr int64_t kMostAttempts = 3;

struct WorkerOptions {
    ReplayerOptions replayer;
    int leaseSeconds = 60;
    int idleMilliseconds = 200;  // the wait between looks at an empty queue
};

// wakes idle workers when a game comes in, or when they are to stop
class WorkerSignal {
public:
    void notify()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++generation_;
        changed_.notify_all();
    }
    void waitFor(int milliseconds);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t generation_ = 0;
};

// a name no other worker anywhere has: host, process, and the worker's number in it
std::string workerName(int index);

// takes and judges one game; false when there was none to take
bool verifyOneGame(BoardStore& store, const WorkerOptions& options, const std::string& name);

// until stop is set
void runWorker(BoardStore& store, const WorkerOptions& options, const std::string& name,
               const std::atomic<bool>& stop, WorkerSignal& signal);
