// SPDX-License-Identifier: MIT
// app: where the game's input comes from and where it goes: the player's window (optionally
// recorded to a file), or a recorded file replayed in the window or with no window at all.
#pragma once
#include <cstdint>
#include <string>

#include "app/replay.h"
#include "game/input_log.h"

enum class RecordStart {
    Started,
    Refused,  // a directory, or a file that is not a recording: nothing written (status 2)
    Failed,   // cannot be created (status 1)
};
// every input the game acts on from now on is written to path.part, which becomes path when
// the game ends whole (a device or a pipe is written in place); *error says why not
RecordStart startRecording(const std::string& path, std::string* error);
// the recording's end line, the file closed and put in place; false when any write of it failed
// (the message is on standard error). True when nothing is recorded.
bool finishRecording();
// the whole input log of this game as written so far, header and all (empty when not recording)
std::string recordedLogText();
// a live game played without --record keeps its log as text too, for the score table
void keepInputLogInMemory();
// the whole input log of this session so far: the recording's, or the one kept in memory
std::string gameLogText();
// the window's size, place and full screen are kept when the game ends
void keepWindowAtEnd();
// what the player keeps at the end (the finished game's longer log, the window), however the
// game ends: q, the menu's Exit or the window closed
void keepPlayersRecord();
// finishes the recording and ends the process: status 0 with the summary line (when recording
// or replaying), or 1 and no summary when the recording could not be written whole
[[noreturn]] void endPlay();
// an event from the window, taking effect at the next step; a key the settings bind goes in as
// the key it stands for. While replaying it is dropped, but q, Escape and the menu's Exit (as
// the settings bind them) stop the replay
void queueWindowInput(const InputEvent& event);
// the settings file read (unless readFile is false, as with --no-save) and its bad lines on
// standard error; the sound level set, the Look's settings queued as the first input of a game
// played live. A replay never writes the settings file.
void startSettings(bool readFile, bool replaying);
void resetPlaySession();
