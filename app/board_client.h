// SPDX-License-Identifier: MIT
// app: the game's side of the shared score board ([board] url and player in settings.ini). A
// kept game is sent after GAME OVER by a thread of its own, the step only looking for its
// answer; --submit sends a kept game and waits for the board's verdict. With no url nothing is
// ever sent. No drawing here: the GAME OVER screen reads gBoardNote.
#pragma once
#include <cstdint>
#include <string>

#include "game/input_log.h"

// the body of POST /api/games
std::string submissionBody(const std::string& player, const std::string& log);

// what an answer to POST /api/games says: the game's id when the board took it (202), else
// false with a short reason: the board's own error for a 4xx, or what else went wrong
bool readSubmissionAnswer(int httpStatus, const std::string& body, int64_t* id,
                          std::string* why);

// what GET /api/games/N says of a game
struct BoardVerdict {
    std::string status;  // "queued", "verified" or "rejected"
    int64_t score = 0;
    int64_t level = 0;
    std::string reason;
};
bool readGameAnswer(const std::string& body, BoardVerdict* verdict, std::string* why);

// the level key (c, which ends the level at once) was pressed in the log: such a game is not
// the board's
bool levelKeyUsed(const InputLog& log);

// why a kept game with this log is not sent (empty when it is to be sent)
std::string whyNotSent(const InputLog& log);

// --submit: the kept game of this rank sent, and the verdict printed; the exit status
int submitKeptGame(int32_t rank);

// the live game's sending. number counts the session's finished games, as the score keeping
// does; the note of the game on the GAME OVER screen (shown, 0 in play) goes to gBoardNote
void sendKeptGame(int64_t number, const std::string& log);
void showBoardNoteOf(int64_t shown);
// each step: an answer that came shows
void pollBoardSending();
// at the session's end: the sendings under way finish (each within its time-outs)
void finishBoardSending();
void resetBoardSending();
