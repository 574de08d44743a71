// SPDX-License-Identifier: MIT
// app: the timedemo. A recorded game played in the window as fast as the machine goes, one frame
// for every step and none dropped, each frame timed from the start of its drawing to the end of
// its swap; and the floor, a bare window of the same size that only clears, draws one textured
// quad and swaps, timed the same way, so the game's figures can be read against the renderer's.
#pragma once
#include <string>
#include <vector>

#include "app/window_options.h"

// frames the floor draws
constexpr int kFloorFrames = 1000;

// "timedemo: N frames in S s, F frames a second; median M ms, 99th percentile P ms, worst W ms"
// from each frame's time (ms) and the whole run's wall time (s)
std::string timedemoLine(std::vector<double> frameMs, double seconds);

// the frame as the frame-time harness names its views ("station 2 home", "level 3 hidden
// left"), from where the eye stands and looks at this step; "other" for any other frame
std::string timedemoViewName();

// after startReplay: the replay's steps in the window, each followed by its frame; prints the
// timedemo line and the summary line and ends the process with status 0. With
// VX_TIMEDEMO_FRAMES naming a file, each frame's step, time (ms) and view name go there, a line
// each, for comparing the game's frames with the harness's views.
int runTimedemo(int argc, char** argv, const WindowOptions& window);
// the floor in a window of the size asked for: kFloorFrames frames, then the timedemo line;
// needs no data directory
int runTimedemoFloor(int argc, char** argv, const WindowOptions& window);

// a texture of the sky's size (1024x512, nearest texel) with no file behind it, bound to the
// sky's name
void makeFloorTexture();
// the floor's frame up to its swap: clear colour and depth, cover the window once with a
// depth-tested quad in the sky's texture; every GL state it sets is put back
void drawFloorFrame();
