// SPDX-License-Identifier: MIT
// bench: building the yard's terrain (pooled against one allocation per node) and drawing it
// (the tiles in view, every tile, and one begin/end per triangle). The drawing runs only with an
// X display:
//   tests/support/with-xvfb build/bench/terrain_bench
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/view_frustum.h"
#include "terrain/terrain.h"
#include "tests/support/literal_drawing.h"
#include "tests/support/loose_tree.h"

namespace {

double residentMB()
{
    long pages = 0, resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

double peakMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void BM_FillGrid(benchmark::State& state)
{
    auto terrain = std::make_unique<Terrain>();
    for (auto _ : state) {
        terrain->fillGrid();
        benchmark::DoNotOptimize(terrain->grid[1000].y);
    }
}
BENCHMARK(BM_FillGrid)->Unit(benchmark::kMillisecond);

// what the game does once at start: a fresh Terrain, grid and tree
void BM_BuildPooled(benchmark::State& state)
{
    double growth = 0, treeMB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        double before = residentMB();
        state.ResumeTiming();
        auto terrain = std::make_unique<Terrain>();
        terrain->build();
        benchmark::DoNotOptimize(terrain->root1);
        state.PauseTiming();
        growth = residentMB() - before;
        treeMB = double(terrain->treeBytes()) / (1 << 20);
        terrain.reset();
        state.ResumeTiming();
    }
    state.counters["rss_growth_MB"] = growth;
    state.counters["tree_MB"] = treeMB;
    state.counters["peak_rss_MB"] = peakMB();
}
BENCHMARK(BM_BuildPooled)->Unit(benchmark::kMillisecond)->UseRealTime();

// the baseline: the same grid, and every node allocated on its own with pointer links (72 bytes)
void BM_BuildEachNodeAllocated(benchmark::State& state)
{
    double growth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        double before = residentMB();
        state.ResumeTiming();
        auto terrain = std::make_unique<Terrain>();
        terrain->fillGrid();
        auto tree = std::make_unique<LooseTree>();
        benchmark::DoNotOptimize(tree->root1);
        state.PauseTiming();
        growth = residentMB() - before;
        tree.reset();
        terrain.reset();
        malloc_trim(0);  // the next build starts from untouched memory, as the game does
        state.ResumeTiming();
    }
    state.counters["rss_growth_MB"] = growth;
    state.counters["peak_rss_MB"] = peakMB();
}
BENCHMARK(BM_BuildEachNodeAllocated)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---------------------------------------------------------------- drawing

Terrain* sDrawnTerrain = nullptr;

void openWindow()
{
    int argc = 1;
    char name[] = "terrain-bench";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(600, 600);
    glutCreateWindow("Mesh display");
    glutDisplayFunc([] {});
    for (int i = 0; i < 3; ++i)
        glutMainLoopEvent();
    glViewport(0, 0, 600, 600);

    // a grass-like texture under the grass name
    std::vector<unsigned char> texels(64 * 64 * 3);
    for (size_t k = 0; k < texels.size(); k += 3) {
        texels[k] = 40 + (k * 7) % 50;
        texels[k + 1] = 120 + (k * 13) % 90;
        texels[k + 2] = 30;
    }
    glBindTexture(GL_TEXTURE_2D, 2);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());

    // the player's view from the first station towards the house, as the scene sets it up
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 1.0, 0.5, 73.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(-18.1, 1.7, -18.1, 0.0, 1.0, 0.0, 0.0, 1.0, 0.0);
    glTranslatef(-25.6f, 0.0f, -25.6f);
    glScalef(0.1f, 0.1f, 0.1f);
    glTranslatef(0.0f, -15.0f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
}

// geometryOnly: a one-pixel scissor, which keeps the per-vertex work and takes away the filling
template <class Draw>
void drawFrames(benchmark::State& state, bool geometryOnly, Draw draw)
{
    if (geometryOnly) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 1, 1);
    }
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        glFinish();
    }
    glDisable(GL_SCISSOR_TEST);
}

void BM_DrawEachTriangle(benchmark::State& state, bool geometryOnly)
{
    drawFrames(state, geometryOnly, [] { drawTerrainEachTriangle(*sDrawnTerrain); });
}

// every tile's list, whatever the view: the one batch of before
void BM_DrawEveryTile(benchmark::State& state, bool geometryOnly)
{
    static const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    static const ViewFrustum everywhere(identity, identity, 1e9);
    sDrawnTerrain->draw();  // compiles the lists outside the timing
    drawFrames(state, geometryOnly, [] { sDrawnTerrain->drawInView(everywhere); });
    state.counters["triangles"] = sDrawnTerrain->drawnTriangles;
}

// what the game does: only the tiles that may reach the screen
void BM_DrawBatched(benchmark::State& state, bool geometryOnly)
{
    sDrawnTerrain->draw();
    drawFrames(state, geometryOnly, [] { sDrawnTerrain->draw(); });
    state.counters["triangles"] = sDrawnTerrain->drawnTriangles;
}

bool displayAvailable()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::unique_ptr<Terrain> terrain;
    if (displayAvailable()) {
        openWindow();
        terrain = std::make_unique<Terrain>();
        terrain->build();
        sDrawnTerrain = terrain.get();
        // the plain names are the whole 600x600 picture; make bench's table reads them
        for (bool geometryOnly : {false, true}) {
            const char* suffix = geometryOnly ? "/geometry_only" : "";
            for (auto [name, draw] : {std::pair{"BM_DrawEachTriangle", BM_DrawEachTriangle},
                                      std::pair{"BM_DrawEveryTile", BM_DrawEveryTile},
                                      std::pair{"BM_DrawBatched", BM_DrawBatched}})
                benchmark::RegisterBenchmark((std::string(name) + suffix).c_str(), draw, geometryOnly)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
        }
    } else {
        std::printf("no X display: the drawing benchmarks are skipped\n");
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
