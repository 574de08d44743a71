// app: the shell's window state, and the one reset of every game global that tests start from.
#include "app/app.h"
#include "app/frame_clock.h"
#include "game/game_state.h"
#include "game/hud.h"
#include "game/input_bindings.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/input.h"
#include "player/throwing.h"
#include "streamer/paper_streamer.h"

int32_t gWindowWidth;
int32_t gWindowHeight;
float gYardOffset;

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
    resetFrameClock();
    resetGameState();
    resetHudState();
    resetCameraState();
    resetInputState();
    resetThrowingState();
    resetStreamerState();
    resetRedisplayRequestCount();
    routeInputToBindings();
}
