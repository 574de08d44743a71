// SPDX-License-Identifier: MIT
// app: start-up, the shell's own callbacks, the frame update and the frame drawing.
#pragma once
#include <cstddef>
#include <cstdint>

class PaperStreamer;
class World;

#include "app/window_options.h"

extern int32_t gWindowWidth;
extern int32_t gWindowHeight;
extern float gYardOffset;       // the world is drawn shifted by minus this along x and z
// start-up keeps the ground's tree (for drawing it triangle by triangle beside the lists)
extern uint8_t gKeepTerrainTree;

// the whole start-up sequence and the main loop; ends the process (app/play_session.h endPlay)
[[noreturn]] int runGame(int argc, char** argv, const WindowOptions& window = {});
// everything runGame does before the event loop: the window, the GL state, the globals, the
// textures and the World
void startGame(int argc, char** argv, const WindowOptions& window = {});
// the window was destroyed under the game (checked at most once a second, and on X's errors)
bool windowGone();
// after each swap: under start-up timing (VX_STARTUP_TIMING) the first one ends the process
void noteFrameShown();
void onReshape(int width, int height);
// the middle button's menu: made at start-up, its entries brought up to date after each idle
// call's steps
constexpr int kMenuExit = 100;  // the menu's value for Exit; the others are the MenuChoice codes
void createGameMenu();
void refreshGameMenu();
void onMenu(int value);
// the window now: its size and place (those before full screen while full screen) and the mode
WindowOptions currentWindow();
// without asking the X server, for the menu's entry
bool windowIsFullScreen();
void onIdle();
void onDisplay();

// the parts of the frame that are drawn batched in the game; the tests and benches draw the same
// frame with the literal parts to compare pixels and time
struct SceneParts {
    void (*rolls)(int32_t level);
    void (*streamers)(const PaperStreamer* const* streamers, size_t count, bool wireframe);
    void (*world)(World& world, bool ownerSeesPlayer, int32_t level, int32_t hideLeft,
                  int32_t hideRight, bool withSky);
    void (*eggs)();
};
// the frame's view, from where the last step placed the camera (or the bird's-eye camera)
void setFrameCamera();
// one whole frame, camera to swap, with the given parts
void drawFrame(const SceneParts& parts);

// the values start-up gives the shell's globals, and through each floor's own function those of
// the floors below (no GL)
void assignStartingValues();
// the input callbacks queue every event for the next step of play (app/play_session.h)
void routeInputToBindings();

// every global back to its value before start-up, the shell's own (window, clocks, the input's
// route) and the play state's (resetPlayState); tests of the shell start from here
void resetAllGlobals();
