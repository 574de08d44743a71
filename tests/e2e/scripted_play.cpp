// SPDX-License-Identifier: MIT
// The scripted runs behind `make demo` and `make screenshots`: the real game under a virtual X
// server of its own, played through the end-to-end harness, with pictures saved on the way.
//
//   scripted_play demo <dir>         a short round: look round, hide left and right, rolls that
//                                    drape on the house, eggs that splat, the level finished
//   scripted_play screenshots <dir>  the README's pictures and an animated throw, then the shapes
//   scripted_play shapes <dir>       the first station in windows of other shapes, full screen
//                                    and paused
//   scripted_play settings <dir>     a settings file with both assists on: the score and the
//                                    landing marker, the help in the window and the menu
//   scripted_play stops <dir> <replay> <step>...
//                                    the replay in a 600x600 window stopped at each step
//                                    (--stop-at), its picture as stop-<step>.png, pixel for pixel
//
// VX_GAME names the game and VX_RUN_DIR the generated assets (absolute paths).
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLeftButton = 1;
constexpr double kPatience = 180.0;  // a loaded machine without a GPU draws slowly

struct Run {
    E2eGame& game;
    std::string dir;
    std::vector<std::string> saved;
    bool ok = true;

    // the picture as PNG; scaled down for the README when the width is given
    void save(const Screenshot& shot, const std::string& name, int width = 0)
    {
        if (shot.empty()) {
            std::fprintf(stderr, "no picture for %s\n", name.c_str());
            ok = false;
            return;
        }
        std::string ppm = dir + "/" + name + ".ppm";
        std::string png = dir + "/" + name + ".png";
        FILE* f = std::fopen(ppm.c_str(), "wb");
        if (!f) {
            ok = false;
            return;
        }
        std::fprintf(f, "P6\n%d %d\n255\n", shot.width, shot.height);
        std::fwrite(shot.rgb.data(), 1, shot.rgb.size(), f);
        std::fclose(f);
        // the README's pictures: smaller, and a 64-colour palette keeps them light
        std::string resize = width ? " -resize " + std::to_string(width) + "x -colors 64" : "";
        CommandResult r = game.runX({"sh", "-c",
                                     "convert '" + ppm + "'" + resize + " -strip '" + png +
                                         "' && rm -f '" + ppm + "'"},
                                    120.0);
        if (r.status != 0) {
            std::fprintf(stderr, "could not write %s\n", png.c_str());
            ok = false;
            return;
        }
        saved.push_back(png);
        std::printf("  %s\n", png.c_str());
        std::fflush(stdout);
    }

    bool expect(bool condition, const char* what)
    {
        if (!condition) {
            std::fprintf(stderr, "scripted play: %s\n", what);
            ok = false;
        }
        return condition;
    }
};

void drag(E2eGame& game, int dx, int dy)
{
    game.movePointer(300, 300);
    game.mouseDown(kLeftButton);
    for (int step = 1; step <= 4; ++step)
        game.movePointer(300 + dx * step / 4, 300 + dy * step / 4);
    game.mouseUp(kLeftButton);
}

// a few frames drawn since the last input: the screen stops matching the last picture taken
Screenshot settled(E2eGame& game, double seconds = 0.6)
{
    sleepFor(seconds);
    return game.screenshot();
}

// how far two pictures differ below the HUD: the mean of the grey differences
double pictureDifference(const Screenshot& a, const Screenshot& b)
{
    if (a.width != b.width || a.height != b.height || a.empty())
        return 0;
    double sum = 0;
    long count = 0;
    for (int y = a.height / 4; y < a.height; y += 4)
        for (int x = 0; x < a.width; x += 4, ++count)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(int(a.at(x, y)[c]) - int(b.at(x, y)[c])) / 3.0;
    return count ? sum / double(count) : 0;
}

// leans to one side with the key held and takes the picture once the view has come to rest,
// then walks back. The lean advances by the key's repeats, which the server starts only after
// its repeat delay, so the view is watched only from then on.
Screenshot hide(E2eGame& game, const char* key)
{
    constexpr double kRepeatDelay = 0.66;  // the X server's default
    game.keyDown(key);
    sleepFor(kRepeatDelay + 0.5);
    Screenshot last = game.screenshot();
    waitUntil(
        [&] {
            Screenshot now = game.screenshot();
            const bool still = pictureDifference(last, now) < 1.5;
            last = now;
            return still;
        },
        20.0, 0.3);
    game.keyUp(key);
    sleepFor(1.0);  // the walk back takes 0.4 s; the throw button waits for it
    game.movePointer(300, 330);
    return last;
}

void throwMany(E2eGame& game, int count, double hold = 0.25)
{
    for (int i = 0; i < count; ++i) {
        throwOne(game, hold);
        sleepFor(0.15);
    }
}

// the power bar swings up and down about twice a second, and how far a throw carries depends on
// the frame rate; a sweep of holds over the rising half puts some throws on the wall anywhere
void throwSpread(E2eGame& game, int count)
{
    const double holds[] = {0.14, 0.1, 0.18, 0.08, 0.12, 0.16, 0.2, 0.11, 0.15};
    for (int i = 0; i < count; ++i) {
        throwOne(game, holds[i % 9]);
        sleepFor(0.15);
    }
}

// rolls near the top of the bar: they carry to the wall and drape over it
void throwRollsHard(E2eGame& game, int count)
{
    const double holds[] = {0.21, 0.23, 0.2, 0.22, 0.19};
    for (int i = 0; i < count; ++i) {
        throwOne(game, holds[i % 5]);
        sleepFor(0.3);
    }
}

// windows lit by the owner's lamp: warm, bright pixels in the house's part of the picture
long warmPixels(const Screenshot& s)
{
    long n = 0;
    for (int y = s.height / 4; y < s.height * 3 / 4; y += 2)
        for (int x = 0; x < s.width; x += 2) {
            const uint8_t* p = s.at(x, y);
            n += p[0] > 180 && p[1] > 150 && p[2] < 140;
        }
    return n;
}

// pictures taken as fast as the window can be read, for the animated throw
std::vector<Screenshot> burst(E2eGame& game, int count)
{
    std::vector<Screenshot> shots;
    for (int i = 0; i < count; ++i)
        shots.push_back(game.screenshot());
    return shots;
}

bool startGame(Run& run)
{
    if (!run.expect(!run.game.display().empty(), "the virtual X server (Xvfb) did not start"))
        return false;
    bool started = startThroughMessageBoxes(run.game, nullptr, kPatience);
    run.expect(started, "the game did not start or drew nothing; it said:");
    if (!started)
        std::fprintf(stderr, "%s%s\n", run.game.stdoutText().c_str(),
                     run.game.stderrText().c_str());
    return started;
}

void demo(Run& run)
{
    E2eGame& game = run.game;
    if (!startGame(run))
        return;
    run.save(settled(game), "01-start");

    drag(game, -60, 0);
    run.save(settled(game), "02-look-left");
    drag(game, 120, -40);
    run.save(settled(game), "03-look-right-and-up");
    drag(game, -60, 40);  // back to the house

    run.save(hide(game, "a"), "04-hide-left");
    run.save(hide(game, "d"), "05-hide-right");

    game.movePointer(300, 330);
    throwRollsHard(game, 4);
    run.save(settled(game, 3.0), "06-rolls-draped");

    game.tapKey("F1");
    throwSpread(game, 4);
    run.save(settled(game, 1.5), "07-eggs-splat");

    // the rest of both, and the level ends at its next whole second
    throwMany(game, 6, 0.35);
    game.tapKey("F1");
    throwMany(game, 6);
    Screenshot complete;
    run.expect(game.waitForScreenshot(centreMessage, kPatience, &complete),
               "the level did not end once everything was thrown");
    run.save(complete, "08-level-complete");

    game.tapKey("q");
    run.expect(game.waitForExit(60.0) && game.exitStatus() == 0, "the quit key did not end it");
}

// each level gives 30 s of play, so the pictures are spread over the four
void screenshots(Run& run)
{
    E2eGame& game = run.game;
    if (!startGame(run))
        return;

    // level 1: the station, hiding on both sides, one throw seen in flight, rolls on the house
    run.save(settled(game), "station1", 400);
    run.save(hide(game, "a"), "hiding-left", 400);
    run.save(hide(game, "d"), "hiding-right", 400);
    // seen from above: from the station the roll climbs out of the picture at once
    game.movePointer(300, 330);
    game.tapKey("e");
    sleepFor(0.5);
    throwOne(game, 0.21);
    std::vector<Screenshot> flight = burst(game, 16);
    game.tapKey("e");
    std::string frames;
    for (size_t i = 0; i < flight.size(); ++i) {
        std::string name = "throw-frame-" + std::to_string(100 + i);
        run.save(flight[i], name, 300);
        frames += " '" + run.dir + "/" + name + ".png'";
    }
    CommandResult gif = game.runX({"sh", "-c",
                                   "convert -delay 15 -loop 0" + frames + " -layers Optimize '" +
                                       run.dir + "/throw.gif' && rm -f" + frames},
                                  120.0);
    run.saved.erase(std::remove_if(run.saved.begin(), run.saved.end(),
                                   [](const std::string& s) {
                                       return s.find("throw-frame-") != std::string::npos;
                                   }),
                    run.saved.end());
    if (run.expect(gif.status == 0, "the animated throw could not be made"))
        std::printf("  %s/throw.gif\n", run.dir.c_str());
    throwRollsHard(game, 9);
    Screenshot shot;
    run.expect(game.waitForScreenshot(centreMessage, kPatience, &shot), "level 1 did not end");
    run.save(shot, "level-complete", 400);

    // level 2: eggs on the wall, and the bird's-eye view solid and in wireframe
    // level 2: the strips of level 1 seen from the side, draped over the house
    run.expect(game.waitForScreenshot(playing, kPatience), "level 2 did not start");
    run.save(settled(game), "station2", 400);
    game.tapKey("F1");
    throwSpread(game, 6);
    run.save(settled(game, 1.5), "egg-splats", 400);
    game.tapKey("e");
    run.save(settled(game, 1.0), "birds-eye", 400);
    game.tapKey("m");
    run.save(settled(game, 1.0), "birds-eye-wireframe", 400);
    game.tapKey("m");
    game.tapKey("e");
    game.tapKey("F1");
    game.tapKey("c");

    // level 3: the owner walks round the house; her side's windows light up while she is there
    run.expect(game.waitForScreenshot(centreMessage, kPatience), "the turn did not start");
    run.expect(game.waitForScreenshot(playing, kPatience), "level 3 did not start");
    run.save(settled(game), "station3", 400);
    Screenshot lit;
    long best = -1;
    for (int i = 0; i < 40; ++i) {
        Screenshot candidate = game.screenshot();
        if (!playing(candidate))
            break;
        long warm = warmPixels(candidate);
        if (warm > best) {
            best = warm;
            lit = candidate;
        }
        sleepFor(0.25);
    }
    run.save(lit, "lit-windows", 400);
    game.tapKey("c");

    // level 4, then game over
    run.expect(game.waitForScreenshot(centreMessage, kPatience), "the turn did not start");
    run.expect(game.waitForScreenshot(playing, kPatience), "level 4 did not start");
    run.save(settled(game), "station4", 400);
    game.tapKey("c");
    run.expect(game.waitForScreenshot(centreMessage, kPatience), "no game-over screen");
    run.save(settled(game, 1.0), "game-over", 400);

    game.tapKey("q");
    run.expect(game.waitForExit(60.0) && game.exitStatus() == 0, "the quit key did not end it");
}

// the game in a window of its own shape on a screen that holds it; the picture once the scene
// has been drawn a while
void windowShape(const std::string& dir, std::vector<std::string>& saved, bool& ok,
                 const std::string& screen, const std::vector<std::string>& args,
                 const std::string& name, bool pause = false, int savedWidth = 400)
{
    E2eGame game(screen);
    Run run{game, dir, {}, true};
    if (run.expect(!game.display().empty(), "the virtual X server (Xvfb) did not start") &&
        run.expect(game.start(args) && game.waitForWindow(kPatience), "the game did not start") &&
        run.expect(game.waitForScreenshot([](const Screenshot& s) { return s.litPixels() > 5000; },
                                          kPatience),
                   "the game drew nothing")) {
        sleepFor(1.5);
        if (pause) {
            game.tapKey("p");
            sleepFor(0.5);
        }
        run.save(game.screenshot(), name, savedWidth);
        game.tapKey("q");
        run.expect(game.waitForExit(60.0), "the quit key did not end it");
    }
    saved.insert(saved.end(), run.saved.begin(), run.saved.end());
    ok = ok && run.ok;
}

// a game of its own with a settings file that turns both assists on
void settings(Run& run)
{
    E2eGame game;
    Run own{game, run.dir, {}, true};
    const std::string config = game.runDir() + "/config";
    fs::create_directories(config + "/vendettix");
    FILE* f = std::fopen((config + "/vendettix/settings.ini").c_str(), "w");
    if (f) {
        std::fputs("[assists]\nshow_score = true\nlanding_marker = true\n", f);
        std::fclose(f);
    }
    game.setGameEnv("XDG_CONFIG_HOME", config);
    if (startGame(own)) {
        // two rolls on the house score; the marker then stands where a third at the same power
        // would come down
        game.movePointer(300, 330);
        throwRollsHard(game, 2);
        sleepFor(2.0);
        game.mouseDown(3);
        sleepFor(0.3);
        own.save(game.screenshot(), "assists", 400);
        game.mouseUp(3);

        game.tapKey("h");
        sleepFor(1.0);
        own.save(game.screenshot(), "help-in-window", 400);
        game.tapKey("h");
        // the menu's entries follow the state at the idle call after the resume
        sleepFor(1.0);

        // the menu is a window of its own over the game's: the window's area holds both
        game.movePointer(200, 150);
        game.mouseDown(2);
        own.expect(waitUntil([&] { return game.findWindow("freeglut menu") != 0; }, 30.0),
                   "the menu did not open");
        // a move over the entries makes the toolkit draw the menu again, highlight and all;
        // then wait for two pictures alike
        game.movePointer(210, 175);
        sleepFor(0.5);
        game.movePointer(215, 180);
        Screenshot menu = game.screenshot();
        for (int i = 0; i < 20; ++i) {
            sleepFor(0.5);
            Screenshot again = game.screenshot();
            const bool same = again.rgb == menu.rgb;
            menu = again;
            if (same)
                break;
        }
        own.save(menu, "menu", 400);
        game.mouseUp(2);
        // a click beside the menu closes it
        game.movePointer(550, 550);
        game.click(1);
        sleepFor(0.5);
        game.tapKey("q");
        own.expect(game.waitForExit(60.0), "the quit key did not end it");
    }
    run.saved.insert(run.saved.end(), own.saved.begin(), own.saved.end());
    run.ok = run.ok && own.ok;
}

void shapes(Run& run)
{
    windowShape(run.dir, run.saved, run.ok, "1280x1024", {"-geometry", "1280x720+0+0"},
                "shape-1280x720");
    windowShape(run.dir, run.saved, run.ok, "1024x1400", {"-geometry", "720x1280+0+0"},
                "shape-720x1280");
    windowShape(run.dir, run.saved, run.ok, "1920x1080", {"--fullscreen"}, "shape-fullscreen");
    // the narrow and small windows pixel for pixel, so the texts can be read as the player sees
    // them
    for (const char* size : {"320x240", "400x700", "420x700", "600x600"})
        windowShape(run.dir, run.saved, run.ok, "1280x1024", {"--size", size},
                    std::string("shape-") + size, false, 0);
    windowShape(run.dir, run.saved, run.ok, "1280x1024", {"--size", "900x600"}, "paused", true);
}

// the games start together and each waits at its step, so the replays run side by side
void stops(Run& run, const std::string& replay, const std::vector<std::string>& steps)
{
    std::vector<std::unique_ptr<E2eGame>> games;
    for (const std::string& step : steps) {
        games.push_back(std::make_unique<E2eGame>());
        run.expect(games.back()->start({"--replay", fs::absolute(replay).string(), "--stop-at",
                                        step, "--size", "600x600", "--no-save"}),
                   "the game did not start");
    }
    for (size_t i = 0; i < steps.size(); ++i) {
        E2eGame& game = *games[i];
        Run own{game, run.dir, {}, true};
        const int64_t step = std::stoll(steps[i]);
        if (own.expect(game.waitForWindow(kPatience), "no window") &&
            own.expect(waitUntil([&] { return game.stepCount() == step || !game.running(); },
                                 600.0) && game.running(),
                       "the replay did not stop at its step")) {
            // a frame drawn after the last step
            sleepFor(0.5);
            own.save(game.screenshot(), "stop-" + steps[i]);
        }
        game.tapKey("q");
        own.expect(game.waitForExit(60.0), "the quit key did not end it");
        run.saved.insert(run.saved.end(), own.saved.begin(), own.saved.end());
        run.ok = run.ok && own.ok;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!(argc == 3 && (mode == "demo" || mode == "screenshots" || mode == "shapes" ||
                        mode == "settings")) &&
        !(argc >= 5 && mode == "stops")) {
        std::fprintf(stderr,
                     "usage: %s demo|screenshots|shapes|settings <directory for the pictures>\n"
                     "       %s stops <directory for the pictures> <replay> <step>...\n",
                     argv[0], argv[0]);
        return 2;
    }
    const char* game = std::getenv("VX_GAME");
    const char* assets = std::getenv("VX_RUN_DIR");
    if (!game || !*game || !assets || !*assets) {
        std::fprintf(stderr, "VX_GAME (the game) and VX_RUN_DIR (its assets) must be set\n");
        return 2;
    }
    if (access(game, X_OK) != 0 || !fs::is_directory(assets)) {
        std::fprintf(stderr, "cannot run %s over the assets in %s\n", game, assets);
        return 2;
    }
    std::error_code ec;
    fs::create_directories(argv[2], ec);
    const std::string dir = fs::absolute(argv[2], ec).lexically_normal().string();

    std::printf("Playing a scripted %s under a virtual X server; pictures go to %s\n",
                mode == "demo" ? "round" : "game", dir.c_str());
    std::fflush(stdout);
    E2eGame session;
    Run run{session, dir, {}, true};
    if (mode == "demo")
        demo(run);
    else if (mode == "shapes")
        shapes(run);
    else if (mode == "settings")
        settings(run);
    else if (mode == "stops")
        stops(run, argv[3], std::vector<std::string>(argv + 4, argv + argc));
    else {
        screenshots(run);
        shapes(run);
        settings(run);
    }
    std::printf("%s: %zu pictures in %s\n", run.ok ? "Done" : "Finished with problems",
                run.saved.size(), dir.c_str());
    return run.ok ? 0 : 1;
}
