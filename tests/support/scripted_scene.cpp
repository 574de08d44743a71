// tests: the scripted scene of the frame-time harness and the frame test.
#include "tests/support/scripted_scene.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "player/camera_placement.h"
#include "app/frame_clock.h"
#include "game/game_state.h"
#include "game/hud.h"
#include "game/rules.h"
#include "player/camera.h"
#include "player/input.h"
#include "player/throwing.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"

namespace {

constexpr float kFlightStep = 0.016f;  // seconds, a 60 Hz frame
constexpr float kTickStep = 16.0f;     // ms
constexpr int kStreamers = 40;
constexpr int kInFlight = 10;

// the leak check runs after the GL driver is unloaded, which leaves its allocations
// unattributed; kept mapped, the suppressions can name it
void keepGlDriverLoaded()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "_dri.so"))
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

void pumpEvents()
{
    for (int i = 0; i < 5; ++i)
        glutMainLoopEvent();
}

// the look turned by yaw from home and raised by pitch, as the mouse would leave it
void aim(float yaw, float pitch)
{
    gCameraYaw = gHomeYaw + yaw;
    gCameraPitch = pitch;
    updateLookVector();
    placeCamera(gWorld);
    updateViewVectors();
}

// one idle call's flights and streamer steps, without its pacing
void step(int count)
{
    for (int n = 0; n < count; ++n) {
        updateRolls(kFlightStep, gLevel);
        for (int32_t strikes = updateEggs(kFlightStep, gLevel); strikes > 0; --strikes)
            scorePlantStrike(gLevel);
        stepStreamers(kTickStep);
    }
}

}  // namespace

bool startScriptedGame(const char* runDir, int width, int height)
{
    if (!runDir || chdir(runDir) != 0)
        return false;
    if (access("house.3DS", R_OK) != 0 || access("Grass.bmp", R_OK) != 0)
        return false;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    int argc = 1;
    char name[] = "vendettix";
    char* argv[] = {name, nullptr};
    startGame(argc, argv);
    glutDisplayFunc([] {});  // the harness draws the frames itself
    glutIdleFunc(nullptr);
    keepGlDriverLoaded();
    resizeScriptedGame(width, height);
    return true;
}

void finishScriptedGame()
{
    resetAllGlobals();
}

void resizeScriptedGame(int width, int height)
{
    glutPositionWindow(0, 0);
    glutReshapeWindow(width, height);
    pumpEvents();
    onReshape(width, height);
}

ScriptedSceneCounts buildScriptedScene()
{
    gEggSelected = 0;
    // 40 rolls fanned across the house at powers that reach it
    for (int k = 0; k < kStreamers; ++k) {
        aim(0.035f * float(k % 20 - 10), 0.2f + 0.02f * float(k % 7));
        throwRoll(0.4f + 0.006f * float(k % 11), gViewDir);
        step(3);
    }
    step(400);
    // eggs at the walls: they leave their splats
    for (int k = 0; k < kInFlight; ++k) {
        aim(0.04f * float(k - 5), 0.5f + 0.02f * float(k % 3));
        throwEgg(0.5f + 0.01f * float(k), gViewDir);
    }
    step(150);
    // and ten of each still in the air
    for (int k = 0; k < kInFlight; ++k) {
        aim(0.03f * float(k - 5), 0.3f);
        throwRoll(0.35f, gViewDir);
        throwEgg(0.25f, gViewDir);
        step(2);
    }
    step(30);
    aim(0.0f, gHomePitch);

    gRollsLeft = 3;
    gEggsLeft = 4;
    gThrowPower = 0.45f;
    gSpinEnabled = 1;
    gShowFps = 1;
    gSpinAngle = 200.0f;

    ScriptedSceneCounts counts;
    counts.streamers = int(gStreamers.size()) - 1;
    for (const RollRecord& roll : gRollsInFlight)
        counts.rollsInFlight += roll.active;
    for (const EggRecord& egg : gEggsInFlight) {
        counts.eggsInFlight += egg.active;
        counts.splats += !egg.active && egg.struck && !egg.struckPlant;
    }
    freezeFrameState();
    return counts;
}

void freezeFrameState()
{
    gFrameClockRunning = 0;  // the next frame's interval is 0: the level clock stands still
    gFpsLastTime = 1e30f;
    std::snprintf(gFpsText, sizeof gFpsText, "Current Frames Per Second: %d", 60);
    gOwnerSeesPlayer = ownerSeesPlayerAt(gSpinAngle, gLevel);
}
