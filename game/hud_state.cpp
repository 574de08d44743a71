// SPDX-License-Identifier: MIT
// game: the frame-rate counter's state.
#include "game/hud.h"

#include <cstdio>

float gFpsFrames;
float gFpsLastTime;
char gFpsText[64];
char gGameOverNote[32];
char gBoardNote[56];
uint8_t gReplayMark;

void setGameOverNote(const std::string& note)
{
    std::snprintf(gGameOverNote, sizeof gGameOverNote, "%s", note.c_str());
}

void setBoardNote(const std::string& note)
{
    std::snprintf(gBoardNote, sizeof gBoardNote, "%s", note.c_str());
}

void showReplayMark()
{
    gReplayMark = 1;
}

void resetHudState()
{
    gFpsFrames = 0.0f;
    gFpsLastTime = 0.0f;
    gFpsText[0] = '\0';
    gGameOverNote[0] = '\0';
    gBoardNote[0] = '\0';
    gReplayMark = 0;
}
