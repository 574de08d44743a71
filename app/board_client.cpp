// SPDX-License-Identifier: MIT
// app: the game's side of the shared score board (see board_client.h).
#include "app/board_client.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <list>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "app/score_keeping.h"
#include "game/hud.h"
#include "game/score_table.h"
#include "game/settings.h"
#include "platform/redisplay.h"

namespace {

using Json = nlohmann::json;

// a board that does not answer within these is one that could not be reached
constexpr int kConnectSeconds = 3;
constexpr int kAnswerSeconds = 10;
// --submit asks this often for the verdict, and gives up after the longest wait
constexpr auto kPollEvery = std::chrono::milliseconds(250);
constexpr auto kLongestWait = std::chrono::seconds(60);

const char* const kUnreachable = "the board could not be reached";
const char* const kSendingNote = "Sending to the board...";
const char* const kSentNote = "Sent to the board";

// http://HOST[:PORT] and the path the interface's paths follow, without its last slash
void splitUrl(const std::string& url, std::string* origin, std::string* prefix)
{
    const size_t path = url.find('/', std::string("http://").size());
    *origin = url.substr(0, path);
    *prefix = path == std::string::npos ? "" : url.substr(path);
    while (!prefix->empty() && prefix->back() == '/')
        prefix->pop_back();
}

httplib::Client boardClient(const std::string& origin)
{
    httplib::Client client(origin);
    client.set_connection_timeout(kConnectSeconds, 0);
    client.set_read_timeout(kAnswerSeconds, 0);
    client.set_write_timeout(kAnswerSeconds, 0);
    return client;
}

// the log sent: the board's id, or false with the reason
bool postGame(const std::string& url, const std::string& player, const std::string& log,
              int64_t* id, std::string* why)
{
    std::string origin, prefix;
    splitUrl(url, &origin, &prefix);
    httplib::Client client = boardClient(origin);
    httplib::Result answer =
        client.Post(prefix + "/api/games", submissionBody(player, log), "application/json");
    if (!answer) {
        *why = kUnreachable;
        return false;
    }
    return readSubmissionAnswer(answer->status, answer->body, id, why);
}

// the reason a kept game's log text is not sent, or empty; it reads no setting, so a sending
// thread may call it
std::string whyLogNotSent(const std::string& text)
{
    InputLogParser parser("the kept game");
    InputLog log;
    if (!parser.feed(text.data(), text.size()) || !parser.finish(&log))
        return "its log cannot be read";
    return levelKeyUsed(log) ? "the level key was used" : "";
}

// one game being sent by a thread of its own; done once its note is final
struct Sending {
    int64_t number = 0;
    std::string note;
    std::atomic<bool> done{false};
    std::thread thread;
    // a session that ends by a way that skips finishBoardSending still waits for it (within
    // its time-outs) rather than end the program with a thread running
    ~Sending()
    {
        if (thread.joinable())
            thread.join();
    }
};

std::list<std::unique_ptr<Sending>> sSendings;
std::map<int64_t, std::string> sNotes;  // the final notes, by game
int64_t sShown = 0;

void showNote(const std::string& note)
{
    if (note == gBoardNote)
        return;
    setBoardNote(note);
    // the GAME OVER picture is held: the note asks for the frame that shows it
    requestRedisplay();
}

void showCurrentNote()
{
    if (sShown == 0)
        return showNote("");
    const auto note = sNotes.find(sShown);
    if (note != sNotes.end())
        return showNote(note->second);
    for (const auto& sending : sSendings)
        if (sending->number == sShown)
            return showNote(kSendingNote);
    showNote("");
}

}  // namespace

std::string submissionBody(const std::string& player, const std::string& log)
{
    // the log's bytes as they are: a byte that is not UTF-8 stands as U+FFFD rather than throw
    return Json{{"player", player}, {"log", log}}.dump(-1, ' ', false,
                                                        Json::error_handler_t::replace);
}

bool readSubmissionAnswer(int httpStatus, const std::string& body, int64_t* id,
                          std::string* why)
{
    const Json answer = Json::parse(body, nullptr, false);
    if (httpStatus == 202 && answer.is_object() && answer.contains("id") &&
        answer["id"].is_number_integer()) {
        *id = answer["id"].get<int64_t>();
        return true;
    }
    if (httpStatus >= 400 && httpStatus < 500 && answer.is_object() && answer.contains("error") &&
        answer["error"].is_string())
        *why = answer["error"].get<std::string>();
    else if (httpStatus >= 400 && httpStatus < 500)
        *why = "the board refused it (" + std::to_string(httpStatus) + ")";
    else
        *why = "the board answered " + std::to_string(httpStatus);
    return false;
}

bool readGameAnswer(const std::string& body, BoardVerdict* verdict, std::string* why)
{
    const Json answer = Json::parse(body, nullptr, false);
    if (!answer.is_object() || !answer.contains("status") || !answer["status"].is_string()) {
        *why = "the board's answer is not a game";
        return false;
    }
    *verdict = BoardVerdict{};
    verdict->status = answer["status"].get<std::string>();
    if (verdict->status == "verified") {
        if (!answer.contains("score") || !answer["score"].is_number_integer() ||
            !answer.contains("level") || !answer["level"].is_number_integer()) {
            *why = "the board's answer has no score and level";
            return false;
        }
        verdict->score = answer["score"].get<int64_t>();
        verdict->level = answer["level"].get<int64_t>();
    } else if (verdict->status == "rejected") {
        verdict->reason = answer.contains("reason") && answer["reason"].is_string()
                              ? answer["reason"].get<std::string>()
                              : "no reason given";
    } else if (verdict->status != "queued") {
        *why = "the board's answer has an unknown status \"" + verdict->status + "\"";
        return false;
    }
    return true;
}

bool levelKeyUsed(const InputLog& log)
{
    for (const QueuedInput& input : log.events)
        if (input.event.kind == InputKind::KeyDown &&
            (input.event.code == 'c' || input.event.code == 'C'))
            return true;
    return false;
}

std::string whyNotSent(const InputLog& log)
{
    if (gSettings.boardUrl.empty())
        return "no [board] url is set";
    if (gSettings.boardPlayer.empty())
        return "no [board] player is set";
    if (levelKeyUsed(log))
        return "the level key was used";
    return "";
}

int submitKeptGame(int32_t rank)
{
    if (gSettings.boardUrl.empty()) {
        std::fprintf(stderr, "vendettix: no board to send to: set [board] url in settings.ini\n");
        return 2;
    }
    if (gSettings.boardPlayer.empty()) {
        std::fprintf(stderr, "vendettix: no name to send under: set [board] player in "
                             "settings.ini\n");
        return 2;
    }
    InputLog log;
    std::string error;
    FinishedGame kept;
    if (!loadKeptGame(rank, &log, &error, &kept)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::string why = whyNotSent(log);
    if (!why.empty()) {
        std::fprintf(stderr, "vendettix: the kept game of rank %d is not sent: %s\n", int(rank),
                     why.c_str());
        return 1;
    }
    int64_t id = 0;
    if (!postGame(gSettings.boardUrl, gSettings.boardPlayer, kept.inputLog, &id, &error)) {
        std::printf("board: not sent: %s\n", error.c_str());
        return 1;
    }
    std::string origin, prefix;
    splitUrl(gSettings.boardUrl, &origin, &prefix);
    httplib::Client client = boardClient(origin);
    const std::string path = prefix + "/api/games/" + std::to_string(id);
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    std::string problem = "still queued";
    for (;;) {
        httplib::Result answer = client.Get(path);
        BoardVerdict verdict;
        if (!answer)
            problem = kUnreachable;
        else if (answer->status != 200)
            problem = "the board answered " + std::to_string(answer->status);
        else if (!readGameAnswer(answer->body, &verdict, &problem))
            ;
        else if (verdict.status == "verified") {
            std::printf("board: game %lld verified: score %lld level %lld\n", (long long)id,
                        (long long)verdict.score, (long long)verdict.level);
            return 0;
        } else if (verdict.status == "rejected") {
            std::printf("board: game %lld rejected: %s\n", (long long)id, verdict.reason.c_str());
            return 1;
        } else
            problem = "still queued";
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(kPollEvery);
    }
    std::printf("board: game %lld: no verdict after %lld s: %s\n", (long long)id,
                (long long)std::chrono::duration_cast<std::chrono::seconds>(kLongestWait).count(),
                problem.c_str());
    return 1;
}

void sendKeptGame(int64_t number, const std::string& log)
{
    if (gSettings.boardUrl.empty())
        return;
    if (gSettings.boardPlayer.empty()) {
        sNotes[number] = "Not sent: no [board] player is set";
        showCurrentNote();
        return;
    }
    auto sending = std::make_unique<Sending>();
    Sending* s = sending.get();
    s->number = number;
    const std::string url = gSettings.boardUrl, player = gSettings.boardPlayer;
    // the thread reads only its own copies and writes only its Sending, until done
    s->thread = std::thread([s, url, player, log] {
        std::string why = whyLogNotSent(log);
        int64_t id = 0;
        if (why.empty() && postGame(url, player, log, &id, &why))
            s->note = kSentNote;
        else
            s->note = "Not sent: " + why;
        s->done.store(true, std::memory_order_release);
    });
    sSendings.push_back(std::move(sending));
    showCurrentNote();
}

void showBoardNoteOf(int64_t shown)
{
    if (gSettings.boardUrl.empty())
        return;
    sShown = shown;
    showCurrentNote();
}

void pollBoardSending()
{
    bool answered = false;
    for (auto it = sSendings.begin(); it != sSendings.end();) {
        if (!(*it)->done.load(std::memory_order_acquire)) {
            ++it;
            continue;
        }
        (*it)->thread.join();
        sNotes[(*it)->number] = (*it)->note;
        it = sSendings.erase(it);
        answered = true;
    }
    if (answered)
        showCurrentNote();
}

void finishBoardSending()
{
    for (auto& sending : sSendings)
        sending->thread.join();
    sSendings.clear();
}

void resetBoardSending()
{
    finishBoardSending();
    sNotes.clear();
    sShown = 0;
}
