// SPDX-License-Identifier: MIT
// board: the routes of the HTTP interface.
#include "board/server.h"

#include <httplib.h>

#include <cstdio>
#include <exception>
#include <nlohmann/json.hpp>

#include "board/submission.h"

namespace {

using Json = nlohmann::json;

void sendJson(httplib::Response& res, int status, const Json& body)
{
    res.status = status;
    res.set_content(body.dump(), "application/json");
}

void sendError(httplib::Response& res, int status, const std::string& error)
{
    sendJson(res, status, Json{{"error", error}});
}

// a whole number from 1 to 10^15; 0 when the text is not one
int64_t readId(const std::string& text)
{
    if (text.empty() || text.size() > 15)
        return 0;
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

Json gameJson(const BoardGame& game)
{
    Json json{{"id", game.id},         {"player", game.player}, {"status", game.status},
              {"score", nullptr},      {"level", nullptr},      {"steps", nullptr},
              {"reason", nullptr}};
    if (game.status == "verified") {
        json["score"] = game.score;
        json["level"] = game.level;
        json["steps"] = game.steps;
    } else if (game.status == "rejected") {
        json["reason"] = game.reason;
    }
    return json;
}

}  // namespace

bool RateLimit::allow(const std::string& address, std::chrono::steady_clock::time_point now)
{
    if (limit_ <= 0)
        return true;
    const auto window = std::chrono::minutes(1);
    std::lock_guard<std::mutex> lock(mutex_);
    // now and then, the addresses quiet for a minute are forgotten
    if (now - lastSweep_ > window) {
        for (auto it = recent_.begin(); it != recent_.end();) {
            if (it->second.empty() || now - it->second.back() >= window)
                it = recent_.erase(it);
            else
                ++it;
        }
        lastSweep_ = now;
    }
    std::deque<std::chrono::steady_clock::time_point>& times = recent_[address];
    while (!times.empty() && now - times.front() >= window)
        times.pop_front();
    if (times.size() >= size_t(limit_))
        return false;
    times.push_back(now);
    return true;
}

std::string boardPage(BoardStore& store, int limit)
{
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Vendettix score board</title>\n</head>\n<body>\n<h1>Vendettix score board</h1>\n"
        "<p>Every score here is the one its game's replay reached.</p>\n";
    const std::vector<BoardGame> games = store.best(limit);
    if (games.empty()) {
        page += "<p>No verified games yet.</p>\n";
    } else {
        page += "<table>\n<tr><th>Rank</th><th>Player</th><th>Score</th><th>Level</th>"
                "<th>Steps</th><th>Received</th><th>Log</th></tr>\n";
        int rank = 0;
        for (const BoardGame& game : games) {
            const std::string id = std::to_string(game.id);
            page += "<tr><td>" + std::to_string(++rank) + "</td><td>" + escapeHtml(game.player) +
                    "</td><td>" + std::to_string(game.score) + "</td><td>" +
                    std::to_string(game.level) + "</td><td>" + std::to_string(game.steps) +
                    "</td><td>" + escapeHtml(game.ended) + "</td><td><a href=\"/api/games/" + id +
                    "/log\">game " + id + "</a></td></tr>\n";
        }
        page += "</table>\n";
    }
    page += "<p>" + std::to_string(store.count("queued")) + " games waiting for their replay.</p>\n"
            "</body>\n</html>\n";
    return page;
}

void addBoardRoutes(httplib::Server& server, BoardStore& store, RateLimit& rate,
                    std::function<void()> submitted, const std::string& allowOrigin)
{
    if (!allowOrigin.empty()) {
        server.set_post_routing_handler(
            [allowOrigin](const httplib::Request&, httplib::Response& res) {
                res.set_header("Access-Control-Allow-Origin", allowOrigin);
            });
        // a page's JSON submission asks first
        server.Options("/api/games", [](const httplib::Request&, httplib::Response& res) {
            res.status = 204;
            res.set_header("Access-Control-Allow-Methods", "POST");
            res.set_header("Access-Control-Allow-Headers", "Content-Type");
            res.set_header("Access-Control-Max-Age", "86400");
        });
    }
    server.set_payload_max_length(kLargestSubmissionBytes);
    // the library's own refusals (a body over 2 MB among them) answer in JSON too
    server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty())
            return;
        if (res.status == 413)
            sendError(res, 413, "the body is larger than 2 MB");
        else if (res.status == 404)
            sendError(res, 404, "no such page");
        else
            sendError(res, res.status, "the request was refused");
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr error) {
            std::string what = "unknown";
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                what = e.what();
            } catch (...) {
            }
            std::fprintf(stderr, "vendettix-board: %s\n", what.c_str());
            sendError(res, 500, "the store failed");
        });

    server.Post("/api/games", [&store, &rate, submitted](const httplib::Request& req,
                                                         httplib::Response& res) {
        if (!rate.allow(req.remote_addr, std::chrono::steady_clock::now())) {
            res.set_header("Retry-After", "60");
            sendError(res, 429, "too many submissions from this address; try again in a minute");
            return;
        }
        Submission submission;
        std::string error;
        if (!parseSubmission(req.body, &submission, &error)) {
            sendError(res, 400, error);
            return;
        }
        bool fresh = false;
        const int64_t id = store.submit(submission.player, submission.log, &fresh);
        if (fresh && submitted)
            submitted();
        const std::optional<BoardGame> game = store.game(id);
        sendJson(res, 202, Json{{"id", id}, {"status", game ? game->status : "queued"}});
    });

    server.Get(R"(/api/games/([0-9]+))", [&store](const httplib::Request& req,
                                                  httplib::Response& res) {
        const std::optional<BoardGame> game = store.game(readId(req.matches[1]));
        if (!game) {
            sendError(res, 404, "no such game");
            return;
        }
        sendJson(res, 200, gameJson(*game));
    });

    server.Get(R"(/api/games/([0-9]+)/log)", [&store](const httplib::Request& req,
                                                      httplib::Response& res) {
        const std::optional<std::string> log = store.log(readId(req.matches[1]));
        if (!log) {
            sendError(res, 404, "no such game");
            return;
        }
        res.set_content(*log, "text/plain; charset=utf-8");
    });

    server.Get("/api/scores", [&store](const httplib::Request& req, httplib::Response& res) {
        int64_t limit = 10;
        if (req.has_param("limit")) {
            limit = readId(req.get_param_value("limit"));
            if (limit < 1) {
                sendError(res, 400, "limit is a whole number from 1 to 100");
                return;
            }
            if (limit > 100)
                limit = 100;
        }
        Json scores = Json::array();
        int rank = 0;
        for (const BoardGame& game : store.best(int(limit)))
            scores.push_back(Json{{"rank", ++rank},         {"id", game.id},
                                  {"player", game.player},  {"score", game.score},
                                  {"level", game.level},    {"steps", game.steps},
                                  {"ended", game.ended}});
        sendJson(res, 200, scores);
    });

    server.Get("/", [&store](const httplib::Request&, httplib::Response& res) {
        res.set_content(boardPage(store, 100), "text/html; charset=utf-8");
    });
}
