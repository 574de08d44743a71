// SPDX-License-Identifier: MIT
// tests: playing the real game through E2eGame as a player would: reading the HUD off the
// screen, throwing, and getting past the model loader's message boxes.
//
// Window coordinates are those of the 600 x 600 window the game opens.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/e2e_harness.h"

struct Area {
    int x0, y0, x1, y1;  // window pixels from the top left, inclusive
};

// where the overlay's texts stand, baseline up
extern const Area kTimeLeftText;
extern const Area kRollsLeftText;
extern const Area kEggsLeftText;
extern const Area kCentreLineText;  // "LEVEL %i COMPLETE!" or "GAME OVER!!!"
extern const Area kScoreText;
extern const Area kRankText;        // under GAME OVER: "New best score!" or "Rank N of M"
extern const Area kReplayMarkText;  // "REPLAY" in the bottom right corner of a replay

// the overlay's texts are pure cyan over a night scene that has none
long cyanPixels(const Screenshot& shot, const Area& a);
// how many pixels of the area are cyan in one picture and not in the other
long cyanDifference(const Screenshot& a, const Screenshot& b, const Area& area);

// the level is being played: "Time Left:" is up
bool playing(const Screenshot& s);
// a level-complete or game-over message stands in the centre, the playing texts are gone
bool centreMessage(const Screenshot& s);

// the level key at each of the four levels, each level's end and the next one's start seen:
// the game is then at its GAME OVER
testing::AssertionResult skipEveryLevel(E2eGame& game);

// holds the right button a moment so the power bar swings up a little, then throws
void throwOne(E2eGame& game, double holdSeconds = 0.25);

// throws one item and waits until its counter ("Rolls Left" or "Eggs Left") changes on screen,
// judged by the game's steps; false if it did not within that many seconds of play
bool throwAndSeeCounterChange(E2eGame& game, const Area& counter, double playSeconds = 20.0);

// the visible message box titled "Error" or "Warning", if any; its title goes to *title
unsigned long findMessageBox(E2eGame& game, std::string* title = nullptr);

// starts the game and gets it to its first frame of play, dismissing with Return every message
// box shown on the way (their titles are appended to *boxTitles). False if the game ended or
// nothing was drawn in time.
bool startThroughMessageBoxes(E2eGame& game, std::vector<std::string>* boxTitles,
                              double timeoutSeconds = 300.0);

// a sanitizer's or the C++ runtime's complaint in the text, or an empty string
std::string crashReport(const std::string& stderrText);

// a fixed pause: only where nothing on screen can be waited on
void sleepFor(double seconds);

// a file of tests/data in the source tree (VX_SOURCE_DIR)
std::string testDataPath(const std::string& name);
// the "summary: ..." line of a game's standard output, or an empty string
std::string summaryLine(const std::string& stdoutText);
// the summary line of the game named by VX_GAME replaying the file with no window (and the more
// options)
std::string headlessSummary(E2eGame& game, const std::string& replayPath,
                            const std::vector<std::string>& more = {});
