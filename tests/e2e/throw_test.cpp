// SPDX-License-Identifier: MIT
// Throwing with the real game and real X input: a roll with its sound and its strip, an egg after
// F1, a roll's strip left hanging on the house, and a recorded game played as a timedemo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

// the sky and the upper walls under the HUD, where a strip shows and the owner's figure, which
// walks on the ground, never does; and the band of the upper walls alone
const Area kAboveOwner{0, 110, 599, 400};
const Area kUpperWalls{0, 200, 599, 400};

// the paper is a light, colourless grey; the walls are tan, the sky dark blue, the lit panes
// yellow and the dark ones black
bool paperGrey(const uint8_t* p)
{
    int r = p[0], g = p[1], b = p[2];
    int lo = std::min(r, std::min(g, b)), hi = std::max(r, std::max(g, b));
    return hi - lo < 10 && lo >= 80 && hi <= 235;
}

// paper-grey pixels in the area that were something else before
long newPaper(const Screenshot& before, const Screenshot& after, const Area& a)
{
    long n = 0;
    for (int y = a.y0; y <= a.y1 && y < after.height && y < before.height; ++y)
        for (int x = a.x0; x <= a.x1 && x < after.width && x < before.width; ++x)
            n += paperGrey(after.at(x, y)) && !paperGrey(before.at(x, y));
    return n;
}

std::vector<uint8_t> readAll(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return bytes;
}

// non-zero samples written by the disk audio device after the given byte offset
bool soundAfter(const std::string& deviceFile, size_t offset)
{
    std::vector<uint8_t> bytes = readAll(deviceFile);
    for (size_t i = offset; i < bytes.size(); ++i)
        if (bytes[i] != 0)
            return true;
    return false;
}

class Throw : public ::testing::Test {
protected:
    void SetUp() override
    {
        deviceFile = game.runDir() + "/audio.raw";
        game.setGameEnv("SDL_AUDIODRIVER", "disk");
        game.setGameEnv("SDL_DISKAUDIOFILE", deviceFile);
        ASSERT_TRUE(game.start());
        ASSERT_TRUE(game.waitForWindow());
        game.movePointer(300, 300);
        ASSERT_TRUE(game.waitForScreenshot(
            [](const Screenshot& s) { return cyanPixels(s, kRollsLeftText) > 40; }));
    }

    // holds the button long enough for the bar to swing up to a throw that reaches the house
    void throwOne(double holdSeconds = 0.2) { ::throwOne(game, holdSeconds); }

    E2eGame game;
    std::string deviceFile;
};

TEST_F(Throw, HoldingAndReleasingTheRightButtonThrowsARollWithItsSound)
{
    Screenshot before = game.screenshot();
    long rollsText = cyanPixels(before, kRollsLeftText);
    long eggsText = cyanPixels(before, kEggsLeftText);
    // the sound device opens with the first sound: nothing has been heard yet
    EXPECT_FALSE(soundAfter(deviceFile, 0));

    throwOne();
    Screenshot shot;
    // the counter drops to 9 and the roll's strip rises into the scene behind it
    EXPECT_TRUE(game.waitForScreenshotInSteps(
        [&](const Screenshot& s) {
            return cyanPixels(s, kRollsLeftText) < rollsText && newPaper(before, s, kAboveOwner) > 40;
        },
        600, &shot))
        << "no roll came out of the throw";
    shot.save("throw_roll");
    EXPECT_EQ(cyanPixels(shot, kEggsLeftText), eggsText);
    EXPECT_EQ(cyanPixels(shot, kReplayMarkText), 0) << "a game played live is no replay";
    EXPECT_TRUE(waitUntil([&] { return soundAfter(deviceFile, 0); }, 30.0))
        << "grunt.wav never reached the audio device";
}

TEST_F(Throw, AfterF1TheButtonThrowsAnEgg)
{
    Screenshot before = game.screenshot();
    long rollsText = cyanPixels(before, kRollsLeftText);
    long eggsText = cyanPixels(before, kEggsLeftText);

    game.tapKey("F1");
    throwOne();
    Screenshot shot;
    EXPECT_TRUE(game.waitForScreenshotInSteps(
        [&](const Screenshot& s) { return cyanPixels(s, kEggsLeftText) < eggsText; }, 600, &shot))
        << "the egg counter did not drop";
    shot.save("throw_egg");
    EXPECT_EQ(cyanPixels(shot, kRollsLeftText), rollsText) << "a roll went instead";
    EXPECT_TRUE(waitUntil([&] { return soundAfter(deviceFile, 0); }, 30.0))
        << "an egg is thrown with the same grunt";
    // an egg trails no paper: two seconds of the game's steps after it left
    EXPECT_LT(newPaper(before, game.screenshotAfterSteps(120), kUpperWalls), 40);
}

// a recorded throw: the right button held exactly 8 steps, whatever the machine's frame rate;
// the replay in the window says REPLAY in its corner and ends on the same summary as the one
// recorded with no window
TEST(ThrowReplay, ARollsStripHangsOnTheHouse)
{
    E2eGame game;
    ASSERT_TRUE(game.start({"--replay", testDataPath("strip_on_house.replay")}));
    ASSERT_TRUE(game.waitForWindow());
    Screenshot before;
    ASSERT_TRUE(game.waitForScreenshot(
        [](const Screenshot& s) { return cyanPixels(s, kRollsLeftText) > 40; }, 120.0, &before));
    Screenshot hanging;
    EXPECT_TRUE(game.waitForScreenshotInSteps(
        [&](const Screenshot& s) { return newPaper(before, s, kUpperWalls) > 150; }, 600, &hanging))
        << "no strip hangs on the house's walls";
    hanging.save("throw_strip_on_house");
    EXPECT_GT(cyanPixels(hanging, kReplayMarkText), 60) << "the replay does not say so";

    ASSERT_TRUE(game.waitForExit(600.0)) << "the replay did not end by itself";
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
    std::ifstream expected(testDataPath("strip_on_house.summary"));
    std::string line;
    std::getline(expected, line);
    EXPECT_EQ(summaryLine(game.stdoutText()), line);
}

// --stop-at: the replay stands at its step and its picture stays, until q ends it with the summary
// of the game as it stands, the one the headless replay stopped there prints
TEST(ThrowReplay, StopAtHoldsThePictureOfItsStep)
{
    E2eGame game;
    const std::string replay = testDataPath("strip_on_house.replay");
    ASSERT_TRUE(game.start({"--replay", replay, "--stop-at", "420"}));
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(waitUntil([&] { return game.stepCount() == 420 || !game.running(); }, 600.0));
    // only the wall's clock can tell a picture that stays
    sleepFor(0.5);
    const Screenshot held = game.screenshot();
    sleepFor(1.5);
    const Screenshot later = game.screenshot();
    EXPECT_EQ(game.stepCount(), 420);
    EXPECT_GT(cyanPixels(held, kRollsLeftText), 40) << "nothing drawn";
    EXPECT_TRUE(held.rgb == later.rgb) << "the picture moved on: " << later.save("stop_at_later");
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
    EXPECT_EQ(summaryLine(game.stdoutText()), headlessSummary(game, replay, {"--stop-at", "420"}));
    EXPECT_EQ(summaryLine(game.stdoutText()).rfind("summary: steps=420 ", 0), 0u);
}

// "timedemo: N frames in S s, F frames a second; median M ms, 99th percentile P ms, worst W ms"
// and what follows it; the numbers in order, or none if the line is not there
std::vector<double> timedemoFigures(const std::string& text, std::string* after)
{
    size_t at = text.find("timedemo: ");
    if (at == std::string::npos)
        return {};
    std::vector<double> figures(6);
    int end = 0;
    int read = std::sscanf(text.c_str() + at,
                           "timedemo: %lf frames in %lf s, %lf frames a second; median %lf ms, "
                           "99th percentile %lf ms, worst %lf ms%n",
                           &figures[0], &figures[1], &figures[2], &figures[3], &figures[4],
                           &figures[5], &end);
    size_t lineEnd = at + size_t(end);
    if (read != 6 || end == 0 || text.compare(lineEnd, 1, "\n") != 0)
        return {};
    *after = text.substr(lineEnd + 1);
    return figures;
}

// the short game as fast as the machine goes: one frame for every step, the same game as the
// headless replay (its summary right after the timing), and the renderer's floor beside it
TEST(ThrowReplay, TimedemoDrawsAFrameForEveryStepOfTheSameGame)
{
    E2eGame game;
    ASSERT_TRUE(game.start({"--timedemo", testDataPath("short_game.replay"), "--size", "320x240"}));
    ASSERT_TRUE(game.waitForExit(600.0)) << "the timedemo did not end by itself";
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
    std::ifstream expected(testDataPath("short_game.summary"));
    std::string summary;
    std::getline(expected, summary);
    std::string after;
    std::vector<double> figures = timedemoFigures(game.stdoutText(), &after);
    ASSERT_EQ(figures.size(), 6u) << game.stdoutText();
    EXPECT_EQ(after.substr(0, after.find_first_of("\r\n")), summary);
    // steps=N in the summary: every step had its frame
    EXPECT_EQ(figures[0], std::stod(summary.substr(summary.find("steps=") + 6)));
    EXPECT_NEAR(figures[2], figures[0] / figures[1], figures[2] * 0.01 + 0.1);
    EXPECT_GT(figures[3], 0.0);
    EXPECT_LE(figures[3], figures[4]);
    EXPECT_LE(figures[4], figures[5]);

    // started as a game, with the game's environment (the sanitizer build's leak check is off
    // for the game, whose GL driver's memory is still held at exit)
    E2eGame floor;
    ASSERT_TRUE(floor.start({"--timedemo-floor", "--size", "320x240"}));
    ASSERT_TRUE(floor.waitForExit(300.0)) << "the floor did not end by itself";
    EXPECT_EQ(floor.exitStatus(), 0) << floor.stderrText();
    figures = timedemoFigures(floor.stdoutText(), &after);
    ASSERT_EQ(figures.size(), 6u) << floor.stdoutText();
    EXPECT_EQ(figures[0], 1000.0);
    EXPECT_LE(figures[3], figures[5]);
    EXPECT_EQ(after, "") << "the floor plays no game";
}

// a timedemo whose window goes mid-run ends as q ends it, with status 0: the timedemo line of
// the frames drawn so far, one for every step run, then the summary of those steps; closed
// through the window manager (the main loop returns) or destroyed under it alike
TEST(ThrowReplay, ATimedemoWhoseWindowIsClosedEndsAsQDoes)
{
    for (const bool destroyed : {false, true}) {
        SCOPED_TRACE(destroyed ? "the window destroyed" : "the window closed");
        E2eGame game;
        // far longer than the test: only the window's end ends it
        const std::string replay = game.runDir() + "/endless.replay";
        std::ofstream(replay) << "vendettix-input 2\n1000000 reached\n";
        ASSERT_TRUE(game.start({"--timedemo", replay, "--size", "320x240"}));
        ASSERT_TRUE(game.waitForWindow());
        ASSERT_TRUE(game.waitForSteps(60)) << game.stderrText();
        if (destroyed)
            ASSERT_EQ(game.runX({"xdotool", "windowclose", std::to_string(game.window().id)}).status, 0);
        else
            ASSERT_TRUE(game.askWindowToClose());
        ASSERT_TRUE(game.waitForExit(120.0)) << "a timedemo without its window stays";
        EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
        std::string after;
        const std::vector<double> figures = timedemoFigures(game.stdoutText(), &after);
        ASSERT_EQ(figures.size(), 6u) << game.stdoutText();
        EXPECT_GE(figures[0], 60.0);
        EXPECT_GT(figures[1], 0.0);
        const std::string summary = after.substr(0, after.find_first_of("\r\n"));
        ASSERT_EQ(summary.rfind("summary: steps=", 0), 0u) << game.stdoutText();
        EXPECT_EQ(figures[0], std::stod(summary.substr(summary.find("steps=") + 6)));
    }
}

}  // namespace
