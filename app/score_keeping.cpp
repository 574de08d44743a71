// SPDX-License-Identifier: MIT
// app: the score table in use (see score_keeping.h).
#include "app/score_keeping.h"

#include "app/app.h"
#include "app/play_session.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

bool loadKeptGame(int32_t rank, InputLog* log, std::string* error, FinishedGame* kept)
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
    if (kept)
        *kept = row.game;
    return true;
}

namespace {

// the value after "name=" in a summary line
std::string summaryField(const std::string& summary, const std::string& name)
{
    const size_t at = summary.find(" " + name + "=");
    if (at == std::string::npos)
        return "";
    const size_t from = at + name.size() + 2;
    return summary.substr(from, summary.find(' ', from) - from);
}

// the summary line the log's headless replay ends on, played in a child process (empty when the
// replay failed); standard output, where the game prints along the way, is left out. False when
// no child could be started.
bool summaryInAChild(const InputLog& log, std::string* summary)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        const int forkErrno = errno;
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        errno = forkErrno;
        return false;
    }
    if (child == 0) {
        ::close(pipeEnds[0]);
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (quiet >= 0)
            dup2(quiet, STDOUT_FILENO);
        // from the starting values, as a replay of its own
        resetAllGlobals();
        startSettings(false, true);
        const std::string summary = replayHeadless(log);
        const bool written =
            ::write(pipeEnds[1], summary.data(), summary.size()) == ssize_t(summary.size());
        std::_Exit(written ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    summary->clear();
    char piece[256];
    for (;;) {
        const ssize_t n = ::read(pipeEnds[0], piece, sizeof piece);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        summary->append(piece, size_t(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        summary->clear();
    return true;
}

}  // namespace

bool keptGameReplaysToItsEnd(int32_t rank, const InputLog& log, const FinishedGame& kept,
                             std::string* error)
{
    std::string reached;
    if (!summaryInAChild(log, &reached)) {
        // the replay itself will tell
        say(std::string("vendettix: cannot check the kept game's replay first: ") +
            std::strerror(errno));
        return true;
    }
    const std::string keptSteps = std::to_string(kept.steps);
    const std::string keptScore = std::to_string(kept.score);
    if (summaryField(reached, "steps") == keptSteps &&
        summaryField(reached, "score") == keptScore &&
        summaryField(reached, "state") == kept.stateHash)
        return true;
    std::string replayed = "no summary";
    if (!reached.empty())
        replayed = "steps=" + summaryField(reached, "steps") + " score=" +
                   summaryField(reached, "score") + " state=" + summaryField(reached, "state");
    *error = "vendettix: the kept game of rank " + std::to_string(rank) +
             " does not replay to its end (kept: steps=" + keptSteps + " score=" + keptScore +
             " state=" + kept.stateHash + "; the replay reaches " + replayed +
             "): it was played by another version of the game";
    if (log.simulation != 0 && log.simulation != kSimulationVersion)
        *error += " (version " + std::to_string(log.simulation) + " of the simulation; this game "
                  "plays version " + std::to_string(kSimulationVersion) + ")";
    return false;
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
