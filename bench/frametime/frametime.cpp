// SPDX-License-Identifier: MIT
// bench: frame times of the real onDisplay in a set of views (each station's home, hidden behind
// each cover object, at the ground, at the sky, from above, and the scripted scene), the literal
// drawing against the batched one in the same run, and the game's start-up to the first frame.
// Run it under the virtual X server:
//   tests/support/with-xvfb build/bench/frametime [--frames N] [--warmup N] [--size WxH]...
//   tests/support/with-xvfb build/bench/frametime --startup build/vendettix [--runs N]
// Every line of results starts with "result"; the rest is for people.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/timedemo.h"
#include "player/camera_placement.h"
#include "assets/texture_loader.h"
#include "game/game_state.h"
#include "game/hud.h"
#include "platform/startup_trace.h"
#include "player/camera.h"
#include "player/input.h"
#include "player/projectile_draw.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"
#include "streamer/streamer_draw.h"
#include "terrain/terrain.h"
#include "tests/support/literal_drawing.h"
#include "tests/support/scripted_scene.h"

namespace {

struct Options {
    int frames = 60;
    int warmup = 10;
    int runs = 7;
    std::vector<std::pair<int, int>> sizes;
    std::string runDir;
    std::string game;  // set: time the start-up of this binary instead
    bool parts = false;     // also time each part of the frame on its own
    bool oursOnly = false;  // skip the literal frames (for profiling)
    bool bareWindow = false;  // be the bare window the start-up timer measures beside the game
    std::string saveDir;  // set: the last frame of each view and size goes there as a PPM picture
    std::vector<std::string> views;  // set: only the views whose names contain one of these
};

double now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    double at = p * double(v.size() - 1);
    size_t low = size_t(at);
    size_t high = std::min(low + 1, v.size() - 1);
    return v[low] + (v[high] - v[low]) * (at - double(low));
}

// the folder of this program, to find <build>/run and <build>/vendettix from <build>/bench
std::string ownFolder()
{
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    path[n] = 0;
    std::string s(path);
    return s.substr(0, s.rfind('/'));
}

// the literal drawing (tests/support) instead of the game's while set
bool sLiteral = false;
void selectLiteralDrawing(bool literal) { sLiteral = literal; }

void drawWorld(bool withSky)
{
    if (sLiteral)
        drawWorldAfresh(*gWorld, gOwnerSeesPlayer, gLevel, leanLeftForDrawing(),
                        leanRightForDrawing(), withSky);
    else
        gWorld->draw(gOwnerSeesPlayer, gLevel, leanLeftForDrawing(), leanRightForDrawing(),
                     withSky);
}

double frameMs()
{
    double start = now();
    freezeFrameState();
    if (sLiteral)
        drawLiteralFrame();
    else
        onDisplay();
    glFinish();
    return (now() - start) * 1000.0;
}

std::vector<uint8_t> frontPixels(int width, int height)
{
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

void savePpm(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    for (int y = height - 1; y >= 0; --y)
        std::fwrite(&rgb[size_t(y) * size_t(width) * 3], 1, size_t(width) * 3, f);
    std::fclose(f);
}

long differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    long count = 0;
    for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3)
        count += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    return count;
}

// The least a frame costs on this renderer, whatever the game draws: clear colour and depth,
// cover the window once with a depth-tested quad in the sky's texture, swap.
double floorFrameMs()
{
    double start = now();
    drawFloorFrame();
    glutSwapBuffers();
    glFinish();
    return (now() - start) * 1000.0;
}

// onDisplay's parts in its order, each finished before the next starts and timed on its own
// The world piece by piece in the frame's order (each placement shown, the terrain, the sky and
// moon), ours only, each finished before the next; the frame's parts before the world are drawn
// first so that each piece meets the depth it meets in the game.
void timeWorldPieces(const Options& options, const std::string& view, int width, int height)
{
    World& world = *gWorld;
    std::vector<int> shown;
    world.forEachPlacementShown(gLevel, leanLeftForDrawing(), leanRightForDrawing(),
                                [&](int i) { shown.push_back(i); });
    std::vector<std::vector<double>> times(shown.size() + 2);
    for (int n = 0; n < options.warmup + options.frames; ++n) {
        freezeFrameState();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        placeCamera(gWorld);
        setFrameCamera();
        drawHudBars();
        drawRolls(gLevel);
        if (gStreamers.size() > 1)
            drawStreamers(gStreamers.data() + 1, gStreamers.size() - 1, gWireframe != 0);
        glTranslatef(-gYardOffset, 0.0f, -gYardOffset);
        glFinish();
        auto timed = [&](size_t slot, auto&& draw) {
            double start = now();
            draw();
            glFinish();
            if (n >= options.warmup)
                times[slot].push_back((now() - start) * 1000.0);
        };
        for (size_t k = 0; k < shown.size(); ++k)
            timed(k, [&] {
                world.enterPlacement(shown[k]);
                const Placement& p = *world.placements[size_t(shown[k])];
                if (p.model->swapYZ)
                    world.drawModel(*p.model, p.name);
                else
                    world.drawHouseGroupMember(shown[k], gOwnerSeesPlayer);
                world.leavePlacement();
            });
        timed(shown.size(), [&] {
            world.enterTerrain();
            world.terrain->draw();
            world.leaveTerrain();
        });
        timed(shown.size() + 1, [&] {
            if (!gBirdsEyeView)
                world.drawSkyAndMoon();
            glDisable(GL_TEXTURE_2D);
        });
        glPopMatrix();
        glutSwapBuffers();
        glFinish();
    }
    for (size_t k = 0; k < times.size(); ++k) {
        std::string piece = k < shown.size()
                                ? std::string(world.placements[size_t(shown[k])]->name) + " " +
                                      std::to_string(shown[k])
                                : k == shown.size() ? "terrain" : "sky and moon";
        std::printf("result piece %dx%d ours median_ms %.3f %s (%s)\n", width, height,
                    percentile(times[k], 0.5), piece.c_str(), view.c_str());
    }
    std::fflush(stdout);
}

void timeParts(const Options& options, const std::string& view, int width, int height)
{
    struct Part {
        const char* name;
        void (*draw)();
    };
    static const Part parts[] = {
        {"clear and camera", [] {
             glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
             glMatrixMode(GL_MODELVIEW);
             glPushMatrix();
             placeCamera(gWorld);
             setFrameCamera();
             updateViewVectors();
         }},
        {"hud bars", [] { drawHudBars(); }},
        {"player marker", [] {
             glPushMatrix();
             glTranslatef(gEye.x, gEye.y, gEye.z);
             glutSolidSphere(0.3, 4, 4);
             glPopMatrix();
         }},
        {"rolls", [] { sLiteral ? drawRollsAfresh(gLevel) : drawRolls(gLevel); }},
        {"streamers", [] {
             if (gStreamers.size() > 1)
                 (sLiteral ? drawStreamersEachPolygon : drawStreamers)(
                     gStreamers.data() + 1, gStreamers.size() - 1, gWireframe != 0);
         }},
        {"world", [] {
             glPushMatrix();
             glTranslatef(-gYardOffset, 0.0f, -gYardOffset);
             drawWorld(!gBirdsEyeView);
             glPopMatrix();
         }},
        {"  of it the world again without the sky", [] {
             glPushMatrix();
             glTranslatef(-gYardOffset, 0.0f, -gYardOffset);
             drawWorld(false);
             glPopMatrix();
         }},
        {"  of it the terrain again", [] {
             glPushMatrix();
             glTranslatef(-gYardOffset, 0.0f, -gYardOffset);
             glScalef(0.1f, 0.1f, 0.1f);
             glTranslatef(0.0f, -15.0f, 0.0f);
             glEnable(GL_TEXTURE_2D);
             if (sLiteral)
                 drawTerrainEachTriangle(*gWorld->terrain);
             else
                 gWorld->terrain->draw();
             glDisable(GL_TEXTURE_2D);
             glPopMatrix();
         }},
        {"eggs and splats", [] { sLiteral ? drawEggsAfresh() : drawEggs(); }},
        {"owner", [] {
             drawOwner(gSpinAngle, gSpinStep, gOwnerRadius);
             glPopMatrix();
         }},
        {"hud text", [] { drawHudText(); }},
        {"swap", [] { glutSwapBuffers(); }},
    };
    constexpr int kParts = int(sizeof parts / sizeof parts[0]);
    const char* names[2] = {"ours", "literal"};
    // the two drawings frame by frame in turn, as in timeFrames
    std::vector<double> times[2][kParts];
    for (int n = 0; n < options.warmup + options.frames; ++n)
        for (int literal = 1; literal >= 0; --literal) {
            selectLiteralDrawing(literal);
            freezeFrameState();
            glFinish();
            for (int p = 0; p < kParts; ++p) {
                double start = now();
                parts[p].draw();
                glFinish();
                if (n >= options.warmup)
                    times[literal][p].push_back((now() - start) * 1000.0);
            }
        }
    for (int literal = 1; literal >= 0; --literal)
        for (int p = 0; p < kParts; ++p)
            std::printf("result part %dx%d %s median_ms %.3f %s (%s)\n", width, height,
                        names[literal], percentile(times[literal][p], 0.5), parts[p].name,
                        view.c_str());
    selectLiteralDrawing(false);
    std::fflush(stdout);
    timeWorldPieces(options, view, width, height);
}

struct ViewTimes {
    std::string name;
    double median[2] = {}, p90[2] = {};  // ours, literal
    long differing = 0;
};

// the frame as it stands, both drawings in turn frame by frame so that a busy machine weighs on
// both alike, then the last frame of each compared pixel for pixel
ViewTimes timeView(const Options& options, const std::string& name, int width, int height)
{
    std::vector<double> times[2];
    for (int n = 0; n < options.warmup + options.frames; ++n)
        for (int literal = options.oursOnly ? 0 : 1; literal >= 0; --literal) {
            selectLiteralDrawing(literal);
            double ms = frameMs();
            if (n >= options.warmup)
                times[literal].push_back(ms);
        }
    std::vector<uint8_t> pixels[2];
    for (int literal = 1; literal >= 0; --literal) {
        selectLiteralDrawing(literal);
        frameMs();
        pixels[literal] = frontPixels(width, height);
    }
    selectLiteralDrawing(false);
    if (!options.saveDir.empty()) {
        std::string file = name;
        for (char& c : file)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '-';
        savePpm(options.saveDir + "/" + file + "-" + std::to_string(width) + "x" +
                    std::to_string(height) + ".ppm",
                pixels[0], width, height);
    }
    ViewTimes result;
    result.name = name;
    for (int literal = 0; literal < 2; ++literal) {
        result.median[literal] = percentile(times[literal], 0.5);
        result.p90[literal] = percentile(times[literal], 0.9);
    }
    result.differing = differingPixels(pixels[0], pixels[1]);
    // what the last frame of ours sent of the ground (less where the eye is walled in)
    std::printf("result sent %dx%d terrain-triangles %d name %s\n", width, height,
                gWorld->terrain->drawnTriangles, name.c_str());
    std::printf("result view %dx%d literal_ms %.3f literal_p90_ms %.3f ours_ms %.3f ours_p90_ms "
                "%.3f differing %ld of %d name %s\n",
                width, height, result.median[1], result.p90[1], result.median[0], result.p90[0],
                result.differing, width * height, name.c_str());
    std::fflush(stdout);
    return result;
}

void timeFloor(const Options& options, int width, int height)
{
    std::vector<double> floorTimes;
    for (int n = 0; n < options.warmup + options.frames; ++n) {
        double ms = floorFrameMs();
        if (n >= options.warmup)
            floorTimes.push_back(ms);
    }
    std::printf("result floor %dx%d median_ms %.3f\n", width, height,
                percentile(floorTimes, 0.5));
    std::fflush(stdout);
}

bool wanted(const Options& options, const std::string& name)
{
    if (options.views.empty())
        return true;
    for (const std::string& v : options.views)
        if (name.find(v) != std::string::npos)
            return true;
    return false;
}

const char* kSceneView = "scripted scene";

int runFrames(const Options& options)
{
    if (!startScriptedGame(options.runDir.c_str(), options.sizes[0].first,
                           options.sizes[0].second)) {
        std::fprintf(stderr, "frametime: no generated assets in %s\n", options.runDir.c_str());
        return 1;
    }
    // the views of the game as it runs, with nothing thrown yet
    std::map<std::pair<int, int>, std::vector<ViewTimes>> bySize;
    for (auto [width, height] : options.sizes) {
        resizeScriptedGame(width, height);
        for (const ScriptedView& view : scriptedViews()) {
            if (!wanted(options, view.name))
                continue;
            enterScriptedView(view);
            bySize[{width, height}].push_back(timeView(options, view.name, width, height));
            if (options.parts)
                timeParts(options, view.name, width, height);
            leaveScriptedView();
        }
    }

    ScriptedSceneCounts counts = buildScriptedScene();
    std::printf("scene: %d streamers, %d rolls and %d eggs in the air, %d splats\n",
                counts.streamers, counts.rollsInFlight, counts.eggsInFlight, counts.splats);
    const char* names[2] = {"ours", "literal"};
    for (auto [width, height] : options.sizes) {
        resizeScriptedGame(width, height);
        if (wanted(options, kSceneView)) {
            ViewTimes scene = timeView(options, kSceneView, width, height);
            bySize[{width, height}].push_back(scene);
            for (int literal = 1; literal >= 0; --literal)
                std::printf("result frame %dx%d %s median_ms %.3f p90_ms %.3f frames %d\n", width,
                            height, names[literal], scene.median[literal], scene.p90[literal],
                            options.frames);
            std::printf("result pixels %dx%d differing %ld of %d\n", width, height,
                        scene.differing, width * height);
        }
        if (options.parts && wanted(options, kSceneView))
            timeParts(options, kSceneView, width, height);
        timeFloor(options, width, height);
    }
    // the worst view of each size by our median, and the most pixels any view of it differs by
    for (auto [width, height] : options.sizes) {
        const std::vector<ViewTimes>& views = bySize[{width, height}];
        if (views.empty())
            continue;
        const ViewTimes* worst = &views[0];
        const ViewTimes* worstLiteral = &views[0];
        long differing = 0;
        for (const ViewTimes& v : views) {
            if (v.median[0] > worst->median[0])
                worst = &v;
            if (v.median[1] > worstLiteral->median[1])
                worstLiteral = &v;
            differing = std::max(differing, v.differing);
        }
        std::printf("result worst %dx%d ours_ms %.3f ours_p90_ms %.3f name %s\n", width, height,
                    worst->median[0], worst->p90[0], worst->name.c_str());
        std::printf("result worst-literal %dx%d literal_ms %.3f literal_p90_ms %.3f name %s\n",
                    width, height, worstLiteral->median[1], worstLiteral->p90[1],
                    worstLiteral->name.c_str());
        std::printf("result views %dx%d count %zu most-differing %ld\n", width, height,
                    views.size(), differing);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("result harness-peak-rss-mb %.1f\n", double(usage.ru_maxrss) / 1024.0);
    if (gWorld && gWorld->terrain)
        std::printf("result terrain-mb tree %.1f grid %.1f\n",
                    double(gWorld->terrain->treeBytes()) / (1 << 20),
                    double(sizeof gWorld->terrain->grid) / (1 << 20));
    finishScriptedGame();
    return 0;
}

// ---------------------------------------------------------------- start-up

// A window of the game's size with nothing of the game in it: one frame of floorFrameMs with a
// texture of the sky's size, then the same report and exit as the game's timed start-up. What it
// takes in time and memory is what the driver and the libraries take before the game adds
// anything.
int runBareWindow(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(600, 600);
    glutCreateWindow("bare window");
    markStartupPhase("window");
    makeFloorTexture();
    floorFrameMs();
    markStartupPhase("first swap");
    finishStartupTiming();
    return 0;
}

struct StartupRun {
    std::vector<std::pair<std::string, double>> phases;  // ms after exec
    std::vector<std::pair<long, long>> memory;           // total, anonymous kB at each phase
    long peakKb = 0;
};

// the started games' XDG folders: a measured start must not open or create the developer's own
// score table, settings or window file
std::string sStartupHome;

bool launchOnce(const Options& options, StartupRun& run, bool bare = false)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    double start = now();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 2);
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (chdir(options.runDir.c_str()) != 0)
            _exit(127);
        int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        setenv("VX_STARTUP_TIMING", "1", 1);
        setenv("XDG_DATA_HOME", (sStartupHome + "/data").c_str(), 1);
        setenv("XDG_STATE_HOME", (sStartupHome + "/state").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (sStartupHome + "/config").c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        if (bare)
            execl("/proc/self/exe", "frametime", "--bare-window", nullptr);
        else
            execl(options.game.c_str(), options.game.c_str(), nullptr);
        _exit(127);
    }
    close(pipeFds[1]);
    std::string output;
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, size_t(n));
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakKb = usage.ru_maxrss;
    size_t at = 0;
    while ((at = output.find("startup-phase ", at)) != std::string::npos) {
        double stamp = 0;
        long total = 0, anonymous = 0;
        int used = 0;
        if (std::sscanf(output.c_str() + at, "startup-phase %lf %ld %ld %n", &stamp, &total,
                        &anonymous, &used) >= 3) {
            size_t end = output.find('\n', at);
            std::string name = output.substr(at + size_t(used), end - at - size_t(used));
            run.phases.push_back({name, (stamp - start) * 1000.0});
            run.memory.push_back({total, anonymous});
        }
        at += 14;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && !run.phases.empty();
}

int runStartup(const Options& options)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string home = std::string(tmp && *tmp ? tmp : "/tmp") + "/vx-startup-XXXXXX";
    if (!mkdtemp(home.data())) {
        std::perror("frametime: a folder for the game's files");
        return 1;
    }
    sStartupHome = home;
    std::vector<StartupRun> runs;
    bool reported = true;
    for (int r = 0; r < options.runs && reported; ++r) {
        StartupRun run;
        reported = launchOnce(options, run);
        if (reported)
            runs.push_back(run);
    }
    std::system(("rm -rf '" + home + "'").c_str());
    if (!reported) {
        std::fprintf(stderr, "frametime: the game did not report its start-up\n");
        return 1;
    }
    // each phase as the median of its own duration, and the whole as the median of the wholes
    const StartupRun& first = runs.front();
    std::vector<double> wholes, peaks;
    for (const StartupRun& run : runs) {
        wholes.push_back(run.phases.back().second);
        peaks.push_back(double(run.peakKb) / 1024.0);
    }
    for (size_t p = 0; p < first.phases.size(); ++p) {
        std::vector<double> durations;
        for (const StartupRun& run : runs)
            if (p < run.phases.size())
                durations.push_back(run.phases[p].second -
                                    (p == 0 ? 0.0 : run.phases[p - 1].second));
        std::printf("result startup-phase %.2f ms total_mb %.1f anon_mb %.1f %s\n",
                    percentile(durations, 0.5), double(first.memory[p].first) / 1024.0,
                    double(first.memory[p].second) / 1024.0, first.phases[p].first.c_str());
    }
    std::printf("result startup median_ms %.2f p90_ms %.2f runs %d\n", percentile(wholes, 0.5),
                percentile(wholes, 0.9), options.runs);
    std::printf("result startup-peak-rss-mb %.1f\n", percentile(peaks, 0.5));

    std::vector<double> bareWholes, barePeaks;
    for (int r = 0; r < options.runs; ++r) {
        StartupRun run;
        if (!launchOnce(options, run, true))
            break;
        bareWholes.push_back(run.phases.back().second);
        barePeaks.push_back(double(run.peakKb) / 1024.0);
    }
    if (!bareWholes.empty()) {
        std::printf("result bare-window-startup median_ms %.2f\n", percentile(bareWholes, 0.5));
        std::printf("result bare-window-peak-rss-mb %.1f\n", percentile(barePeaks, 0.5));
    }
    return 0;
}

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : ""; };
        int w = 0, h = 0;
        if (a == "--frames")
            options.frames = std::max(1, std::atoi(value()));
        else if (a == "--warmup")
            options.warmup = std::max(0, std::atoi(value()));
        else if (a == "--runs")
            options.runs = std::max(1, std::atoi(value()));
        else if (a == "--size" && std::sscanf(value(), "%dx%d", &w, &h) == 2 && w > 0 && h > 0)
            options.sizes.push_back({w, h});
        else if (a == "--run-dir")
            options.runDir = value();
        else if (a == "--ours-only")
            options.oursOnly = true;
        else if (a == "--parts")
            options.parts = true;
        else if (a == "--view")
            options.views.push_back(value());
        else if (a == "--save")
            options.saveDir = value();
        else if (a == "--startup")
            options.game = value();
        else if (a == "--bare-window")
            options.bareWindow = true;
        else
            return false;
    }
    if (options.sizes.empty())
        options.sizes = {{600, 600}, {1280, 1024}, {1920, 1080}};
    if (options.runDir.empty()) {
        const char* env = std::getenv("VX_RUN_DIR");
        options.runDir = env && *env ? env : ownFolder() + "/../run";
    }
    // the game is started from inside the run directory, so a path relative to here would miss
    if (!options.game.empty()) {
        if (char* absolute = realpath(options.game.c_str(), nullptr)) {
            options.game = absolute;
            std::free(absolute);
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: frametime [--frames N] [--warmup N] [--size WxH]... [--run-dir DIR]\n"
                     "                 [--parts] [--ours-only] [--save DIR] [--view NAME]...\n"
                     "       frametime --startup GAME [--runs N] [--run-dir DIR]\n"
                     "       frametime --bare-window\n");
        return 2;
    }
    if (options.bareWindow)
        return runBareWindow(argc, argv);
    return options.game.empty() ? runFrames(options) : runStartup(options);
}
