// SPDX-License-Identifier: MIT
// app: the page sends no games to a board. With [board] url set, the GAME OVER screen says so
// under the game kept; with none, nothing shows, as on the desktop.
#include "app/board_client.h"

#include <cstdio>

#include "game/hud.h"
#include "game/settings.h"
#include "platform/redisplay.h"

namespace {

constexpr const char* kNotSentNote = "Not sent: the page sends no games to a board";

int64_t sSent = 0;  // the last game that would have been sent

}  // namespace

int submitKeptGame(int32_t)
{
    std::fprintf(stderr, "vendettix: the page sends no games to a board\n");
    return 2;
}

void sendKeptGame(int64_t number, const std::string&)
{
    if (!gSettings.boardUrl.empty())
        sSent = number;
}

void showBoardNoteOf(int64_t shown)
{
    if (gSettings.boardUrl.empty())
        return;
    const std::string note = shown != 0 && shown == sSent ? kNotSentNote : "";
    if (note != gBoardNote) {
        setBoardNote(note);
        requestRedisplay();
    }
}

void pollBoardSending() {}

void finishBoardSending() {}

void resetBoardSending()
{
    sSent = 0;
}
