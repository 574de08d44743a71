// SPDX-License-Identifier: MIT
// The game pad, driven through SDL's virtual joystick as a player would drive a real one: every
// control of the standard layout, the dead zone, the settings the log carries, and pads plugged
// in and pulled out while playing. SDL's controller subsystem needs no display for this.
#include <gtest/gtest.h>

#include <SDL.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/app.h"
#include "app/frame_clock.h"
#include "app/gamepad_input.h"
#include "app/play_session.h"
#include "game/game_state.h"
#include "game/controls.h"
#include "game/input_bindings.h"
#include "game/input_log.h"
#include "game/input_queue.h"
#include "game/pad_bindings.h"
#include "game/play_step.h"
#include "game/play_summary.h"
#include "game/settings.h"
#include "game/rules.h"
#include "platform/gamepad.h"
#include "platform/redisplay.h"
#include "platform/virtual_pad.h"
#include "player/camera.h"
#include "player/throwing.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"
#include "tests/support/run_dir.h"

namespace {

constexpr float kFieldPerSecond = float(2.0 * 3.141592 / 6);
constexpr float kStepTurn = kFieldPerSecond / 60.0f;  // one step at full tilt

class GamepadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        enterRunDirectory();
        resetAllGlobals();
        if (!gWorld)
            buildWorld();
    }
    static void TearDownTestSuite()
    {
        resetAllGlobals();
    }
    void SetUp() override
    {
        resetAllGlobals();
        assignStartingValues();
        addPlaceholderStreamer();
        ASSERT_TRUE(openGamepads());
    }
    void TearDown() override
    {
        detachVirtualPad();
        closeGamepads();
    }
    // the idle's share (the pads' events queued), then steps of play
    static void steps(int count)
    {
        for (int i = 0; i < count; ++i) {
            serviceGamepads();
            runPlayStep();
        }
    }
    static void plugIn()
    {
        ASSERT_TRUE(attachVirtualPad());
        steps(1);
        ASSERT_EQ(openGamepadCount(), 1);
    }
    static void press(int32_t button, int held = 1)
    {
        setVirtualPadButton(button, true);
        steps(held);
        setVirtualPadButton(button, false);
        steps(1);
    }
    static void stick(int32_t x, int32_t y)
    {
        setVirtualPadAxis(kPadLeftX, x);
        setVirtualPadAxis(kPadLeftY, y);
    }
};

// A second pad plugged in is opened but waits: the first stays in use until it is pulled out, and
// is let go of then. First in this file, so the first pad has SDL's first instance id (0), as a
// player's first pad does in the game.
TEST_F(GamepadTest, ASecondPadWaitsUntilThePadInUseIsPulledOut)
{
    plugIn();
    press(kPadY);
    ASSERT_TRUE(gEggSelected);
    const SDL_JoystickID first = SDL_JoystickGetDeviceInstanceID(0);
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(device, 0) << SDL_GetError();
    SDL_Joystick* second = SDL_JoystickOpen(device);
    ASSERT_NE(second, nullptr);
    steps(1);
    EXPECT_EQ(openGamepadCount(), 2);
    SDL_JoystickSetVirtualButton(second, kPadY, SDL_PRESSED);
    steps(1);
    SDL_JoystickSetVirtualButton(second, kPadY, SDL_RELEASED);
    steps(1);
    EXPECT_TRUE(gEggSelected) << "the second pad's Y while the first is in use";
    // the first, used before the second came, pauses the game as it goes
    ASSERT_TRUE(detachVirtualPad());
    steps(1);
    EXPECT_TRUE(gPaused);
    EXPECT_EQ(openGamepadCount(), 1);
    EXPECT_EQ(SDL_GameControllerFromInstanceID(first), nullptr) << "the pad pulled out is closed";
    // the second is in use now
    SDL_JoystickSetVirtualButton(second, kPadStart, SDL_PRESSED);
    steps(1);
    SDL_JoystickSetVirtualButton(second, kPadStart, SDL_RELEASED);
    steps(1);
    EXPECT_FALSE(gPaused);
    const SDL_JoystickID secondId = SDL_JoystickInstanceID(second);
    SDL_JoystickClose(second);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == secondId)
            SDL_JoystickDetachVirtual(i);
    steps(1);
    EXPECT_EQ(openGamepadCount(), 0);
}

// the test aid's script: a bad line is named and quoted, 60 characters at most; what is not a
// file is refused at once
TEST(VirtualPadScript, ABadLineIsQuotedShortAndOnlyAFileIsRead)
{
    const std::string path = testing::TempDir() + "vx-pad-" + std::to_string(getpid());
    std::vector<VirtualPadCommand> script;
    std::string error;
    const struct {
        std::string line;
        std::string quoted;
    } rows[] = {
        {"7 jump", "\"7 jump\""},
        {"6 " + std::string(5000, 'x'), "\"6 " + std::string(58, 'x') + "\"..."},
    };
    for (const auto& row : rows) {
        std::ofstream(path) << "# a script\n0 attach\n" << row.line << "\n5 button 0 1\n";
        EXPECT_FALSE(readVirtualPadScript(path, &script, &error));
        EXPECT_EQ(error, path + ":3: not a pad command: " + row.quoted);
        EXPECT_TRUE(script.empty());
    }
    std::ofstream(path) << "0 attach\n5 button 0 1\n";
    ASSERT_TRUE(readVirtualPadScript(path, &script, &error)) << error;
    EXPECT_EQ(script.size(), 2u);
    std::remove(path.c_str());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_FALSE(readVirtualPadScript(path, &script, &error));
    EXPECT_EQ(error, path + ":0: is a FIFO, not a pad script");
    std::remove(path.c_str());
}

TEST_F(GamepadTest, LeftStickTurnsTheViewAtARateBeyondTheDeadZone)
{
    plugIn();
    const float homeYaw = gCameraYaw, homePitch = gCameraPitch;
    // tilt x (of full), steps held, the turn expected in steps at full tilt
    const struct { const char* name; int32_t x, y; int steps; float yawTurns, pitchTurns; } rows[] = {
        {"full right", 32767, 0, 10, 10.0f, 0.0f},
        {"full left, back home", -32767, 0, 10, -10.0f, 0.0f},
        {"inside the dead zone", 5000, -5000, 30, 0.0f, 0.0f},
        {"just past it, stretched from nothing", 8300, 0, 30, 30.0f * (8300.0f / 32767 - 0.25f) / 0.75f, 0.0f},
        {"halfway beyond it", 20480, 0, 20, 10.0f, 0.0f},
        {"up looks up", 0, -32768, 6, 0.0f, 6.0f},
        {"down looks down", 0, 32767, 6, 0.0f, -6.0f},
    };
    float yaw = homeYaw, pitch = homePitch;
    for (const auto& row : rows) {
        stick(row.x, row.y);
        steps(row.steps);
        stick(0, 0);
        steps(1);
        yaw += row.yawTurns * kStepTurn;
        pitch += row.pitchTurns * kStepTurn;
        EXPECT_NEAR(gCameraYaw, yaw, 2e-4f) << row.name;
        EXPECT_NEAR(gCameraPitch, pitch, 2e-4f) << row.name;
        yaw = gCameraYaw;
        pitch = gCameraPitch;
    }
    // full tilt crosses the station's whole field in a second and stops at its edge
    stick(-32768, 0);
    steps(60);
    EXPECT_NEAR(gCameraYaw, homeYaw - kFieldPerSecond / 2, 1e-4f);
    stick(32767, 0);
    steps(59);
    EXPECT_LT(gCameraYaw, homeYaw + kFieldPerSecond / 2 - kStepTurn / 2);
    steps(2);
    EXPECT_NEAR(gCameraYaw, homeYaw + kFieldPerSecond / 2, 1e-4f);
}

// the Look's sensitivity and sense as the mouse has them, the dead zone from the pad's setting
TEST_F(GamepadTest, TheLooksSettingsAndThePadsDeadZoneShapeTheTurn)
{
    gSettings.padDeadzone = 0.5f;
    queueInput(0, InputEvent{InputKind::Look, 2000, 1, 0, 0});
    plugIn();
    const float yaw = gCameraYaw, pitch = gCameraPitch;
    stick(16000, 0);  // inside a dead zone of a half
    steps(10);
    EXPECT_EQ(gCameraYaw, yaw);
    stick(32767, 0);  // twice as fast
    steps(5);
    stick(0, -32768);  // and up looks down
    steps(5);
    stick(0, 0);
    steps(1);
    EXPECT_NEAR(gCameraYaw - yaw, 10 * kStepTurn, 2e-4f);
    EXPECT_NEAR(gCameraPitch - pitch, -10 * kStepTurn, 2e-4f);
    EXPECT_EQ(gPadDeadzone, 500);
    // the d-pad turns at full tilt whatever the stick's dead zone
    const float before = gCameraYaw;
    press(kPadLeft, 3);
    EXPECT_NEAR(gCameraYaw - before, -6 * kStepTurn, 2e-4f);
    // the next game (a replay, the fuzzer's next log) starts from the default dead zone
    resetAllGlobals();
    EXPECT_EQ(gPadDeadzone, kPadDeadzoneDefault);
}

TEST_F(GamepadTest, TriggerOrAHeldSwingsThePowerBarAndReleasedThrowsARoll)
{
    plugIn();
    for (bool trigger : {true, false}) {
        const int32_t rolls = gRollsLeft;
        if (trigger)
            setVirtualPadAxis(kPadRightTrigger, 32767);
        else
            setVirtualPadButton(kPadA, true);
        steps(20);
        EXPECT_TRUE(gCharging) << trigger;
        EXPECT_GT(gThrowPower, 0.0f) << trigger;
        EXPECT_EQ(gRollsLeft, rolls) << trigger;
        if (trigger)
            setVirtualPadAxis(kPadRightTrigger, 0);
        else
            setVirtualPadButton(kPadA, false);
        steps(1);
        EXPECT_EQ(gRollsLeft, rolls - 1) << trigger;
    }
    // a trigger resting at half its travel (where a joystick axis rests) neither holds nor
    // throws; just past it, it holds; and it lets go only below a quarter, so one throw
    const int32_t rolls = gRollsLeft;
    setVirtualPadAxis(kPadRightTrigger, 16384);
    steps(3);
    EXPECT_FALSE(gPadThrowHeld);
    setVirtualPadAxis(kPadRightTrigger, 16390);
    steps(1);
    EXPECT_TRUE(gPadThrowHeld);
    setVirtualPadAxis(kPadRightTrigger, 16000);
    steps(1);
    setVirtualPadAxis(kPadRightTrigger, 17000);
    steps(1);
    setVirtualPadAxis(kPadRightTrigger, 12000);
    steps(1);
    setVirtualPadAxis(kPadRightTrigger, 17000);
    steps(1);
    EXPECT_EQ(gRollsLeft, rolls);
    setVirtualPadAxis(kPadRightTrigger, 5000);
    steps(1);
    EXPECT_EQ(gRollsLeft, rolls - 1);
    // the press and release points to the unit, as a log's padaxis lines give them
    const struct { int32_t position; bool held; } points[] = {
        {16384, false}, {16385, true}, {8192, true}, {8191, false}};
    for (const auto& point : points) {
        applyInput(InputEvent{InputKind::PadAxis, kPadRightTrigger, 0, point.position, 0});
        EXPECT_EQ(gPadTriggerHeld != 0, point.held) << point.position;
    }
}

// a shoulder asks for a redraw as the hide key does, pressed or let go; the d-pad's turn is drawn
// by the step that makes it
TEST_F(GamepadTest, ShouldersAskForARedrawAsTheHideKeysDo)
{
    const struct { InputKind kind; int32_t button; long redraws; } rows[] = {
        {InputKind::PadDown, kPadLeftShoulder, 1}, {InputKind::PadUp, kPadLeftShoulder, 1},
        {InputKind::PadDown, kPadRightShoulder, 1}, {InputKind::PadUp, kPadRightShoulder, 1},
        {InputKind::PadDown, kPadDown, 0}, {InputKind::PadUp, kPadDown, 0}};
    for (const auto& row : rows) {
        const long before = redisplayRequestCount();
        applyInput(InputEvent{row.kind, row.button, 0, 0, 0});
        EXPECT_EQ(redisplayRequestCount() - before, row.redraws)
            << int(row.kind) << " " << row.button;
    }
}

TEST_F(GamepadTest, ShouldersHideWhileHeldYChangesWeaponsStartPausesBackShowsHelp)
{
    plugIn();
    setVirtualPadButton(kPadLeftShoulder, true);
    steps(10);
    EXPECT_LT(gHideLeftAmount, 0.0f);
    setVirtualPadButton(kPadLeftShoulder, false);
    steps(1);
    EXPECT_TRUE(gReturnFromLeft);
    steps(60);
    EXPECT_EQ(gHideLeftAmount, 0.0f);
    // the key and the shoulder hold one side together: letting go of one keeps the lean
    setVirtualPadButton(kPadRightShoulder, true);
    steps(5);
    applyInput(InputEvent{InputKind::KeyDown, 'd', 0, 0, 0});
    applyInput(InputEvent{InputKind::KeyUp, 'd', 0, 0, 0});
    steps(5);
    EXPECT_FALSE(gReturnFromRight);
    EXPECT_GT(gHideRightAmount, 0.035f);
    setVirtualPadButton(kPadRightShoulder, false);
    steps(1);
    EXPECT_TRUE(gReturnFromRight);

    press(kPadY);
    EXPECT_TRUE(gEggSelected);
    press(kPadY);
    EXPECT_FALSE(gEggSelected);

    // a charge the pause caught ends with nothing thrown when the trigger is let go
    const int32_t rolls = gRollsLeft;
    setVirtualPadAxis(kPadRightTrigger, 32767);
    steps(5);
    ASSERT_TRUE(gCharging);
    press(kPadStart);
    ASSERT_TRUE(gPaused);
    setVirtualPadAxis(kPadRightTrigger, 0);
    steps(1);
    EXPECT_FALSE(gCharging);
    // while paused the stick, the shoulders and the throw do nothing
    const float yaw = gCameraYaw, bar = gTimeBar;
    stick(32767, 0);
    setVirtualPadButton(kPadLeftShoulder, true);
    press(kPadA, 5);
    press(kPadY);
    EXPECT_EQ(gCameraYaw, yaw);
    EXPECT_EQ(gHideLeftAmount, 0.0f);
    EXPECT_EQ(gRollsLeft, rolls);
    EXPECT_FALSE(gEggSelected);
    EXPECT_EQ(gTimeBar, bar);
    setVirtualPadButton(kPadLeftShoulder, false);
    stick(0, 0);
    press(kPadStart);
    EXPECT_FALSE(gPaused);

    // Back: the help, printed and in the window, paused until Back or Start
    testing::internal::CaptureStdout();
    press(kPadBack);
    EXPECT_NE(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(gHelpShown && gPaused);
    testing::internal::CaptureStdout();
    press(kPadBack);
    EXPECT_FALSE(gHelpShown || gPaused);
    press(kPadBack);
    press(kPadStart);
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(gHelpShown || gPaused);
}

TEST_F(GamepadTest, AAfterGameOverPlaysAgainWithoutThrowing)
{
    plugIn();
    for (int turn = 0; turn < 4; ++turn)
        advanceTurn();
    ASSERT_TRUE(gGameOver);
    // A held on from that press throws nothing, even with the trigger brushed meanwhile
    setVirtualPadButton(kPadA, true);
    steps(3);
    setVirtualPadAxis(kPadRightTrigger, 3000);
    steps(2);
    EXPECT_FALSE(gCharging);
    setVirtualPadButton(kPadA, false);
    setVirtualPadAxis(kPadRightTrigger, 0);
    steps(1);
    EXPECT_FALSE(gGameOver);
    EXPECT_EQ(gLevel, 1);
    EXPECT_EQ(gRollsLeft, 10);
    // its next press throws
    press(kPadA, 5);
    EXPECT_EQ(gRollsLeft, 9);
}

TEST_F(GamepadTest, APadPluggedInLaterIsUsedAndPullingOutThePadInUsePauses)
{
    const size_t keyboardControls = controlLines().size();
    steps(3);
    EXPECT_EQ(openGamepadCount(), 0);
    // a pad plugged in and out again untouched changes nothing
    plugIn();
    ASSERT_TRUE(detachVirtualPad());
    steps(2);
    EXPECT_EQ(openGamepadCount(), 0);
    EXPECT_FALSE(gPaused);

    // the help lists the pad's controls once it has been used, not before
    EXPECT_EQ(controlLines().size(), keyboardControls);
    plugIn();
    setVirtualPadButton(kPadLeftShoulder, true);
    setVirtualPadAxis(kPadRightTrigger, 32767);
    stick(32767, 0);
    steps(5);
    ASSERT_TRUE(gCharging);
    ASSERT_EQ(controlLines().size(), keyboardControls + 4);
    EXPECT_EQ(controlLines()[keyboardControls].keys, "Pad: stick, d-pad");
    const int32_t rolls = gRollsLeft;
    ASSERT_TRUE(detachVirtualPad());
    steps(1);
    EXPECT_EQ(openGamepadCount(), 0);
    EXPECT_TRUE(gPaused);
    // what it held is let go; the charge is not thrown
    EXPECT_EQ(gPadButtonsHeld, 0u);
    EXPECT_EQ(gPadAxes[kPadLeftX], 0);
    EXPECT_TRUE(gReturnFromLeft);
    EXPECT_EQ(gRollsLeft, rolls);

    // the log's padgone alone lets go of what the pad held, whatever SDL sent before it
    applyInput(InputEvent{InputKind::PadDown, kPadRightShoulder, 0, 0, 0});
    applyInput(InputEvent{InputKind::PadGone, 0, 0, 0, 0});
    EXPECT_EQ(gPadButtonsHeld, 0u);
    EXPECT_FALSE(padHoldsHideRight());

    // plugged in again, it steers once the game resumes
    plugIn();
    press(kPadStart);
    ASSERT_FALSE(gPaused);
    const float yaw = gCameraYaw;
    stick(-32768, 0);
    steps(3);
    EXPECT_LT(gCameraYaw, yaw);
}

// what the pad does reaches the log as its own lines, the settings first, and replays the same
TEST_F(GamepadTest, APadGameRecordedReplaysToTheSameSummary)
{
    const std::string path = testing::TempDir() + "vx-pad-game.replay";
    std::string error;
    ASSERT_EQ(startRecording(path, &error), RecordStart::Started) << error;
    plugIn();
    stick(30000, -20000);
    steps(20);
    stick(0, 0);
    setVirtualPadAxis(kPadRightTrigger, 32767);
    steps(25);
    setVirtualPadAxis(kPadRightTrigger, 0);
    press(kPadRightShoulder, 30);
    steps(200);
    queueInput(gStepCount, InputEvent{InputKind::Quit, 0, 0, 0, 0});
    steps(1);
    ASSERT_TRUE(gQuitRequested);
    const std::string played = playSummary();
    ASSERT_TRUE(finishRecording());

    InputLog log;
    ASSERT_TRUE(readInputLog(path, &log, &error)) << error;
    std::remove(path.c_str());
    ASSERT_GT(log.events.size(), 6u);
    EXPECT_EQ(log.events[0].event.kind, InputKind::PadDeadzone);
    EXPECT_EQ(log.events[0].event.code, 250);
    EXPECT_EQ(std::count_if(log.events.begin(), log.events.end(),
                            [](const QueuedInput& input) {
                                return input.event.kind == InputKind::PadDeadzone;
                            }),
              1);
    EXPECT_EQ(log.events.back().event.kind, InputKind::Quit);
    resetAllGlobals();
    EXPECT_EQ(replayHeadless(log), played);
}

// The idle opens the pads after the first frame, once: a machine where SDL has none is not asked
// again. SDL takes no signal, so Ctrl-C still ends the game, and closing gives its subsystem back.
// The only test that leaves the opening to the idle.
TEST_F(GamepadTest, TheIdleOpensThePadsOnceAfterTheFirstFrame)
{
    struct sigaction interrupt {};
    ASSERT_EQ(sigaction(SIGINT, nullptr, &interrupt), 0);
    EXPECT_EQ(interrupt.sa_handler, SIG_DFL);
    closeGamepads();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u);
    gFrameClockRunning = 0;
    serviceGamepads();
    EXPECT_FALSE(gamepadsOpen()) << "before the first frame";
    gFrameClockRunning = 1;
    serviceGamepads();
    EXPECT_TRUE(gamepadsOpen()) << "after it";
    closeGamepads();
    serviceGamepads();
    EXPECT_FALSE(gamepadsOpen()) << "asked twice";
}

// VX_VIRTUAL_PAD's script plays through the idle; none named is no fault, a missing file is
TEST_F(GamepadTest, TheEnvironmentsPadScriptPlaysThroughTheIdle)
{
    std::string error;
    unsetenv("VX_VIRTUAL_PAD");
    EXPECT_TRUE(readVirtualPadFromEnvironment(&error));
    const std::string path = testing::TempDir() + "vx-pad-script.pad";
    std::ofstream(path) << "0 attach\n2 button " << kPadY << " 1\n3 button " << kPadY << " 0\n";
    setenv("VX_VIRTUAL_PAD", path.c_str(), 1);
    EXPECT_TRUE(readVirtualPadFromEnvironment(&error)) << error;
    steps(6);
    EXPECT_EQ(openGamepadCount(), 1);
    EXPECT_TRUE(gEggSelected);
    std::remove(path.c_str());
    EXPECT_FALSE(readVirtualPadFromEnvironment(&error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    unsetenv("VX_VIRTUAL_PAD");
}

}  // namespace
