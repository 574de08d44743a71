// SPDX-License-Identifier: MIT
// game: the head-up display (bars and texts over the finished scene, placed by window fractions)
// and the frame-rate counter.
#pragma once
#include <cstdint>
#include <string>

extern float gFpsFrames;     // frames counted since the last update
extern float gFpsLastTime;   // seconds of the last update
extern char gFpsText[64];    // the last formatted frame rate, empty at start
// under GAME OVER: where the game stands in the score table; empty when no table is kept
extern char gGameOverNote[32];

void setGameOverNote(const std::string& note);
// under that: what became of the game sent to the shared board; empty when none is sent
extern char gBoardNote[56];
void setBoardNote(const std::string& note);
// a replay plays in the window: kReplayMark stands in a corner
extern uint8_t gReplayMark;
constexpr const char* kReplayMark = "REPLAY";
void showReplayMark();

// both after the scene: neither reads nor writes depth, and each leaves the matrices, the depth
// test and lighting as it found them in a frame
void drawHudBars();
void drawHudText();
// the texts' font in the current viewport: 24-point Times while every text fits at its place,
// 10-point otherwise
void* hudTextFont();
// how far the fonts' glyphs reach above their baseline and below it, in pixels
constexpr int kLargeFontRise = 17;
constexpr int kLargeFontDrop = 5;
constexpr int kSmallFontRise = 7;
constexpr int kSmallFontDrop = 2;
void updateFpsCounter();
// the counter's step at a given tick time in seconds
void updateFpsCounterAt(float seconds);
void resetHudState();
