// SPDX-License-Identifier: MIT
// The key and mouse bindings: what each changes, the frozen-input rule and which bindings ask
// for a redisplay.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/app.h"
#include "app/frame_clock.h"
#include "game/game_state.h"
#include "game/input_bindings.h"
#include "game/input_queue.h"
#include "game/play_step.h"
#include "game/settings.h"
#include "platform/full_screen.h"
#include "platform/services.h"
#include "platform/redisplay.h"
#include "player/camera.h"
#include "player/input.h"
#include "player/throwing.h"

namespace {

constexpr double kYawLimit = 0.5235986666666667;

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAllGlobals();
        bindDirectly();
        gEyeLift = Vec3{0, 1.5f, 0};
        gUpVector = Vec3{0, 1, 0};
        gSideVector = Vec3{0, 0, 1};
    }
    // the bindings at once, without the queue's step boundary (the replay tests cover that)
    static void bindDirectly()
    {
        gViewWidth = gViewHeight = 600;
        setInputHandler([](const InputEvent& event) { applyInput(event); });
    }
    // one step of the held keys and the walk back, 16 ms after the last
    static void holdStep()
    {
        stepHeldKeys(16.0f);
        stepLeanReturn(16.0f);
    }
    static void key(unsigned char k) { onKeyboard(k, 0, 0); }
    static void keyUp(unsigned char k) { onKeyboardUp(k, 0, 0); }
    static void leftDown(int x, int y) { onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y); }
    static void leftUp(int x, int y) { onMouse(GLUT_LEFT_BUTTON, GLUT_UP, x, y); }
    // redisplay requests made by f
    template <class F>
    static long requestsBy(F f)
    {
        const long before = redisplayRequestCount();
        f();
        return redisplayRequestCount() - before;
    }
};

TEST_F(InputTest, DragFarRightOrLeftStopsAtTheEdgeOfTheHomeField)
{
    // 210 px on a 600 px window is about 40 degrees
    leftDown(300, 300);
    onMotion(510, 300);
    EXPECT_EQ(gCameraYaw, float(gHomeYaw + kYawLimit));
    onMotion(90, 300);
    EXPECT_EQ(gCameraYaw, float(gHomeYaw - kYawLimit));
    leftUp(90, 300);
    EXPECT_EQ(gCameraYaw, float(gHomeYaw - kYawLimit));
}

TEST_F(InputTest, DragIsMeasuredFromThePressNotAccumulated)
{
    const float pressYaw = gCameraYaw;
    leftDown(300, 300);
    onMotion(330, 300);
    onMotion(345, 300);
    onMotion(315, 300);
    EXPECT_FLOAT_EQ(gCameraYaw, pressYaw + (pixelToViewX(315, gViewWidth, gViewHeight) - pixelToViewX(300, gViewWidth, gViewHeight)));
    EXPECT_GT(gCameraYaw, pressYaw);  // pointer right: larger yaw
    EXPECT_EQ(gYawDelta, 0.0f);
    // the look vector follows the angles at once
    EXPECT_FLOAT_EQ(gLookVector.z, float(std::sin(double(gCameraYaw)) *
                                         std::cos(double(gCameraPitch))));
}

TEST_F(InputTest, PitchNeverGoesBelowLevelAndStopsAtSixtyDegrees)
{
    leftDown(300, 100);
    onMotion(300, 140);  // pointer down lowers the view
    EXPECT_LT(gCameraPitch, 0.785398f);
    EXPECT_GT(gCameraPitch, 0.0f);
    onMotion(300, 599);
    EXPECT_EQ(gCameraPitch, 0.0f);
    onMotion(300, 0);
    EXPECT_GT(gCameraPitch, 0.0f);
    leftUp(300, 100);

    leftDown(300, 599);
    onMotion(300, 0);
    EXPECT_EQ(gCameraPitch, 1.0471973f);
}

TEST_F(InputTest, ReleaseEndsTheLook)
{
    leftDown(300, 300);
    leftUp(350, 300);
    const float yaw = gCameraYaw;
    EXPECT_GT(yaw, 0.785398f);
    EXPECT_EQ(gLooking, 0);
    // a drag with another button moves the pointer but not the view
    onMotion(100, 300);
    EXPECT_EQ(gCameraYaw, yaw);
    EXPECT_EQ(gMouseX, 100.0f);
}

TEST_F(InputTest, HomeTurnsToQuarterCircleUnclampedUntilTheNextPress)
{
    gHideShift = Vec3{1, -0.5f, 2};
    gHideLeftAmount = -1.5f;
    gHideLeftOpen = 0;
    gCameraPitch = 0.9f;
    onSpecial(GLUT_KEY_HOME, 0, 0);
    EXPECT_EQ(gCameraYaw, 1.570796f);  // beyond the home field of 0.785398 +- 0.52
    EXPECT_EQ(gCameraPitch, 0.0f);
    EXPECT_EQ(gHideShift.x, 0.0f);
    EXPECT_EQ(gHideShift.y, 0.0f);
    EXPECT_EQ(gHideShift.z, 0.0f);
    EXPECT_EQ(gEyeLift.y, 1.5f);
    EXPECT_NEAR(gLookVector.x, 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(gLookVector.z, 1.0f);
    // the hiding state is left as it was
    EXPECT_EQ(gHideLeftAmount, -1.5f);
    EXPECT_EQ(gHideLeftOpen, 0);

    leftDown(300, 300);
    EXPECT_EQ(gCameraYaw, float(gHomeYaw + kYawLimit));
}

TEST_F(InputTest, HidingKeysStepEachStepWhileHeldAndReleaseStartsTheWalkBack)
{
    key('a');
    EXPECT_FLOAT_EQ(gHideLeftAmount, 0.0f);  // the step moves the player, not the press
    holdStep();
    EXPECT_FLOAT_EQ(gHideLeftAmount, -0.064f);
    keyUp('A');
    EXPECT_EQ(gReturnFromLeft, 1);
    EXPECT_EQ(gHideLeftHeld, 0);
    key('D');
    holdStep();
    EXPECT_FLOAT_EQ(gHideRightAmount, 0.064f);
    keyUp('d');
    EXPECT_EQ(gReturnFromRight, 1);
}

// one press and nothing until the release, as with auto-repeat switched off; the keyboard's
// repeats of the press (every third step here) change nothing
TEST_F(InputTest, HeldKeyStaysAsideUntilItsRelease)
{
    key('a');
    for (int i = 0; i < 40; ++i) {
        if (i % 3 == 2)
            key('a');
        holdStep();
    }
    EXPECT_EQ(gHideLeftAmount, -1.5f);
    EXPECT_EQ(gReturnFromLeft, 0);
    EXPECT_NEAR(gHideShift.z, 23 * 0.064, 1e-4);

    // the release walks the player back home
    keyUp('a');
    for (int i = 0; i < 30; ++i)
        holdStep();
    EXPECT_EQ(gHideLeftAmount, 0.0f);
    EXPECT_EQ(gHideLeftOpen, 1);
    EXPECT_NEAR(gHideShift.z, 0.0f, 1e-4);

    key('d');
    for (int i = 0; i < 40; ++i)
        holdStep();
    EXPECT_EQ(gHideRightAmount, 1.5f);

    // held through a turn: nothing moves while frozen, and a release then leaves it unheld
    gTurning = 1;
    key('a');
    holdStep();
    EXPECT_EQ(gHideLeftAmount, 0.0f);
    keyUp('a');
    gTurning = 0;
    holdStep();
    EXPECT_EQ(gHideLeftAmount, 0.0f);
}

TEST_F(InputTest, EachAdvanceTurnAddsALevelAndTheFifthEndsTheGame)
{
    gCameraYaw = 1.0f;
    gCameraPitch = 0.2f;
    gStationAngle = 4.5f;
    gThrowPower = 0.4f;
    gTimeBar = 0.3f;
    key('c');
    EXPECT_EQ(gLevel, 2);
    EXPECT_EQ(gTurning, 1);
    EXPECT_EQ(gLevelOver, 1);
    EXPECT_EQ(gGameOver, 0);
    EXPECT_EQ(gTimeBar, 0.98f);
    EXPECT_EQ(gThrowPower, 0.0f);
    EXPECT_EQ(gCameraYaw, gHomeYaw);
    EXPECT_EQ(gCameraPitch, gHomePitch);
    EXPECT_EQ(gStationAngle, gHomeStationAngle);
    EXPECT_EQ(gReturnFromLeft, 1);
    EXPECT_EQ(gReturnFromRight, 1);

    // also while the turn is running
    key('C');
    key('c');
    EXPECT_EQ(gLevel, 4);
    EXPECT_EQ(gGameOver, 0);
    key('c');
    EXPECT_EQ(gLevel, 5);
    EXPECT_EQ(gGameOver, 1);
    // no level after the last
    key('c');
    EXPECT_EQ(gLevel, 5);
    EXPECT_EQ(gGameOver, 1);
}

TEST_F(InputTest, TogglesFlipBackAndForth)
{
    key('e');
    EXPECT_EQ(gBirdsEyeView, 1);
    key('E');
    EXPECT_EQ(gBirdsEyeView, 0);
    key('F');
    EXPECT_EQ(gShowFps, 1);
    key('f');
    EXPECT_EQ(gShowFps, 0);
    key('l');
    EXPECT_EQ(gOwnerSeesPlayer, 1);
    key('l');
    EXPECT_EQ(gOwnerSeesPlayer, 0);
    key('m');  // without a World only the streamers' switch flips
    EXPECT_EQ(gWireframe, 1u);
    key('m');
    EXPECT_EQ(gWireframe, 0u);
    onSpecial(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(gEggSelected, 1);
    onSpecial(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(gEggSelected, 0);
}

// the help screen names M for the wireframe; L stays the developer's lower-case key
TEST_F(InputTest, UppercaseMSwitchesTheWireframeAndUppercaseLDoesNothing)
{
    EXPECT_EQ(requestsBy([] { key('L'); }), 0);
    EXPECT_EQ(gOwnerSeesPlayer, 0);
    key('M');
    EXPECT_EQ(gWireframe, 1u);
    key('M');
    EXPECT_EQ(gWireframe, 0u);
}

TEST_F(InputTest, WhichBindingsAskForARedisplay)
{
    EXPECT_EQ(requestsBy([] { key('a'); }), 1);
    EXPECT_EQ(requestsBy([] { key('d'); }), 1);
    EXPECT_EQ(requestsBy([] { keyUp('a'); }), 1);
    EXPECT_EQ(requestsBy([] { keyUp('D'); }), 1);
    EXPECT_EQ(requestsBy([] { onSpecial(GLUT_KEY_F1, 0, 0); }), 1);
    EXPECT_EQ(requestsBy([] { onSpecial(GLUT_KEY_HOME, 0, 0); }), 1);
    EXPECT_EQ(requestsBy([] { leftDown(10, 10); }), 1);
    EXPECT_EQ(requestsBy([] { onMotion(20, 10); }), 1);
    EXPECT_EQ(requestsBy([] { leftUp(20, 10); }), 1);
    EXPECT_EQ(requestsBy([] { onMotion(30, 10); }), 1);  // a drag without Look still redraws

    // the toggles show with the next frame anyway
    testing::internal::CaptureStdout();
    EXPECT_EQ(requestsBy([] {
                  key('e');
                  key('F');
                  key('l');
                  key('m');
              }),
              0);
    // the help shows in the window, paused, and goes at the next help key
    EXPECT_EQ(requestsBy([] { key('h'); }), 1);
    EXPECT_EQ(requestsBy([] { key('H'); }), 1);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(requestsBy([] {
                  key('x');
                  key('1');
                  keyUp('e');
                  onSpecial(GLUT_KEY_F2, 0, 0);
                  onMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 5, 5);
              }),
              0);

    EXPECT_EQ(requestsBy([] { key('c'); }), 1);
}

TEST_F(InputTest, FrozenInputIgnoresHidingAndLookButNotTheOtherKeys)
{
    uint8_t* const flags[] = {&gLevelOver, &gTurning, &gGameOver};
    for (uint8_t* flag : flags) {
        resetAllGlobals();
        bindDirectly();
        *flag = 1;
        const float yaw = gCameraYaw;
        EXPECT_EQ(requestsBy([] {
                      key('a');
                      key('D');
                      keyUp('a');
                      keyUp('d');
                      leftDown(300, 300);
                      onMotion(500, 100);
                      leftUp(500, 100);
                  }),
                  0);
        EXPECT_EQ(gHideLeftAmount, 0.0f);
        EXPECT_EQ(gHideRightAmount, 0.0f);
        EXPECT_EQ(gReturnFromLeft, 0);
        EXPECT_EQ(gReturnFromRight, 0);
        EXPECT_EQ(gLooking, 0);
        EXPECT_EQ(gCameraYaw, yaw);
        EXPECT_EQ(gPressX, 0.0f);

        key('e');
        key('f');
        onSpecial(GLUT_KEY_F1, 0, 0);
        EXPECT_EQ(gBirdsEyeView, 1);
        EXPECT_EQ(gShowFps, 1);
        EXPECT_EQ(gEggSelected, 1);
        onSpecial(GLUT_KEY_HOME, 0, 0);
        EXPECT_EQ(gCameraYaw, 1.570796f);
        testing::internal::CaptureStdout();
        key('H');
        EXPECT_NE(testing::internal::GetCapturedStdout().find("HELP FILE"), std::string::npos);
        EXPECT_EQ(gHelpShown, 1);
        EXPECT_EQ(gPaused, 1);
        // Escape closes the help and resumes
        key(27);
        EXPECT_EQ(gHelpShown, 0);
        EXPECT_EQ(gPaused, 0);
        const int32_t level = gLevel;
        key('C');
        EXPECT_EQ(gLevel, level + 1);
    }
}

// a release that arrives while input is frozen still ends the Look, so that once play resumes
// a drag with the right button cannot swing the view from the old station's press
TEST_F(InputTest, ReleaseDuringFreezeEndsTheLook)
{
    leftDown(300, 300);
    gTurning = 1;
    leftUp(400, 300);
    EXPECT_EQ(gLooking, 0);
    gTurning = 0;
    gLevelOver = 0;
    const float yaw = gCameraYaw;
    onMotion(500, 300);
    EXPECT_EQ(gCameraYaw, yaw);
}

TEST_F(InputTest, RightButtonChargesTheThrow)
{
    onMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 300, 300);
    EXPECT_EQ(gCharging, 1);
    EXPECT_EQ(gLooking, 0);
}

// F11 through the queue: the switch is asked for at the step, once a press, also while paused
TEST_F(InputTest, F11AsksForTheFullScreenSwitchAtTheStepAndAlsoWhilePaused)
{
    static int switches;
    switches = 0;
    setFullScreenHandler([] { ++switches; });
    routeInputToBindings();
    onSpecial(GLUT_KEY_F11, 0, 0);
    EXPECT_EQ(switches, 0);
    applyDueInput(gStepCount);
    EXPECT_EQ(switches, 1);

    gPaused = 1;
    onSpecial(GLUT_KEY_F11, 0, 0);
    onSpecial(GLUT_KEY_F1, 0, 0);
    onSpecial(GLUT_KEY_HOME, 0, 0);
    const float yaw = gCameraYaw;
    applyDueInput(gStepCount);
    EXPECT_EQ(switches, 2);
    EXPECT_EQ(gEggSelected, 0);
    EXPECT_EQ(gCameraYaw, yaw);
    setFullScreenHandler(nullptr);
    onSpecial(GLUT_KEY_F11, 0, 0);  // with no switch installed: nothing, and no crash
    applyDueInput(gStepCount);
    EXPECT_EQ(switches, 2);
}

TEST_F(InputTest, MiddleButtonIsLeftToTheMenu)
{
    onMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 300, 300);
    onMouse(GLUT_MIDDLE_BUTTON, GLUT_UP, 300, 300);
    EXPECT_EQ(gLooking, 0);
    EXPECT_EQ(gCharging, 0);
    EXPECT_EQ(gPressX, 0.0f);
}

TEST_F(InputTest, MenuChoicesChangeWhatTheirEntriesSay)
{
    disableSettingsSave();
    static int sPlayed = 0;
    static int sVolume = 0;
    setSoundPlayer([](const char*, int volume) { ++sPlayed, sVolume = volume; });
    setSoundLevel(gSettings.volume, gSettings.mute);
    auto menu = [](int32_t choice) { applyInput(InputEvent{InputKind::Menu, choice, 0, 0, 0}); };

    menu(kMenuPause);
    EXPECT_EQ(gPaused, 1);
    menu(kMenuPause);
    EXPECT_EQ(gPaused, 0);

    // the sound's switch: muted, the throw's sound is not played at all
    playSound("grunt.wav");
    EXPECT_EQ(sPlayed, 1);
    EXPECT_EQ(sVolume, 100);
    menu(kMenuSound);
    EXPECT_TRUE(gSettings.mute);
    playSound("grunt.wav");
    EXPECT_EQ(sPlayed, 1);
    menu(kMenuSound);
    setSoundLevel(35, false);
    playSound("grunt.wav");
    EXPECT_EQ(sPlayed, 2);
    EXPECT_EQ(sVolume, 35);
    setSoundPlayer(nullptr);
    setSoundLevel(100, false);

    menu(kMenuShowScore);
    menu(kMenuLandingMarker);
    EXPECT_TRUE(gSettings.showScore);
    EXPECT_TRUE(gSettings.landingMarker);
    menu(kMenuLandingMarker);
    EXPECT_FALSE(gSettings.landingMarker);

    // help pauses with the help shown; the pause entry closes it
    testing::internal::CaptureStdout();
    menu(kMenuHelp);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("HELP FILE"), std::string::npos);
    EXPECT_EQ(gHelpShown, 1);
    EXPECT_EQ(gPaused, 1);
    menu(kMenuPause);
    EXPECT_EQ(gHelpShown, 0);
    EXPECT_EQ(gPaused, 0);

    // play again only after the game
    key('c');
    menu(kMenuPlayAgain);
    EXPECT_EQ(gLevel, 2);
    gGameOver = 1;
    gLevel = kGameOverLevel;
    menu(kMenuPlayAgain);
    EXPECT_EQ(gGameOver, 0);
    EXPECT_EQ(gLevel, 1);
}

TEST_F(InputTest, TheLooksScaleAndSenseComeAsInput)
{
    const float yaw = gCameraYaw, pitch = gCameraPitch;
    leftDown(300, 300);
    onMotion(330, 290);
    leftUp(330, 290);
    const float turned = gCameraYaw - yaw, raised = gCameraPitch - pitch;
    ASSERT_GT(turned, 0.0f);
    ASSERT_GT(raised, 0.0f);

    resetAllGlobals();
    bindDirectly();
    applyInput(InputEvent{InputKind::Look, 2 * kLookScaleUnits, 1, 0, 0});
    const float yaw2 = gCameraYaw;
    leftDown(300, 300);
    onMotion(315, 295);
    leftUp(315, 295);
    // half the drag turns as far; dragging up looks down, so the pitch stays at its floor
    EXPECT_FLOAT_EQ(gCameraYaw - yaw2, turned);
    EXPECT_LE(gCameraPitch, pitch);
}

// through the queue: the game ends at the next step, with its summary line
TEST(InputExitTest, QuitAndTheMenusExitEndTheProgramWithStatusZero)
{
    resetAllGlobals();
    EXPECT_EXIT({ onKeyboard('q', 0, 0); onIdle(); }, ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT({ onKeyboard('Q', 0, 0); onIdle(); }, ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT({ onMenu(kMenuExit); onIdle(); }, ::testing::ExitedWithCode(0), "");
    onKeyboard('q', 0, 0);
    EXPECT_EQ(gQuitRequested, 0);  // not before the step
}

}  // namespace
