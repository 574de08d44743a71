// game: the head-up display (bars in eye space before the scene, texts in 2D after it) and the
// frame-rate counter.
#pragma once

extern float gFpsFrames;     // frames counted since the last update
extern float gFpsLastTime;   // seconds of the last update
extern char gFpsText[64];    // the last formatted frame rate, empty at start

void drawHudBars();
void drawHudText();
void updateFpsCounter();
// the counter's step at a given tick time in seconds
void updateFpsCounterAt(float seconds);
void resetHudState();
