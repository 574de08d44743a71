// SPDX-License-Identifier: MIT
// The window is the page's canvas: start-up, the WebGL context, the main loop on the browser's
// animation frames, the window's size and the full screen, and the toolkit's queries.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <GL/vxgl_internal.h>

#include "glut_internal.h"

namespace glut {
Callbacks gCallbacks;
}

using glut::gCallbacks;

namespace {

constexpr const char* kCanvas = "#canvas";

const char* sProgram = "vendettix";
bool sInitialised = false;
double sStartMs = 0.0;
unsigned int sDisplayMode = GLUT_RGB | GLUT_SINGLE;
int sInitX = -1, sInitY = -1, sInitWidth = 300, sInitHeight = 300;
int sCloseAction = GLUT_ACTION_EXIT;

EMSCRIPTEN_WEBGL_CONTEXT_HANDLE sContext = 0;
int sX = 0, sY = 0;
int sWidth = 0, sHeight = 0;   // as last reported to the reshape callback
int sAskedWidth = 0, sAskedHeight = 0;  // glutReshapeWindow's, applied at the next frame
bool sReshapeDue = false;
bool sRedisplay = false;
bool sFullScreen = false;  // what the game asked for; the browser grants it on a key or a click

[[noreturn]] void fail(const char* message)
{
    std::fprintf(stderr, "freeglut (%s): %s\n", sProgram, message);
    std::exit(1);
}

void needWindow(const char* call)
{
    if (!sContext) {
        std::fprintf(stderr, "freeglut (%s): ERROR:  Function <%s> called with no current window defined.\n",
                     sProgram, call);
        std::exit(1);
    }
}

EM_JS(int, screenSide, (int height), { return height ? screen.height : screen.width; });

bool browserFullScreen()
{
    EmscriptenFullscreenChangeEvent status;
    return emscripten_get_fullscreen_status(&status) == EMSCRIPTEN_RESULT_SUCCESS &&
           status.isFullscreen;
}

void enterFullScreen()
{
    EmscriptenFullscreenStrategy strategy;
    std::memset(&strategy, 0, sizeof strategy);
    strategy.scaleMode = EMSCRIPTEN_FULLSCREEN_SCALE_STRETCH;
    strategy.canvasResolutionScaleMode = EMSCRIPTEN_FULLSCREEN_CANVAS_SCALE_STDDEF;
    strategy.filteringMode = EMSCRIPTEN_FULLSCREEN_FILTERING_DEFAULT;
    emscripten_request_fullscreen_strategy(kCanvas, EM_FALSE, &strategy);
}

// the player left the full screen through the browser (Escape): no request is repeated
EM_BOOL onFullScreenChange(int, const EmscriptenFullscreenChangeEvent* event, void*)
{
    if (!event->isFullscreen)
        sFullScreen = false;
    return EM_FALSE;
}

void frame()
{
    if (!sFullScreen && sAskedWidth > 0 && !browserFullScreen()) {
        emscripten_set_canvas_element_size(kCanvas, sAskedWidth, sAskedHeight);
        sAskedWidth = sAskedHeight = 0;
    }
    // the canvas resized by the page, the full screen or the game
    int width = 0, height = 0;
    emscripten_get_canvas_element_size(kCanvas, &width, &height);
    if (sReshapeDue || width != sWidth || height != sHeight) {
        sReshapeDue = false;
        sWidth = width;
        sHeight = height;
        if (gCallbacks.reshape)
            gCallbacks.reshape(width, height);
        else
            glViewport(0, 0, width, height);
        sRedisplay = true;
    }
    glut::deliverEvents();
    if (gCallbacks.idle)
        gCallbacks.idle();
    if (sRedisplay && gCallbacks.display) {
        sRedisplay = false;
        gCallbacks.display();
    }
}

// the page going away is the window closed: the game notes where it stood
const char* onUnload(int, const void*, void*)
{
    if (gCallbacks.close)
        gCallbacks.close();
    return nullptr;
}

}  // namespace

namespace glut {

void retryFullScreen()
{
    if (sFullScreen && !browserFullScreen())
        enterFullScreen();
}

}  // namespace glut

// the X options the game passes on are taken out of the arguments, as on the desktop; they
// mean nothing in a page
void glutInit(int* argc, char** argv)
{
    if (sInitialised)
        fail("illegal glutInit() reinitialization attempt");
    sInitialised = true;
    sStartMs = emscripten_get_now();
    if (*argc > 0 && argv[0])
        sProgram = argv[0];
    int kept = *argc > 0 ? 1 : 0;
    for (int i = kept; i < *argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "-display") == 0 || std::strcmp(arg, "-geometry") == 0) {
            if (++i >= *argc)
                fail(arg[1] == 'd' ? "-display parameter must be followed by display name"
                                   : "-geometry parameter must be followed by window geometry settings");
        } else if (std::strcmp(arg, "-direct") != 0 && std::strcmp(arg, "-indirect") != 0 &&
                   std::strcmp(arg, "-iconic") != 0 && std::strcmp(arg, "-gldebug") != 0 &&
                   std::strcmp(arg, "-sync") != 0) {
            argv[kept++] = argv[i];
        }
    }
    if (kept < *argc)
        argv[kept] = nullptr;
    *argc = kept;
}

void glutInitDisplayMode(unsigned int mode) { sDisplayMode = mode; }

void glutInitWindowSize(int width, int height)
{
    sInitWidth = width;
    sInitHeight = height;
}

void glutInitWindowPosition(int x, int y)
{
    sInitX = x;
    sInitY = y;
}

int glutCreateWindow(const char*)
{
    if (!sInitialised)
        fail("ERROR:  Function <glutCreateWindow> called without first calling 'glutInit'.");
    if (sContext)
        fail("the page has one window");
    if (sInitWidth > 0 && sInitHeight > 0)
        emscripten_set_canvas_element_size(kCanvas, sInitWidth, sInitHeight);
    sX = sInitX > 0 ? sInitX : 0;
    sY = sInitY > 0 ? sInitY : 0;

    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.depth = (sDisplayMode & GLUT_DEPTH) ? EM_TRUE : EM_FALSE;
    attributes.stencil = (sDisplayMode & GLUT_STENCIL) ? EM_TRUE : EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_TRUE;
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
    sContext = emscripten_webgl_create_context(kCanvas, &attributes);
    if (sContext <= 0)
        fail("failed to create a WebGL context on the page's canvas");
    emscripten_webgl_make_context_current(sContext);
    vxglInitContext();

    glut::listenToPage();
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE,
                                             onFullScreenChange);
    emscripten_set_beforeunload_callback(nullptr, onUnload);
    // the first frame reshapes, tells the window's state and draws, as a window shown does
    sReshapeDue = true;
    sRedisplay = true;
    EmscriptenVisibilityChangeEvent visibility;
    const bool hidden = emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS &&
                        visibility.hidden;
    glut::queueEvent({glut::EventKind::Status, hidden ? GLUT_HIDDEN : GLUT_FULLY_RETAINED, 0, 0, 0});
    return 1;
}

void glutSetOption(GLenum what, int value)
{
    if (what == GLUT_ACTION_ON_WINDOW_CLOSE)
        sCloseAction = value;
    else if (what == GLUT_INIT_WINDOW_X)
        sInitX = value;
    else if (what == GLUT_INIT_WINDOW_Y)
        sInitY = value;
    else if (what == GLUT_INIT_WINDOW_WIDTH)
        sInitWidth = value;
    else if (what == GLUT_INIT_WINDOW_HEIGHT)
        sInitHeight = value;
    else if (what == GLUT_INIT_DISPLAY_MODE)
        sDisplayMode = unsigned(value);
}

int glutGet(GLenum what)
{
    switch (what) {
    case GLUT_ELAPSED_TIME:
        return int(emscripten_get_now() - sStartMs);
    case GLUT_INIT_STATE:
        return sInitialised;
    case GLUT_SCREEN_WIDTH:
        return screenSide(0);
    case GLUT_SCREEN_HEIGHT:
        return screenSide(1);
    case GLUT_INIT_WINDOW_X:
        return sInitX;
    case GLUT_INIT_WINDOW_Y:
        return sInitY;
    case GLUT_INIT_WINDOW_WIDTH:
        return sInitWidth;
    case GLUT_INIT_WINDOW_HEIGHT:
        return sInitHeight;
    case GLUT_INIT_DISPLAY_MODE:
        return int(sDisplayMode);
    case GLUT_ACTION_ON_WINDOW_CLOSE:
        return sCloseAction;
    }
    if (!sContext)
        return 0;
    switch (what) {
    case GLUT_WINDOW_X:
        return sX;
    case GLUT_WINDOW_Y:
        return sY;
    case GLUT_WINDOW_WIDTH:
    case GLUT_WINDOW_HEIGHT: {
        int width = 0, height = 0;
        emscripten_get_canvas_element_size(kCanvas, &width, &height);
        return what == GLUT_WINDOW_WIDTH ? width : height;
    }
    case GLUT_WINDOW_DOUBLEBUFFER:
        return (sDisplayMode & GLUT_DOUBLE) ? 1 : 0;
    case GLUT_FULL_SCREEN:
        return sFullScreen;
    }
    return -1;
}

// Each animation frame: the events since the last, the idle callback, and the display callback
// when a redisplay was asked for. The browser runs the loop: this call does not return.
void glutMainLoop(void)
{
    needWindow("glutMainLoop");
    emscripten_set_main_loop(frame, 0, 1);
}

void glutPostRedisplay(void)
{
    needWindow("glutPostRedisplay");
    sRedisplay = true;
}

// the drawing buffer is kept, and shown when the frame returns to the browser
void glutSwapBuffers(void)
{
    needWindow("glutSwapBuffers");
    vxglFlush();
}

void glutFullScreen(void)
{
    needWindow("glutFullScreen");
    sFullScreen = true;
    glut::retryFullScreen();
}

void glutLeaveFullScreen(void)
{
    needWindow("glutLeaveFullScreen");
    sFullScreen = false;
    if (browserFullScreen())
        emscripten_exit_fullscreen();
}

// the new size comes with the next frame, once out of the full screen
void glutReshapeWindow(int width, int height)
{
    needWindow("glutReshapeWindow");
    if (sFullScreen)
        glutLeaveFullScreen();
    sAskedWidth = width;
    sAskedHeight = height;
}

// the page places the canvas: the position is kept for glutGet alone
void glutPositionWindow(int x, int y)
{
    needWindow("glutPositionWindow");
    if (sFullScreen)
        glutLeaveFullScreen();
    sX = x;
    sY = y;
}

void glutDisplayFunc(void (*callback)(void)) { gCallbacks.display = callback; }
void glutReshapeFunc(void (*callback)(int, int)) { gCallbacks.reshape = callback; }
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) { gCallbacks.keyboard = callback; }
void glutKeyboardUpFunc(void (*callback)(unsigned char, int, int)) { gCallbacks.keyboardUp = callback; }
void glutSpecialFunc(void (*callback)(int, int, int)) { gCallbacks.special = callback; }
void glutSpecialUpFunc(void (*callback)(int, int, int)) { gCallbacks.specialUp = callback; }
void glutMouseFunc(void (*callback)(int, int, int, int)) { gCallbacks.mouse = callback; }
void glutMotionFunc(void (*callback)(int, int)) { gCallbacks.motion = callback; }
void glutIdleFunc(void (*callback)(void)) { gCallbacks.idle = callback; }
void glutWindowStatusFunc(void (*callback)(int)) { gCallbacks.windowStatus = callback; }
void glutCloseFunc(void (*callback)(void)) { gCallbacks.close = callback; }
void glutMenuStatusFunc(void (*callback)(int, int, int)) { gCallbacks.menuStatus = callback; }
