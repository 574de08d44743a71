// SPDX-License-Identifier: MIT
// app: the score table in use (see score_keeping.h).
#include "app/score_keeping.h"

#include "app/app.h"
#include "app/board_client.h"
#include "app/play_session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "game/game_state.h"
#include "game/hud.h"
#include "game/play_step.h"
#include "game/play_summary.h"
#include "game/rules.h"
#include "game/score_table.h"
#include "platform/redisplay.h"
#include "platform/user_files.h"
#include "player/throwing.h"
#include "scene/world.h"
#include "terrain/terrain.h"

namespace {

// a finished game waiting for its save tries the table again this often (a quarter second)
constexpr int64_t kRetrySteps = 15;
// under GAME OVER while the game waits for its save
constexpr const char* kSavingNote = "Saving the score...";

struct WaitingGame {
    int64_t number = 0;  // the session's count of finished games when this one finished
    FinishedGame game;
};

// the running game waits a few milliseconds for another program's lock, never a frame's worth
ScoreTable sTable(kScoreTableFrameWaitMs);
bool sKeeping = false;         // false once the table cannot be used this session (said once)
bool sWasOver = false;         // GAME OVER at the previous step
int64_t sGameStart = 0;        // the step the current game began at
int64_t sFinished = 0;         // games finished this session
int64_t sShown = 0;            // the number of the game on its GAME OVER screen; 0 in play
int64_t sKeptId = 0;           // the shown game's row, once saved
FinishedGame sKept;            // the shown game as saved
std::vector<WaitingGame> sWaiting;  // finished games not saved yet, oldest first
int64_t sNextTry = 0;          // the step at which the waiting games try the table again
std::string sWhyWaiting;       // the last reason a save did not go through

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

// the line under GAME OVER; a change after the GAME OVER step asks for the frame that shows it
// (the picture is held then, and drawn again only on input)
void showNote(const std::string& note, bool redraw)
{
    setGameOverNote(note);
    if (redraw)
        requestRedisplay();
}

// nothing can be kept this session: the waiting games go, and the screen stops saying "saving"
void stopKeeping()
{
    sKeeping = false;
    sWaiting.clear();
    if (sShown != 0 && sKeptId == 0)
        showNote("", true);
}

// the table open for writing, made (with its folder) only when a game is to be kept; a table
// another program holds locked is tried again at the next try
bool tableReady(bool make)
{
    if (sTable.state() == ScoreTableState::Open)
        return true;
    const std::string path = scoreTablePath();
    struct stat st;
    if (!make && (path.empty() || stat(path.c_str(), &st) != 0))
        return false;
    std::string folder, error, note;
    if (!makeUserFolder(UserFolder::Data, folder, error)) {
        say("vendettix: the scores will not be kept: " + error);
        stopKeeping();
        return false;
    }
    const ScoreTableState state = sTable.open(folder + "/" + kScoreTableName, true, &note);
    if (state == ScoreTableState::Busy) {
        sWhyWaiting = "the table is locked by another program";
        return false;
    }
    say(note);
    if (state != ScoreTableState::Open)
        stopKeeping();
    return state == ScoreTableState::Open;
}

// the waiting games saved, oldest first, as far as the table lets; the rest wait for the next try
void saveWaitingGames(bool redraw)
{
    sNextTry = gStepCount + kRetrySteps;
    if (sWaiting.empty() || !tableReady(true))
        return;
    while (!sWaiting.empty()) {
        const WaitingGame& next = sWaiting.front();
        int64_t id = 0;
        std::string error;
        if (!sTable.save(next.game, &id, &error)) {
            sWhyWaiting = sTable.busy() ? "the table is locked by another program" : error;
            return;
        }
        // kept: off to the shared board, when there is one
        sendKeptGame(next.number, next.game.inputLog);
        if (next.number == sShown) {
            sKeptId = id;
            sKept = next.game;
            int32_t rank = 0, count = 0;
            showNote(sTable.rankOf(id, &rank, &count) ? rankLine(rank, count) : "", redraw);
        }
        sWaiting.erase(sWaiting.begin());
    }
}

}  // namespace

std::string scoreTablePath()
{
    std::string folder = userFolderPath(UserFolder::Data);
    return folder.empty() ? folder : folder + "/" + kScoreTableName;
}

void startKeepingScores()
{
    sKeeping = true;
    // a table already there is checked now; none is made until a game is kept
    tableReady(false);
}

void noteGameProgress()
{
    const bool over = gGameOver != 0;
    const bool justOver = over && !sWasOver;
    if (justOver && sKeeping) {
        sShown = ++sFinished;
        sWaiting.push_back(WaitingGame{sShown, finishedGameNow()});
        setGameOverNote(kSavingNote);
        showBoardNoteOf(sShown);
        sNextTry = gStepCount;
    }
    if (!over && sWasOver) {
        // play again: the step that started it has run; a game still waiting keeps waiting
        sGameStart = gStepCount - 1;
        sShown = 0;
        sKeptId = 0;
        setGameOverNote("");
        showBoardNoteOf(0);
    }
    sWasOver = over;
    if (!sWaiting.empty() && gStepCount >= sNextTry)
        saveWaitingGames(!justOver);
    pollBoardSending();
}

void finishKeepingScores()
{
    if (!sKeeping)
        return;
    // the game still on its GAME OVER screen is kept with the session's whole log
    if (sShown != 0 && gGameOver) {
        FinishedGame later = finishedGameNow();
        later.endedAt = sKept.endedAt;
        later.playSteps = sKept.playSteps;
        std::string error;
        if (sKeptId != 0 && !sTable.update(sKeptId, later, &error))
            say("vendettix: cannot save the score in " + sTable.path() + ": " + error);
        for (WaitingGame& waiting : sWaiting)
            if (waiting.number == sShown) {
                later.endedAt = waiting.game.endedAt;
                later.playSteps = waiting.game.playSteps;
                waiting.game = later;
            }
    }
    // a last try for the games still waiting; what is left is lost, and said so
    saveWaitingGames(false);
    // the games being sent to the board get their answers (or time out)
    finishBoardSending();
    if (sWaiting.empty())
        return;
    std::string scores;
    for (const WaitingGame& waiting : sWaiting)
        scores += (scores.empty() ? "" : ", ") + std::to_string(waiting.game.score);
    const bool one = sWaiting.size() == 1;
    say("vendettix: " + std::string(one ? "the score " : "the scores ") + scores +
        (one ? " was" : " were") + " not saved in " + scoreTablePath() + ": " + sWhyWaiting);
    sWaiting.clear();
}

int printBestScores()
{
    ScoreTable table;
    std::string note;
    ScoreTableState state = table.open(scoreTablePath(), false, &note);
    say(note);
    // a newer table, one that cannot be opened, or one locked past the wait
    if (state != ScoreTableState::Open && state != ScoreTableState::Closed)
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
        if (state == ScoreTableState::Open || state == ScoreTableState::Closed)
            *error = "vendettix: no kept game of rank " + std::to_string(rank) + " in " +
                     scoreTablePath();
        else
            *error = "vendettix: no game can be read from the score table";
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

#ifdef __EMSCRIPTEN__
// The page starts no processes: the replay runs here, from the starting values, with standard
// output left out; its World (built without drawing) and every global it set go before the
// game starts.
bool summaryInAChild(const InputLog& log, std::string* summary)
{
    std::fflush(stdout);
    const int shown = dup(STDOUT_FILENO);
    const int quiet = ::open("/dev/null", O_WRONLY);
    if (quiet >= 0) {
        dup2(quiet, STDOUT_FILENO);
        ::close(quiet);
    }
    resetAllGlobals();
    startSettings(false, true);
    *summary = replayHeadless(log);
    std::fflush(stdout);
    if (shown >= 0) {
        dup2(shown, STDOUT_FILENO);
        ::close(shown);
    }
    delete gWorld->terrain;
    delete gWorld;
    gWorld = nullptr;
    resetAllGlobals();
    return true;
}
#else
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
#endif

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
    resetBoardSending();
    sTable.close();
    sKeeping = false;
    sWasOver = false;
    sGameStart = 0;
    sFinished = 0;
    sShown = 0;
    sKeptId = 0;
    sKept = FinishedGame{};
    sWaiting.clear();
    sNextTry = 0;
    sWhyWaiting.clear();
}
