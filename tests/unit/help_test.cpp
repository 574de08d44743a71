// SPDX-License-Identifier: MIT
// The help screen, byte for byte, in both console encodings.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "game/play_step.h"
#include "game/settings.h"
#include "player/help.h"
#include "player/input.h"

namespace {

std::string expectedHelp(const std::string& dash, const std::string& apostrophe)
{
    const std::string rule = "-------------------------------------------\n";
    return "HELP FILE\n"
           "Written and built by the Vendettix team\n" +
           rule + "FINAL PROJECT ::  VENDETTIX - A game of revenge\n" + rule +
           "\n\n\n"
           "Team:\n"
           "\n"
           "Mira Okafor\t\t" + dash + " Toilet Paper Physics\n"
           "Tomas Lind\t\t" + dash + " Landscape and World/Terrain\n"
           "Priya Raman\t\t" + dash + " House, Collision Detection, Texture Mapping\n"
           "Jonah Reyes\t\t" + dash + " GamePlay and Real-time Animation\n"
           "\n"
           "Project Description:\n"
           "\n"
           "Vendettix is a fun real-time first person shooter, only your weapons \n"
           "have been slimmed down to a pack of TP, and some eggs.  The goal of the\n"
           "game is to implement the optimization algorithms and game-play algorithms \n"
           "covered in our real-time graphics course this term.  The game implements the \n"
           "following ideas: collision detection, uniform terrain, real-time animation,\n"
           "and view frustum culling.  For a bonus we have included cloth physics as \n"
           "our model for the TP.  The game is a level based single player game.  On\n"
           "each level, the player" + apostrophe + "s goal is to cover the house with as much TP as \n"
           "they can before time runs out.  The player can also attempt to get bonus\n"
           "points by hitting all of the plants in or around the house.  Grelda will try\n"
           "to catch the players in the act, but if they are smart and hide at the \n"
           "right time, then they won" + apostrophe + "t lose any points.  The goal of the game is \n"
           "to finish with as many points as you can.  \n"
           "\n"
           "Controls:\n"
           "User controls:\n"
           "A  " + dash + " Hide Left\n"
           "D  " + dash + " Hide Right\n"
           "F1 " + dash + " Change Weapons\n"
           "Left Mouse " + dash + " Look\n"
           "Right Mouse " + dash + " Throw Item\n"
           "P or Esc " + dash + " Pause/Resume\n"
           "F11 " + dash + " Full Screen\n"
           "Enter or N " + dash + " Play Again after GAME OVER\n"
           "\n"
           "Secret controls:\n"
           "E " + dash + " Birds Eye View\n"
           "C " + dash + " Advance Turn\n"
           "M " + dash + " Toggle between Wireframe/Filled mode\n"
           "\n";
}

std::string writtenHelp(HelpEncoding encoding)
{
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    writeHelp(out, encoding);
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

TEST(HelpTest, Utf8ConsoleGetsUtf8DashAndApostrophe)
{
    EXPECT_EQ(writtenHelp(HelpEncoding::Utf8), expectedHelp("\xE2\x80\x93", "\xE2\x80\x99"));
}

TEST(HelpTest, OtherConsolesGetTheSingleBytes)
{
    EXPECT_EQ(writtenHelp(HelpEncoding::Windows1252), expectedHelp("\x96", "\x92"));
}

TEST(HelpTest, EncodingFollowsTheCodeset)
{
    EXPECT_EQ(helpEncodingFor("UTF-8"), HelpEncoding::Utf8);
    EXPECT_EQ(helpEncodingFor("utf8"), HelpEncoding::Utf8);
    EXPECT_EQ(helpEncodingFor("ANSI_X3.4-1968"), HelpEncoding::Windows1252);
    EXPECT_EQ(helpEncodingFor("ISO-8859-1"), HelpEncoding::Windows1252);
    EXPECT_EQ(helpEncodingFor(""), HelpEncoding::Windows1252);
    EXPECT_EQ(helpEncodingFor(nullptr), HelpEncoding::Windows1252);
}

TEST(HelpTest, HelpKeyPrintsTheScreenInTheConsoleEncoding)
{
    resetAllGlobals();
    testing::internal::CaptureStdout();
    onKeyboard('h', 0, 0);
    runPlayStep();  // the key takes effect at the next step
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, writtenHelp(consoleHelpEncoding()));
}

// the console's help names the keys a settings file binds, where the window's help does; the
// other lines stay as they are
TEST(HelpTest, HelpKeyPrintsTheKeysTheSettingsBind)
{
    resetAllGlobals();
    std::vector<std::string> problems;
    readSettingsText("[keys]\nhide_left = j\nhide_right = k\nweapon = F2\npause = o\n"
                     "fullscreen = Space\n",
                     "settings.ini", &gSettings, &problems);
    ASSERT_TRUE(problems.empty()) << problems[0];
    testing::internal::CaptureStdout();
    onKeyboard('h', 0, 0);
    runPlayStep();
    const std::string printed = testing::internal::GetCapturedStdout();
    resetAllGlobals();

    const HelpEncoding encoding = consoleHelpEncoding();
    const std::string dash = encoding == HelpEncoding::Utf8 ? "\xE2\x80\x93" : "\x96";
    std::string expected = writtenHelp(encoding);
    const struct {
        std::string was, is;
    } lines[] = {{"A  ", "J  "}, {"D  ", "K  "}, {"F1 ", "F2 "}, {"P or Esc ", "O or Esc "},
                 {"F11 ", "Space "}};
    for (const auto& line : lines) {
        const size_t at = expected.find("\n" + line.was + dash);
        ASSERT_NE(at, std::string::npos) << line.was;
        expected.replace(at + 1, line.was.size(), line.is);
    }
    EXPECT_EQ(printed, expected);
}

}  // namespace
