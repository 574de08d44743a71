// SPDX-License-Identifier: MIT
// app: where the game's input comes from and where it goes: the player's window (optionally
// recorded to a file), or a recorded file replayed in the window or with no window at all.
#pragma once
#include <cstdint>
#include <string>

#include "game/input_log.h"

// every input the game acts on from now on is written to path; false if it cannot be created
bool startRecording(const std::string& path);
// the log's events are queued at their steps and the window's own input is ignored; the game
// ends after the log's last step, or after lastStep when that is later
void startReplay(const InputLog& log, int64_t lastStep = -1);
// the window's size, place and full screen are kept when the game ends
void keepWindowAtEnd();
// what the player keeps at the end (the finished game's longer log, the window), however the
// game ends: q, the menu's Exit or the window closed
void keepPlayersRecord();
// q or the menu's Exit took effect, or the replay has run its last step
bool playEnded();
// prints the summary line (when recording or replaying), closes the recording and ends the
// process with status 0
[[noreturn]] void endPlay();
// an event from the window, taking effect at the next step (dropped while replaying); a key the
// settings bind goes in as the key it stands for
void queueWindowInput(const InputEvent& event);
// the settings file read (unless readFile is false, as with --no-save) and its bad lines on
// standard error; the sound level set, the Look's settings queued as the first input of a game
// played live. A replay never writes the settings file.
void startSettings(bool readFile, bool replaying);
// the whole replay with no window, no GL and no sound, as fast as the machine goes, from the
// starting values; returns the summary line. Needs the data directory.
std::string replayHeadless(const InputLog& log, int64_t lastStep = -1);
void resetPlaySession();
