// SPDX-License-Identifier: MIT
// board: the HTTP interface (docs/BOARD.md).
#pragma once
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "board/store.h"

namespace httplib {
class Server;
}

// at most `limit` submissions a minute from one address; 0 for no limit
class RateLimit {
public:
    explicit RateLimit(int limit) : limit_(limit) {}
    bool allow(const std::string& address, std::chrono::steady_clock::time_point now);

private:
    int limit_;
    std::mutex mutex_;
    std::map<std::string, std::deque<std::chrono::steady_clock::time_point>> recent_;
    std::chrono::steady_clock::time_point lastSweep_{};
};

// the routes on server; submitted() runs after each new game is committed. A web page of
// another origin may use the interface when allowOrigin names that origin ("*" for any).
void addBoardRoutes(httplib::Server& server, BoardStore& store, RateLimit& rate,
                    std::function<void()> submitted, const std::string& allowOrigin = "");

// the board as a plain HTML page, best `limit` games
std::string boardPage(BoardStore& store, int limit);
