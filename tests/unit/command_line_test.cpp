// SPDX-License-Identifier: MIT
// The command line: each option, the GLUT options handed on, and the bad ones refused with
// status 2 before any window opens.
#include "app/command_line.h"
#include "app/window_memory.h"
#include "app/window_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CommandLine parse(const std::vector<const char*>& args)
{
    std::vector<const char*> argv{"vendettix"};
    argv.insert(argv.end(), args.begin(), args.end());
    return parseCommandLine(int(argv.size()), argv.data());
}

TEST(CommandLine, EachOption)
{
    const struct {
        std::vector<const char*> args;
        LaunchAction action;
        int width, height, x, y;
        bool fullscreen;
        std::vector<std::string> glutArgs;  // after the program name
    } cases[] = {
        // clang-format off
        // 1: no options is the game as it always started
        {{}, LaunchAction::Play, 600, 600, 100, 100, false, {}},
        {{"--help"}, LaunchAction::ShowHelp, 600, 600, 100, 100, false, {}},
        {{"--version"}, LaunchAction::ShowVersion, 600, 600, 100, 100, false, {}},
        // 4: the full screen keeps the window's size and place, for F11 to return to
        {{"--fullscreen"}, LaunchAction::Play, 600, 600, 100, 100, true, {}},
        {{"--size", "800x450"}, LaunchAction::Play, 800, 450, 100, 100, false, {}},
        {{"--size=1024x768", "--fullscreen"}, LaunchAction::Play, 1024, 768, 100, 100, true, {}},
        {{"--size", "160x120"}, LaunchAction::Play, 160, 120, 100, 100, false, {}},
        // 8: -geometry is ours, so the game's default size cannot override it
        {{"-geometry", "320x240+5+7"}, LaunchAction::Play, 320, 240, 5, 7, false, {}},
        {{"-geometry", "320x240"}, LaunchAction::Play, 320, 240, 100, 100, false, {}},
        {{"-display", ":3", "-sync"}, LaunchAction::Play, 600, 600, 100, 100, false,
         {"-display", ":3", "-sync"}},
        // 11: the last size given wins, as with most X programs
        {{"--size", "300x300", "--size", "400x200"}, LaunchAction::Play, 400, 200, 100, 100, false,
         {}},
        // 12: the last of the two decides
        {{"--version", "--help"}, LaunchAction::ShowHelp, 600, 600, 100, 100, false, {}},
        // 12: -h is what people type first
        {{"--version", "-h"}, LaunchAction::ShowHelp, 600, 600, 100, 100, false, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::string label = c.args.empty() ? "(none)" : c.args[0];
        CommandLine line = parse(c.args);
        EXPECT_EQ(line.action, c.action) << label;
        EXPECT_EQ(line.window.width, c.width) << label;
        EXPECT_EQ(line.window.height, c.height) << label;
        EXPECT_EQ(line.window.x, c.x) << label;
        EXPECT_EQ(line.window.y, c.y) << label;
        EXPECT_EQ(line.window.fullscreen, c.fullscreen) << label;
        std::vector<std::string> expected{"vendettix"};
        expected.insert(expected.end(), c.glutArgs.begin(), c.glutArgs.end());
        EXPECT_EQ(line.glutArgs, expected) << label;
        EXPECT_TRUE(line.error.empty()) << label;
    }

    CommandLine replay = parse({"--replay", "game.replay", "--headless"});
    EXPECT_EQ(replay.action, LaunchAction::Play);
    EXPECT_EQ(replay.replayPath, "game.replay");
    EXPECT_TRUE(replay.headless);
    EXPECT_EQ(replay.stopAtStep, -1);
    EXPECT_EQ(parse({"--replay-score", "1", "--stop-at=0"}).stopAtStep, 0);
    EXPECT_EQ(parse({"--stop-at", "5184000", "--replay", "f"}).stopAtStep, 5184000);
    EXPECT_EQ(parse({"--record=out.replay"}).recordPath, "out.replay");
    // a file named like an option is still there to be named
    EXPECT_EQ(parse({"--record=--fullscreen"}).recordPath, "--fullscreen");
    EXPECT_EQ(parse({"--record", "-"}).recordPath, "-");
    EXPECT_FALSE(parse({}).noSave);
    EXPECT_TRUE(parse({"--record", "out.replay", "--no-save"}).noSave);

    CommandLine timedemo = parse({"--timedemo", "demo.replay", "--size", "1920x1080"});
    EXPECT_EQ(timedemo.action, LaunchAction::Play);
    EXPECT_EQ(timedemo.timedemoPath, "demo.replay");
    EXPECT_TRUE(timedemo.replayPath.empty());
    EXPECT_FALSE(timedemo.timedemoFloor);
    EXPECT_EQ(timedemo.window.width, 1920);
    CommandLine floor = parse({"--timedemo-floor", "--fullscreen"});
    EXPECT_EQ(floor.action, LaunchAction::Play);
    EXPECT_TRUE(floor.timedemoFloor);
    EXPECT_TRUE(floor.window.fullscreen);
    EXPECT_FALSE(parse({}).timedemoFloor);
    // the kept games and the player's files
    CommandLine sent = parse({"--submit=12"});
    EXPECT_EQ(sent.action, LaunchAction::Submit);
    EXPECT_EQ(sent.submitRank, 12);
    CommandLine kept = parse({"--replay-score", "3", "--headless"});
    EXPECT_EQ(kept.action, LaunchAction::Play);
    EXPECT_EQ(kept.replayRank, 3);
    EXPECT_TRUE(kept.headless);
    EXPECT_EQ(parse({"--scores"}).action, LaunchAction::ShowScores);
    EXPECT_TRUE(parse({"--no-save"}).noSave);
    EXPECT_FALSE(parse({}).noSave);
    // only a window the command line sets wins over the one kept from the last game
    const struct { std::vector<const char*> args; bool set; } windows[] = {
        {{}, false}, {{"--no-save"}, false}, {{"--size", "10x10"}, true},
        {{"-geometry", "10x10"}, true}, {{"--fullscreen"}, true}, {{"-display", ":0"}, false},
    };
    for (const auto& w : windows)
        EXPECT_EQ(parse(w.args).windowSet, w.set) << (w.args.empty() ? "(none)" : w.args[0]);
}

TEST(CommandLine, TheWindowKeptReadsBackAndNothingElseIsTaken)
{
    WindowOptions left;
    left.width = 800;
    left.height = 500;
    left.x = 40;
    left.y = 60;
    left.fullscreen = true;
    const std::string text = windowStateText(left);
    EXPECT_EQ(text, "vendettix-window 1\nsize 800x500\nplace 40 60\nfullscreen 1\n");
    WindowOptions read;
    ASSERT_TRUE(parseWindowState(text, &read));
    EXPECT_EQ(read.width, 800);
    EXPECT_EQ(read.height, 500);
    EXPECT_EQ(read.x, 40);
    EXPECT_EQ(read.y, 60);
    EXPECT_TRUE(read.fullscreen);

    const char* damaged[] = {
        "vendettix-window 2\nsize 800x500\nplace 40 60\nfullscreen 0\n",
        "vendettix-window 1\nsize 800x500\nplace 40 60\nfullscreen 0",      // cut off
        "vendettix-window 1\nsize 800x500\nplace 40 60\nfullscreen 0\nx\n",  // more after
        "vendettix-window 1\nsize 0x500\nplace 40 60\nfullscreen 0\n",
        "vendettix-window 1\nsize 800x500\nplace -1 60\nfullscreen 2\n",
        // the command line's least window, 160x120, and nothing smaller
        "vendettix-window 1\nsize 1x1\nplace 40 60\nfullscreen 0\n",
        "vendettix-window 1\nsize 159x120\nplace 40 60\nfullscreen 0\n",
        "vendettix-window 1\nsize 160x119\nplace 40 60\nfullscreen 0\n",
        "vendettix-window 1\nsize 16385x500\nplace 40 60\nfullscreen 0\n",
    };
    for (const char* bad : damaged) {
        WindowOptions untouched;
        EXPECT_FALSE(parseWindowState(bad, &untouched)) << bad;
        EXPECT_EQ(untouched.width, kDefaultWindowSize) << bad;
    }
    ASSERT_TRUE(parseWindowState("vendettix-window 1\nsize 160x120\nplace 0 0\nfullscreen 0\n",
                                 &read));
    EXPECT_EQ(read.width, 160);
    EXPECT_EQ(read.height, 120);
}

TEST(CommandLine, BadOptionsAreRefusedWithStatusTwo)
{
    const struct {
        std::vector<const char*> args;
        const char* error;  // a part of the message
    } cases[] = {
        {{"--bogus"}, "unknown option: --bogus"},
        {{"--h"}, "unknown option: --h"},
        {{"play"}, "unknown option: play"},
        {{"--size"}, "--size needs a value"},
        {{"--size", "600"}, "bad value for --size: 600"},
        {{"--size", "600x"}, "bad value for --size"},
        {{"--size", "0x600"}, "bad value for --size"},
        {{"--size", "-5x600"}, "bad value for --size"},
        {{"--size", "600x600x3"}, "bad value for --size"},
        {{"--size", "99999999999999999999x1"}, "bad value for --size"},
        {{"--size", " 600x600"}, "bad value for --size"},
        // 11-13: smaller than 160x120 either way
        {{"--size", "10x10"}, "bad value for --size: 10x10 (expected WxH, at least 160x120)"},
        {{"--size", "159x120"}, "bad value for --size"},
        {{"-geometry", "160x119+0+0"}, "(expected WxH[+X+Y], at least 160x120)"},
        // 14: a position belongs to -geometry only
        {{"--size", "600x600+1+1"}, "bad value for --size"},
        {{"-geometry", "600x600+1"}, "bad value for -geometry"},
        {{"--fullscreen=yes"}, "--fullscreen takes no value"},
        {{"--no-save=1"}, "--no-save takes no value"},
        {{"-display"}, "-display needs a value"},
        // 18: a bad option after a good one still stops the start
        {{"--fullscreen", "--windowed"}, "unknown option: --windowed"},
        // 19-22: the replay's options
        {{"--headless"}, "--headless needs --replay FILE"},
        {{"--replay-score", "0"}, "bad value for --replay-score"},
        {{"--replay-score", "2x"}, "bad value for --replay-score"},
        {{"--replay-score", "1", "--replay", "f"}, "cannot be used together"},
        {{"--replay-score", "1", "--record", "f"}, "cannot be used together"},
        {{"--replay-score", "1", "--no-save"}, "--no-save leaves alone"},
        {{"--stop-at", "0"}, "--stop-at needs --replay FILE or --replay-score N"},
        {{"--timedemo", "f", "--stop-at", "5"}, "--stop-at needs --replay"},
        {{"--replay", "f", "--stop-at", "-1"}, "bad value for --stop-at: -1 (expected STEP)"},
        {{"--replay", "f", "--stop-at", "5184001"}, "bad value for --stop-at"},
        {{"--replay", "f", "--stop-at", "9s"}, "bad value for --stop-at"},
        {{"--submit", "0"}, "bad value for --submit"},
        {{"--submit", "1x"}, "bad value for --submit"},
        {{"--submit"}, "--submit needs a value: N"},
        {{"--submit", "1", "--no-save"}, "--no-save leaves alone"},
        {{"--scores", "--no-save"}, "--no-save leaves alone"},
        {{"--replay"}, "--replay needs a value"},
        {{"--replay="}, "bad value for --replay"},
        {{"--record", "a", "--replay", "b"}, "cannot be used together"},
        // a value that looks like an option is a forgotten value, for every option
        {{"--record", "--fullscreen"}, "--record needs a value: FILE, not the option --fullscreen"},
        {{"--replay", "-geometry"}, "--replay needs a value: FILE, not the option -geometry"},
        {{"-display", "-iconic"}, "-display needs a value: DISPLAY, not the option -iconic"},
        {{"--size", "--Fullscreen"}, "--size needs a value: WxH, not the option --Fullscreen"},
        {{"--timedemo", "--size"}, "--timedemo needs a value: FILE, not the option --size"},
        // the timedemo's options: a file, and neither with a replay, a recording or the other
        {{"--timedemo"}, "--timedemo needs a value"},
        {{"--timedemo="}, "bad value for --timedemo"},
        {{"--timedemo", "a", "--replay", "b"}, "go with none"},
        {{"--timedemo", "a", "--record", "b"}, "go with none"},
        {{"--timedemo-floor", "--timedemo", "a"}, "go with none"},
        {{"--timedemo-floor", "--record", "b"}, "go with none"},
        {{"--timedemo-floor=yes"}, "--timedemo-floor takes no value"},
    };
    for (const auto& c : cases) {
        std::string label =
            c.args[0] + std::string(c.args.size() > 1 ? std::string(" ") + c.args[1] : "");
        CommandLine line = parse(c.args);
        EXPECT_EQ(line.action, LaunchAction::BadUsage) << label;
        EXPECT_NE(line.error.find(c.error), std::string::npos) << label << ": " << line.error;
        testing::internal::CaptureStderr();
        EXPECT_EQ(answerCommandLine(line), 2) << label;
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("Usage: vendettix"), std::string::npos) << label;
    }
}

bool samePlace(const WindowPlacement& a, const WindowPlacement& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(WindowPlacement, TheWindowShrinksAndMovesOnlyAsMuchAsTheScreenNeeds)
{
    const struct {
        WindowPlacement wanted;
        int screenWidth, screenHeight;
        WindowPlacement placed;
    } cases[] = {
        {{100, 100, 600, 600}, 1280, 1024, {100, 100, 600, 600}},
        // 2: a small screen: the size shrinks, then the start moves back onto it
        {{100, 100, 600, 600}, 640, 480, {40, 0, 600, 480}},
        {{900, 50, 600, 600}, 1280, 1024, {680, 50, 600, 600}},
        {{0, 900, 2000, 300}, 1280, 1024, {0, 724, 1280, 300}},
        {{50, 60, 300, 200}, 300, 200, {0, 0, 300, 200}},
        // 6: a screen of unknown size changes nothing on that axis
        {{100, 100, 600, 600}, 0, 0, {100, 100, 600, 600}},
        {{900, 900, 600, 600}, 1280, -1, {680, 900, 600, 600}},
    };
    for (const auto& c : cases) {
        const WindowPlacement placed = fitWindowToScreen(c.wanted, c.screenWidth, c.screenHeight);
        EXPECT_TRUE(samePlace(placed, c.placed))
            << c.screenWidth << "x" << c.screenHeight << ": " << placed.x << "," << placed.y
            << " " << placed.width << "x" << placed.height;
    }
}

// --fullscreen opens on the whole screen but remembers the window the options asked for, so F11
// comes back to it; from a window F11 remembers the window as the player left it
TEST(WindowPlacement, F11GoesToTheWholeScreenAndBackToTheWindowItLeft)
{
    const CommandLine line = parse({"--fullscreen", "-geometry", "800x450+900+30"});
    WindowMode mode = openingWindowMode(line.window, 1280, 1024);
    EXPECT_TRUE(mode.fullScreen);
    EXPECT_TRUE(samePlace(mode.window, {480, 30, 800, 450}));
    EXPECT_TRUE(samePlace(createdWindow(mode), {0, 0, 800, 450}));

    const WindowPlacement whole{0, 0, 1280, 1024};
    mode = toggledWindowMode(mode, whole);
    EXPECT_FALSE(mode.fullScreen);
    EXPECT_TRUE(samePlace(mode.window, {480, 30, 800, 450}));
    EXPECT_TRUE(samePlace(createdWindow(mode), mode.window));

    const WindowPlacement moved{30, 40, 700, 500};
    mode = toggledWindowMode(mode, moved);
    EXPECT_TRUE(mode.fullScreen);
    EXPECT_TRUE(samePlace(mode.window, moved));
    mode = toggledWindowMode(mode, whole);
    EXPECT_FALSE(mode.fullScreen);
    EXPECT_TRUE(samePlace(mode.window, moved));

    const WindowMode windowed = openingWindowMode(parse({}).window, 1280, 1024);
    EXPECT_FALSE(windowed.fullScreen);
    EXPECT_TRUE(samePlace(createdWindow(windowed), {100, 100, 600, 600}));
}

}  // namespace
