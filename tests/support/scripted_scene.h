// SPDX-License-Identifier: MIT
// tests: the scene the frame-time harness times and the frame test compares, the same in every
// run: 40 streamers thrown at the house from the first station, 10 rolls in the air each trailing
// its own streamer (50 streamers in all), 10 eggs in the air, splats on the walls, the owner in
// view and the whole HUD with the frame rate.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ScriptedSceneCounts {
    int streamers = 0;     // drawn streamers (the placeholder not counted)
    int rollsInFlight = 0;
    int eggsInFlight = 0;
    int splats = 0;
};

// the game's own start-up in a window of the given size (freeglut, the generated assets in
// runDir, which becomes the working directory); false when the assets are missing
bool startScriptedGame(const char* runDir, int width, int height);
// lets the streamers go (the game keeps them to the end; a leak check would not)
void finishScriptedGame();
// resizes the window (the harness measures at several sizes in one run)
void resizeScriptedGame(int width, int height);
// throws and flies everything through the game's own rules; call once after startScriptedGame
ScriptedSceneCounts buildScriptedScene();
// puts back what drawing a frame changes (frame clock, frame-rate text, the owner's sight), so
// that every frame is drawn from the same state
void freezeFrameState();

// The views the harness times and the frame test compares: each station's home view, hidden
// left and right at each level (walked out to the full lean), looking down at the ground and up
// at the sky, and the bird's-eye view; the scripted scene is the first station's home view.
struct ScriptedView {
    enum Look { kHome, kHiddenLeft, kHiddenRight, kGround, kSky, kBirdsEye };
    std::string name;
    int32_t level;  // 1..4, the station
    Look look;
};
const std::vector<ScriptedView>& scriptedViews();
// the level and the camera as the view has them; leaveScriptedView puts back those before
void enterScriptedView(const ScriptedView& view);
void leaveScriptedView();
