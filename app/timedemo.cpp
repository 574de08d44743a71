// SPDX-License-Identifier: MIT
// app: the timedemo and its floor. The game's steps and frame are the ones a player gets (the
// replay's input, runPlayStep, onDisplay); only the pacing is gone.
#include "app/timedemo.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "app/frame_clock.h"
#include "app/play_session.h"
#include "app/window_placement.h"
#include "assets/texture_loader.h"
#include "game/game_state.h"
#include "game/play_step.h"
#include "platform/clock.h"
#include "player/camera.h"
#include "player/input.h"

namespace {

// linear between the two nearest frames, as the frame-time harness reads its percentiles
double percentile(const std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return 0.0;
    double at = p * double(sorted.size() - 1);
    size_t low = size_t(at);
    size_t high = std::min(low + 1, sorted.size() - 1);
    return sorted[low] + (sorted[high] - sorted[low]) * (at - double(low));
}

// the lean stops there, either way
constexpr float kFullLean = 1.5f;

struct TimedRun {
    bool shown = false;      // the window has been exposed: frames before would not reach it
    double firstStart = -1;  // seconds, the start of the first timed frame
    std::vector<double> frameMs;
    std::FILE* frames = nullptr;  // VX_TIMEDEMO_FRAMES: a line a frame
};
TimedRun sRun;

// nothing is timed until the window is on screen
bool waitForWindow()
{
    if (sRun.shown)
        return true;
    platformSleepUntil(platformSeconds() + 0.001);
    return false;
}

// the window's own redisplays (expose, reshape) are left to the frames the run draws anyway
void noteShown()
{
    sRun.shown = true;
}

// one frame, start of drawing to the end of the swap, with the renderer finished
template <typename Draw> void timeFrame(Draw draw)
{
    double start = platformSeconds();
    if (sRun.firstStart < 0)
        sRun.firstStart = start;
    draw();
    glFinish();
    sRun.frameMs.push_back((platformSeconds() - start) * 1000.0);
    if (sRun.frames)
        std::fprintf(sRun.frames, "%lld %.3f %s\n", static_cast<long long>(gStepCount),
                     sRun.frameMs.back(), timedemoViewName().c_str());
}

// the frames timed so far; a window gone before its first frame timed none, in no time
void printRunLine()
{
    const double seconds = sRun.firstStart < 0 ? 0.0 : platformSeconds() - sRun.firstStart;
    std::printf("%s\n", timedemoLine(sRun.frameMs, seconds).c_str());
    std::fflush(stdout);
}

// the end of a run, however it came (the replay run out, q or the menu's Exit, the window
// closed or destroyed): the timedemo line of the frames so far, then the game's end as q's
[[noreturn]] void endTimedemo()
{
    printRunLine();
    if (sRun.frames)
        std::fclose(sRun.frames);
    endPlay();
}

void onTimedemoIdle()
{
    if (!waitForWindow())
        return;
    if (!playEnded() && !windowGone()) {
        // a step that only ends the game (q, Exit) does not count and gets no frame
        const int64_t before = gStepCount;
        runPlayStep();
        if (gStepCount != before) {
            // the tick stamps as the paced loop keeps them
            gTickPrev = gTickNow;
            gTickNow = tickToFloat(platformTickCount());
            timeFrame(onDisplay);
            return;
        }
    }
    endTimedemo();
}

void onFloorIdle()
{
    if (!waitForWindow())
        return;
    if (int(sRun.frameMs.size()) >= kFloorFrames) {
        printRunLine();
        std::exit(0);
    }
    timeFrame([] {
        drawFloorFrame();
        glutSwapBuffers();
    });
}

}  // namespace

std::string timedemoLine(std::vector<double> frameMs, double seconds)
{
    std::sort(frameMs.begin(), frameMs.end());
    double rate = seconds > 0.0 ? double(frameMs.size()) / seconds : 0.0;
    char line[256];
    std::snprintf(line, sizeof line,
                  "timedemo: %zu frames in %.2f s, %.1f frames a second; median %.2f ms, "
                  "99th percentile %.2f ms, worst %.2f ms",
                  frameMs.size(), seconds, rate, percentile(frameMs, 0.5),
                  percentile(frameMs, 0.99), frameMs.empty() ? 0.0 : frameMs.back());
    return line;
}

std::string timedemoViewName()
{
    if (gGameOver || gLevelOver || gTurning || gPaused || gBirdsEyeView || gLooking ||
        gCameraYaw != gHomeYaw || gCameraPitch != gHomePitch)
        return "other";
    const std::string level = std::to_string(gLevel);
    if (gHideLeftAmount == 0.0f && gHideRightAmount == 0.0f)
        return "station " + level + " home";
    if (gHideLeftAmount <= -kFullLean)
        return "level " + level + " hidden left";
    if (gHideRightAmount >= kFullLean)
        return "level " + level + " hidden right";
    return "other";
}

int runTimedemo(int argc, char** argv, const WindowOptions& window)
{
    // the data directory is the working directory by now: the scripts name the file whole
    if (const char* path = std::getenv("VX_TIMEDEMO_FRAMES"))
        sRun.frames = std::fopen(path, "w");
    startGame(argc, argv, window);
    glutDisplayFunc(noteShown);
    glutIdleFunc(onTimedemoIdle);
    glutMainLoop();
    // the window was closed: the run ends as q ends it
    endTimedemo();
}

int runTimedemoFloor(int argc, char** argv, const WindowOptions& window)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    const WindowPlacement placed =
        fitWindowToScreen({window.x, window.y, window.width, window.height},
                          glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    glutInitWindowSize(placed.width, placed.height);
    glutInitWindowPosition(placed.x, placed.y);
    glutCreateWindow("Mesh display");
    if (window.fullscreen)
        glutFullScreen();
    makeFloorTexture();
    glutDisplayFunc(noteShown);
    glutIdleFunc(onFloorIdle);
    glutMainLoop();
    return 0;
}

void makeFloorTexture()
{
    constexpr int kWidth = 1024, kHeight = 512;
    std::vector<uint8_t> texels(size_t(kWidth) * kHeight * 3);
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = uint8_t(i * 2654435761u >> 24);
    glBindTexture(GL_TEXTURE_2D, kTextureSky);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, kWidth, kHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 texels.data());
}

void drawFloorFrame()
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, kTextureSky);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, 0.5f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.5f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, 0.5f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, 0.5f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
