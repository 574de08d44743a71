// SPDX-License-Identifier: MIT
// app: the play session: live, recorded or replayed input, and the game's end.
#include "app/play_session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "app/app.h"
#include "app/score_keeping.h"
#include "app/window_memory.h"
#include "game/input_queue.h"
#include "game/play_step.h"
#include "game/play_summary.h"
#include "game/settings.h"
#include "platform/services.h"

namespace {

struct Recording {
    InputLogWriter log;
    std::string path;      // where the finished recording goes
    std::string partPath;  // where it is written meanwhile; empty when written in place
    bool finished = false;
};

Recording* sRecording = nullptr;
InputLogWriter* sMemoryLog = nullptr;  // a live game's log when it is not recorded
bool sKeepWindow = false;

// relative paths are taken from where the player stood, before the data directory became the
// working directory
std::string absolutePath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char* cwd = getcwd(nullptr, 0);
    std::string absolute = cwd ? std::string(cwd) + "/" + path : path;
    std::free(cwd);
    return absolute;
}

// an empty file holds nothing to lose; anything else must begin with a log's header, of this
// version or an older one
bool mayBeReplaced(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    // the first line, as far as the longest header and its newline
    std::string first(64, '\0');
    in.read(first.data(), std::streamsize(first.size()));
    first.resize(size_t(in.gcount()));
    const size_t end = first.find('\n');
    return first.empty() ||
           (end != std::string::npos && inputLogVersion(first.substr(0, end)) != 0);
}

// a start that never ran a step (no display, say) leaves no half-made file behind
void removeUnstartedRecording()
{
    if (sRecording && !sRecording->finished && !sRecording->partPath.empty() &&
        sRecording->log.text() == std::string(kInputLogHeader) + "\n")
        unlink(sRecording->partPath.c_str());
}

// an unfinished recording stays as a killed game leaves it
void dropRecording()
{
    if (sRecording) {
        recordInputTo(nullptr);
        sRecording->log.close();
    }
    delete sRecording;
    sRecording = nullptr;
}

}  // namespace

RecordStart startRecording(const std::string& path, std::string* error)
{
    dropRecording();
    struct stat info {};
    bool inPlace = false;
    if (stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            *error = path + ": is a directory, not a recording";
            return RecordStart::Refused;
        }
        if (S_ISREG(info.st_mode) && !mayBeReplaced(path)) {
            *error = path + ": exists and is not a recording (its first line is neither \"" +
                     kInputLogHeader + "\" nor \"" + kInputLogHeaderV1 +
                     "\"); it is left as it is";
            return RecordStart::Refused;
        }
        // a device or a pipe is written to as it is, never replaced
        inPlace = !S_ISREG(info.st_mode);
    }
    const std::string shown = inPlace ? path : path + ".part";
    auto recording = new Recording;
    recording->path = absolutePath(path);
    recording->partPath = inPlace ? "" : recording->path + ".part";
    const std::string written = inPlace ? recording->path : recording->partPath;
    int fd = open(written.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = shown + ": " + std::strerror(errno);
        delete recording;
        return RecordStart::Failed;
    }
    sRecording = recording;
    sRecording->log.attach(fd, shown);
    sRecording->log.writeHeader();
    recordInputTo(&sRecording->log);
    static bool cleanupRegistered = false;
    if (!cleanupRegistered)
        cleanupRegistered = std::atexit(removeUnstartedRecording) == 0;
    return RecordStart::Started;
}

bool finishRecording()
{
    if (!sRecording || sRecording->finished)
        return !sRecording || !sRecording->log.failed();
    recordInputTo(nullptr);
    sRecording->finished = true;
    sRecording->log.writeEnd(gStepCount);
    if (!sRecording->log.close())
        return false;  // the .part stays: whatever was written of the game is there
    if (!sRecording->partPath.empty() &&
        std::rename(sRecording->partPath.c_str(), sRecording->path.c_str()) != 0) {
        std::fprintf(stderr, "vendettix: cannot put the recording in place as %s: %s\n",
                     sRecording->path.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

std::string recordedLogText()
{
    return sRecording ? sRecording->log.text() : std::string();
}

void keepInputLogInMemory()
{
    if (sRecording || sMemoryLog)
        return;
    sMemoryLog = new InputLogWriter;
    sMemoryLog->writeHeader();
    recordInputTo(sMemoryLog);
}

std::string gameLogText()
{
    if (sRecording)
        return sRecording->log.text();
    return sMemoryLog ? sMemoryLog->text() : std::string();
}

void keepWindowAtEnd()
{
    sKeepWindow = true;
}

void keepPlayersRecord()
{
    if (!replaying())
        finishKeepingScores();
    if (sKeepWindow)
        saveWindowState(currentWindow());
    sKeepWindow = false;
}

void endPlay()
{
    // the kept game's longer log ends at this step, as the recording's does
    keepPlayersRecord();
    // in a web page the console is the only record a player has of a game: every game says its
    // line there
#ifdef __EMSCRIPTEN__
    const bool shown = true;
#else
    const bool shown = sRecording || replaying();
#endif
    // a recording that could not be written whole gets no summary: the game would claim a
    // file that does not replay it
    const bool whole = finishRecording();
    // a game played on the desktop without --record or --replay keeps its console as it always was
    if (whole && shown) {
        std::printf("%s\n", playSummary().c_str());
        std::fflush(stdout);
    }
    std::exit(whole ? 0 : 1);
}

void queueWindowInput(const InputEvent& event)
{
    // a key goes in as the key its action has by default, so the log replays under any settings
    InputEvent bound = event;
    if (!translateBoundKey(&bound))
        return;
    if (!replaying()) {
        queueInput(gStepCount, bound);
        return;
    }
    // the replay plays on its own; the player's ways out still end it where it is
    const bool key = bound.kind == InputKind::KeyDown;
    if (bound.kind == InputKind::Quit ||
        (key && (bound.code == 'q' || bound.code == 'Q' || bound.code == kKeyEscape)))
        stopReplay();
}

void startSettings(bool readFile, bool replaying)
{
    std::vector<std::string> problems;
    if (readFile)
        loadSettingsFile(&problems);
    else
        disableSettingsSave();
    // a replay never writes the player's file
    if (replaying)
        disableSettingsSave();
    for (const std::string& problem : problems)
        std::fprintf(stderr, "%s\n", problem.c_str());
    std::fflush(stderr);
    setSoundLevel(gSettings.volume, gSettings.mute);
    // the Look's settings are input, so a recording carries them; a replay takes its own
    const Settings defaults;
    if (!replaying &&
        (gSettings.sensitivity != defaults.sensitivity || gSettings.invert != defaults.invert)) {
        const int32_t scale = int32_t(std::lround(gSettings.sensitivity * kLookScaleUnits));
        queueInput(0, InputEvent{InputKind::Look, scale, gSettings.invert ? 1 : 0, 0, 0});
    }
}

void resetPlaySession()
{
    dropRecording();
    if (sMemoryLog)
        recordInputTo(nullptr);
    delete sMemoryLog;
    sMemoryLog = nullptr;
    sKeepWindow = false;
    resetScoreKeeping();
    resetReplay();
}
