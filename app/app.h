// app: start-up, the shell's own callbacks, the frame update and the frame drawing.
#pragma once
#include <cstdint>

#include "app/window_options.h"

extern int32_t gWindowWidth;
extern int32_t gWindowHeight;
extern float gYardOffset;       // the world is drawn shifted by minus this along x and z

// the whole start-up sequence; does not return
int runGame(int argc, char** argv, const WindowOptions& window = {});
// everything runGame does before the event loop: the window, the GL state, the globals, the
// textures and the World
void startGame(int argc, char** argv, const WindowOptions& window = {});
// after each swap: under start-up timing (VX_STARTUP_TIMING) the first one ends the process
void noteFrameShown();
void onReshape(int width, int height);
void onMenu(int value);
void onIdle();
void onDisplay();

// the values start-up assigns to the shared globals (no GL)
void assignStartingValues();
// element 0 of gStreamers: a landed streamer with no roll
void addPlaceholderStreamer();
// the input callbacks hand every event to the game's bindings, which act on it at once
void routeInputToBindings();

// every global back to its value before start-up, the shell's own (window, clocks, the input's
// route) and the play state's (resetPlayState); tests of the shell start from here
void resetAllGlobals();
