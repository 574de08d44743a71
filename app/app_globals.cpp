// app: the shell's window state, and the one reset of every game global that tests start from.
#include "app/app.h"
#include "app/frame_clock.h"
#include "game/game_state.h"
#include "game/input_bindings.h"

int32_t gWindowWidth;
int32_t gWindowHeight;
float gYardOffset;
uint8_t gKeepTerrainTree;

static void applyInputNow(const InputEvent& event)
{
    applyInput(event, InputContext{gWindowWidth, gWindowHeight, tickStepMs()});
}

void routeInputToBindings()
{
    setInputHandler(applyInputNow);
}

void resetAllGlobals()
{
    gWindowWidth = gWindowHeight = 0;
    gYardOffset = 0.0f;
    gKeepTerrainTree = 0;
    resetFrameClock();
    resetPlayState();
    routeInputToBindings();
}
