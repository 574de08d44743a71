// SPDX-License-Identifier: MIT
// app: the entry point's start-up sequence and the shell's own callbacks, reshape and menu.
#include <GL/freeglut.h>
#include <GL/glu.h>
#ifndef __EMSCRIPTEN__
#include <GL/glx.h>
#include <X11/XKBlib.h>
#endif

#include <cstdlib>
#ifndef __EMSCRIPTEN__
#include <malloc.h>
#endif

#include <future>

#include "app/app.h"
#include "app/play_session.h"
#include "app/window_placement.h"
#include "assets/texture_loader.h"
#include "platform/full_screen.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/redisplay.h"
#include "platform/services.h"
#include "platform/sound.h"
#include "platform/startup_trace.h"
#ifndef __EMSCRIPTEN__
#include "platform/window_identity.h"
#endif
#include "player/input.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"
#include "terrain/terrain.h"

constexpr int kWindowSize = kDefaultWindowSize;
constexpr double kFieldOfView = 60.0;
constexpr double kNearPlane = 0.5;
constexpr double kFarPlane = 73.0;

// the bindings read the toolkit's codes as the player's input names them
static_assert(kKeyF1 == GLUT_KEY_F1 && kKeyF11 == GLUT_KEY_F11 && kKeyHome == GLUT_KEY_HOME,
              "special keys");
static_assert(kWindowHidden == GLUT_HIDDEN && kWindowFullyCovered == GLUT_FULLY_COVERED,
              "window status");
static_assert(kButtonLeft == GLUT_LEFT_BUTTON && kButtonRight == GLUT_RIGHT_BUTTON &&
                  kButtonDown == GLUT_DOWN, "mouse buttons");

#ifdef __EMSCRIPTEN__
// the page has no X: the browser repeats no key as a release, and the canvas cannot be taken
// from under the game
static bool sWindowGone = false;

bool windowGone()
{
    return false;
}
#else
// X reports each auto-repeat of a held key as a release and a press; the walk back from a lean
// starts at a release, so ask for repeated presses and one release when the key comes up
static void askForDetectableAutoRepeat()
{
    Display* display = glXGetCurrentDisplay();
    if (display)
        XkbSetDetectableAutoRepeat(display, True, nullptr);
}

// A window destroyed under the game (not closed through the window manager, which freeglut
// reports) leaves freeglut drawing into nothing: the X errors that follow, or the once-a-second
// look at the window, end the game as q does instead of an X error's exit or a hidden process.
constexpr int kGlxBadDrawable = 2;  // the GLX protocol's error number
static XErrorHandler sOtherXErrors = nullptr;
static int sGlxErrorBase = -1;
static bool sWindowGone = false;
static uint32_t sLastWindowLookMs = 0;

static int onXError(Display* display, XErrorEvent* error)
{
    const bool glxBadDrawable =
        sGlxErrorBase >= 0 && error->error_code == sGlxErrorBase + kGlxBadDrawable;
    if (error->error_code == BadWindow || error->error_code == BadDrawable || glxBadDrawable) {
        sWindowGone = true;
        return 0;
    }
    return sOtherXErrors ? sOtherXErrors(display, error) : 0;
}

static void watchForWindowGone()
{
    Display* display = glXGetCurrentDisplay();
    if (!display)
        return;
    int eventBase = 0;
    if (!glXQueryExtension(display, &sGlxErrorBase, &eventBase))
        sGlxErrorBase = -1;
    sOtherXErrors = XSetErrorHandler(onXError);
}

bool windowGone()
{
    const uint32_t now = platformTickCount();
    if (!sWindowGone && now - sLastWindowLookMs >= 1000) {
        sLastWindowLookMs = now;
        Display* display = glXGetCurrentDisplay();
        GLXDrawable window = glXGetCurrentDrawable();
        XWindowAttributes attributes;
        if (display && window)
            XGetWindowAttributes(display, window, &attributes);  // a BadWindow when gone
    }
    return sWindowGone;
}
#endif

static void onWindowClose();

static void registerCallbacks()
{
    glutDisplayFunc(onDisplay);
    glutIdleFunc(onIdle);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyboard);
    glutKeyboardUpFunc(onKeyboardUp);
    glutSpecialFunc(onSpecial);
    glutSpecialUpFunc(onSpecialUp);
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
    glutWindowStatusFunc(onWindowStatus);
    // the window closed by its frame: where it stood is taken while it is still there
    glutCloseFunc(onWindowClose);
}

// F11: the whole screen, and back to the window's size and place before it
static WindowMode sWindowMode{false, {0, 0, kWindowSize, kWindowSize}};

static void applyWindowMode()
{
    if (sWindowMode.fullScreen) {
        // without a window manager freeglut keeps the window's offset on the full screen
        glutPositionWindow(0, 0);
        glutFullScreen();
    } else {
        glutReshapeWindow(sWindowMode.window.width, sWindowMode.window.height);
        glutPositionWindow(sWindowMode.window.x, sWindowMode.window.y);
    }
}

static void toggleFullScreen()
{
    const WindowPlacement current{glutGet(GLUT_WINDOW_X), glutGet(GLUT_WINDOW_Y),
                                  glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
    sWindowMode = toggledWindowMode(sWindowMode, current);
    applyWindowMode();
}

// the window as last seen: the game's end may come after it has gone
static WindowOptions sLastWindow;
static bool sWindowClosed = false;

static void noteWindowPlace()
{
    if (sWindowClosed || sWindowGone)
        return;
    WindowOptions now;
    now.fullscreen = sWindowMode.fullScreen;
    if (sWindowMode.fullScreen) {
        now.x = sWindowMode.window.x;
        now.y = sWindowMode.window.y;
        now.width = sWindowMode.window.width;
        now.height = sWindowMode.window.height;
    } else {
        now.x = glutGet(GLUT_WINDOW_X);
        now.y = glutGet(GLUT_WINDOW_Y);
        now.width = glutGet(GLUT_WINDOW_WIDTH);
        now.height = glutGet(GLUT_WINDOW_HEIGHT);
    }
    sLastWindow = now;
}

static void onWindowClose()
{
    noteWindowPlace();
    sWindowClosed = true;
}

bool windowIsFullScreen()
{
    return sWindowMode.fullScreen;
}

WindowOptions currentWindow()
{
    noteWindowPlace();
    return sLastWindow;
}

// replaced by the first reshape
static void setProvisionalProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, 1, 15);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, kWindowSize, kWindowSize);
}

int runGame(int argc, char** argv, const WindowOptions& window)
{
    startGame(argc, argv, window);
    glutMainLoop();
    // the window was closed: the game ends as q ends it
    endPlay();
}

void startGame(int argc, char** argv, const WindowOptions& window)
{
    markStartupPhase("main");
    // the throw's sound and the loaders' message boxes through SDL
    setSoundPlayer(platformPlaySound);
    setMessageBoxShower(platformMessageBox);
    // the ground needs no GL: it is built on a second thread while the window and context open
    // (the page has one thread: there it is built first)
#ifdef __EMSCRIPTEN__
    constexpr auto kGroundLaunch = std::launch::deferred;
#else
    constexpr auto kGroundLaunch = std::launch::async;
#endif
    std::future<Terrain*> ground = std::async(kGroundLaunch, [] {
        Terrain* terrain = new Terrain;
        terrain->build();
        return terrain;
    });
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // the window asked for, shrunk and moved onto a smaller screen
    sWindowMode = openingWindowMode(window, glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    const WindowPlacement created = createdWindow(sWindowMode);
    glutInitWindowSize(created.width, created.height);
    glutInitWindowPosition(created.x, created.y);
    glutCreateWindow("Mesh display");
#ifndef __EMSCRIPTEN__
    setWindowIdentity();
    // closing the window ends the game through the main loop's return, not exit() in freeglut
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    watchForWindowGone();
#endif
    if (sWindowMode.fullScreen)
        glutFullScreen();
    setRedisplayHandler(glutPostRedisplay);
    setFullScreenHandler(toggleFullScreen);
#ifndef __EMSCRIPTEN__
    askForDetectableAutoRepeat();
#endif
    glClearColor(0, 0, 0, 1);

    registerCallbacks();
    routeInputToBindings();
    setProvisionalProjection();

    createGameMenu();

    markStartupPhase("window");
    glEnable(GL_LIGHTING);
    assignStartingValues();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);

    loadTextures();
    markStartupPhase("textures");
    World& world = buildWorld(ground.get());
    world.startDrawing();
    // the ground's lists made, its 16 MB tree goes before the first frame's own allocations
    if (!gKeepTerrainTree)
        world.terrain->releaseTree();
#ifndef __EMSCRIPTEN__
    malloc_trim(0);
#endif
    markStartupPhase("light and display lists");

    addPlaceholderStreamer();
    // blending stays off until a drawing step turns it on
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void noteFrameShown()
{
    if (!startupTimingRequested())
        return;
    markStartupPhase("first frame drawn");
    // the frame is on screen once the X server has taken the swapped image
    glFinish();
#ifndef __EMSCRIPTEN__
    if (Display* display = glXGetCurrentDisplay())
        XSync(display, False);
#endif
    markStartupPhase("first swap");
    finishStartupTiming();
}

void onReshape(int width, int height)
{
    gWindowWidth = width;
    gWindowHeight = height;
    noteWindowPlace();
    // a window shrunk to no height still gets a finite aspect
    int aspectHeight = height > 0 ? height : 1;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, double(width) / double(aspectHeight), kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, width, height);
    // the Look measures drags in the size the game had at that step
    queueWindowInput(InputEvent{InputKind::Reshape, 0, 0, width, height});
    requestRedisplay();
}

