// SPDX-License-Identifier: MIT
// app: the score table in use (see score_keeping.h).
#include "app/score_keeping.h"

#include "app/play_session.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>

#include "game/game_state.h"
#include "game/hud.h"
#include "game/play_step.h"
#include "game/play_summary.h"
#include "game/rules.h"
#include "game/score_table.h"
#include "platform/user_files.h"
#include "player/throwing.h"

namespace {

ScoreTable sTable;
bool sKeeping = false;
bool sSaveFailed = false;      // said once
bool sWasOver = false;         // GAME OVER at the previous step
int64_t sGameStart = 0;        // the step the current game began at
int64_t sKeptId = 0;           // the current game's row, once kept
FinishedGame sKept;

void say(const std::string& line)
{
    if (!line.empty())
        std::fprintf(stderr, "%s\n", line.c_str());
}

// the game as it stands now, with the session's whole log
FinishedGame finishedGameNow()
{
    FinishedGame game;
    game.endedAt = int64_t(std::time(nullptr));
    game.score = computeScore();
    // GAME OVER comes as the level after the last one played
    game.level = gLevel > 1 ? gLevel - 1 : gLevel;
    game.rollsThrown = int32_t(gRollsInFlight.size());
    game.eggsThrown = int32_t(gEggsInFlight.size());
    game.steps = gStepCount;
    game.playSteps = gStepCount - sGameStart;
    char hash[20];
    std::snprintf(hash, sizeof hash, "%016" PRIx64, playStateHash());
    game.stateHash = hash;
    // the log ends where the game stands, as a recording's end line ends it
    game.inputLog = gameLogText() + endLogLine(gStepCount);
    return game;
}

void keepGame()
{
    std::string error;
    sKept = finishedGameNow();
    if (!sTable.save(sKept, &sKeptId, &error)) {
        sKeptId = 0;
        if (!sSaveFailed)
            say("vendettix: cannot save the score in " + sTable.path() + ": " + error);
        sSaveFailed = true;
        return;
    }
    int32_t rank = 0, count = 0;
    if (sTable.rankOf(sKeptId, &rank, &count))
        setGameOverNote(rankLine(rank, count));
}

}  // namespace

std::string scoreTablePath()
{
    std::string folder = userFolderPath(UserFolder::Data);
    return folder.empty() ? folder : folder + "/" + kScoreTableName;
}

void startKeepingScores()
{
    std::string folder, error, note;
    if (!makeUserFolder(UserFolder::Data, folder, error)) {
        say("vendettix: the scores will not be kept: " + error);
        return;
    }
    sKeeping = sTable.open(folder + "/" + kScoreTableName, true, &note) == ScoreTableState::Open;
    say(note);
}

void noteGameProgress()
{
    const bool over = gGameOver != 0;
    if (over && !sWasOver && sKeeping)
        keepGame();
    if (!over && sWasOver) {
        // play again: the step that started it has run
        sGameStart = gStepCount - 1;
        sKeptId = 0;
        setGameOverNote("");
    }
    sWasOver = over;
}

void finishKeepingScores()
{
    if (!sKeeping || sKeptId == 0 || !gGameOver)
        return;
    FinishedGame later = finishedGameNow();
    later.endedAt = sKept.endedAt;
    later.playSteps = sKept.playSteps;
    std::string error;
    if (!sTable.update(sKeptId, later, &error))
        say("vendettix: cannot save the score in " + sTable.path() + ": " + error);
}

int printBestScores()
{
    ScoreTable table;
    std::string note;
    ScoreTableState state = table.open(scoreTablePath(), false, &note);
    say(note);
    if (state == ScoreTableState::NewerVersion || state == ScoreTableState::Unavailable)
        return 1;
    std::vector<RankedGame> best = table.best(kBestShown);
    if (best.empty()) {
        std::printf("No games played yet.\n");
        return 0;
    }
    std::printf("Rank    Score  Level  Ended             Length\n");
    for (const RankedGame& row : best)
        std::printf("%s\n", scoreLine(row).c_str());
    return 0;
}

bool loadKeptGame(int32_t rank, InputLog* log, std::string* error)
{
    ScoreTable table;
    std::string note;
    ScoreTableState state = table.open(scoreTablePath(), false, &note);
    say(note);
    RankedGame row;
    if (state != ScoreTableState::Open || !table.gameAtRank(rank, &row)) {
        if (state == ScoreTableState::NewerVersion || state == ScoreTableState::Unavailable)
            *error = "vendettix: no game can be read from the score table";
        else
            *error = "vendettix: no kept game of rank " + std::to_string(rank) + " in " +
                     scoreTablePath();
        return false;
    }
    InputLogParser parser(scoreTablePath() + " (rank " + std::to_string(rank) + ")");
    if (!parser.feed(row.game.inputLog.data(), row.game.inputLog.size()) || !parser.finish(log)) {
        *error = "vendettix: " + parser.error();
        return false;
    }
    return true;
}

void resetScoreKeeping()
{
    sTable.close();
    sKeeping = false;
    sSaveFailed = false;
    sWasOver = false;
    sGameStart = 0;
    sKeptId = 0;
    sKept = FinishedGame{};
}
