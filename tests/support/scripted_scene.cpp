// SPDX-License-Identifier: MIT
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
    gKeepTerrainTree = 1;  // the literal frame draws the ground triangle by triangle
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

// ---------------------------------------------------------------- views

namespace {

constexpr float kLowestPitch = 0.0f;          // the look's limits
constexpr float kHighestPitch = 1.0471973f;

// everything a view changes, taken before the first and put back after each
struct CameraState {
    int32_t level, rollsLeft, eggsLeft, turnFrame;
    float timeBar, levelSeconds, throwPower;
    uint8_t levelOver, turning, gameOver, birdsEye;
    float stationAngle, yaw, pitch, homeYaw, homePitch, homeStationAngle, pressYaw, pressPitch;
    float hideLeft, hideRight;
    uint8_t hideLeftOpen, hideRightOpen, returnFromLeft, returnFromRight;
    Vec3 lookVector, hideShift;

    static CameraState take()
    {
        return CameraState{gLevel, gRollsLeft, gEggsLeft, gTurnFrame, gTimeBar, gLevelSeconds,
                           gThrowPower, gLevelOver, gTurning, gGameOver, gBirdsEyeView,
                           gStationAngle, gCameraYaw, gCameraPitch, gHomeYaw, gHomePitch,
                           gHomeStationAngle, gPressYaw, gPressPitch, gHideLeftAmount,
                           gHideRightAmount, gHideLeftOpen, gHideRightOpen, gReturnFromLeft,
                           gReturnFromRight, gLookVector, gHideShift};
    }
    void put() const
    {
        gLevel = level, gRollsLeft = rollsLeft, gEggsLeft = eggsLeft, gTurnFrame = turnFrame;
        gTimeBar = timeBar, gLevelSeconds = levelSeconds, gThrowPower = throwPower;
        gLevelOver = levelOver, gTurning = turning, gGameOver = gameOver;
        gBirdsEyeView = birdsEye;
        gStationAngle = stationAngle, gCameraYaw = yaw, gCameraPitch = pitch;
        gHomeYaw = homeYaw, gHomePitch = homePitch, gHomeStationAngle = homeStationAngle;
        gPressYaw = pressYaw, gPressPitch = pressPitch;
        gHideLeftAmount = hideLeft, gHideRightAmount = hideRight;
        gHideLeftOpen = hideLeftOpen, gHideRightOpen = hideRightOpen;
        gReturnFromLeft = returnFromLeft, gReturnFromRight = returnFromRight;
        gLookVector = lookVector, gHideShift = hideShift;
    }
};

struct StationHome {
    float stationAngle, yaw, pitch;
};

bool sInView = false;
CameraState sBeforeView;
StationHome sHomes[5];
bool sHomesKnown = false;

// each level's home, found by turning through the levels with the game's own turn
void findStationHomes()
{
    const CameraState before = CameraState::take();
    sHomes[1] = {gHomeStationAngle, gHomeYaw, gHomePitch};
    for (int32_t level = 2; level <= 4; ++level) {
        advanceTurn();
        for (int n = 0; gTurning && n < 100000; ++n)
            stepTurn();
        sHomes[level] = {gHomeStationAngle, gHomeYaw, gHomePitch};
    }
    before.put();
    updateLookVector();
    sHomesKnown = true;
}

}  // namespace

const std::vector<ScriptedView>& scriptedViews()
{
    static const std::vector<ScriptedView> views = [] {
        std::vector<ScriptedView> v;
        for (int32_t level = 1; level <= 4; ++level)
            v.push_back({"station " + std::to_string(level) + " home", level,
                         ScriptedView::kHome});
        for (int32_t level = 1; level <= 4; ++level) {
            v.push_back({"level " + std::to_string(level) + " hidden left", level,
                         ScriptedView::kHiddenLeft});
            v.push_back({"level " + std::to_string(level) + " hidden right", level,
                         ScriptedView::kHiddenRight});
        }
        v.push_back({"looking at the ground", 1, ScriptedView::kGround});
        v.push_back({"looking at the sky", 1, ScriptedView::kSky});
        v.push_back({"bird's-eye view", 1, ScriptedView::kBirdsEye});
        return v;
    }();
    return views;
}

void enterScriptedView(const ScriptedView& view)
{
    if (!sHomesKnown)
        findStationHomes();
    if (!sInView)
        sBeforeView = CameraState::take();
    sInView = true;
    const StationHome& home = sHomes[view.level];
    gLevel = view.level;
    gStationAngle = gHomeStationAngle = home.stationAngle;
    gCameraYaw = gHomeYaw = home.yaw;
    gCameraPitch = gHomePitch = home.pitch;
    gHideShift = Vec3{0, 0, 0};
    gHideLeftAmount = gHideRightAmount = 0.0f;
    gBirdsEyeView = view.look == ScriptedView::kBirdsEye;
    if (view.look == ScriptedView::kGround)
        gCameraPitch = kLowestPitch;
    else if (view.look == ScriptedView::kSky)
        gCameraPitch = kHighestPitch;
    updateLookVector();
    placeCamera(gWorld);
    updateViewVectors();
    // walked out as the keys walk, to the full lean
    if (view.look == ScriptedView::kHiddenLeft) {
        gHideLeftOpen = 1;
        for (int n = 0; gHideLeftOpen && n < 1000; ++n)
            stepHideLeft(kTickStep);
    } else if (view.look == ScriptedView::kHiddenRight) {
        gHideRightOpen = 1;
        for (int n = 0; gHideRightOpen && n < 1000; ++n)
            stepHideRight(kTickStep);
    }
    // the frame is drawn from where a step last placed the camera
    placeCamera(gWorld);
    updateViewVectors();
}

void leaveScriptedView()
{
    if (!sInView)
        return;
    sBeforeView.put();
    updateLookVector();
    placeCamera(gWorld);
    updateViewVectors();
    sInView = false;
}
