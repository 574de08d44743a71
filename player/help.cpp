// SPDX-License-Identifier: MIT
// player: the help screen printed on the help key: the story, the team and the controls.
#include "player/help.h"

#include <langinfo.h>
#include <strings.h>

#include <clocale>


namespace {

struct HelpGlyphs {
    const char* dash;        // en dash
    const char* apostrophe;  // right single quotation mark
};

HelpGlyphs glyphsFor(HelpEncoding encoding)
{
    if (encoding == HelpEncoding::Utf8)
        return {"\xE2\x80\x93", "\xE2\x80\x99"};
    return {"\x96", "\x92"};
}

const char* const kRule = "-------------------------------------------\n";

void writeTitle(std::FILE* out)
{
    std::fputs("HELP FILE\n", out);
    std::fputs("Written and built by the Vendettix team\n", out);
    std::fputs(kRule, out);
    std::fputs("FINAL PROJECT ::  VENDETTIX - A game of revenge\n", out);
    std::fputs(kRule, out);
    std::fputs("\n", out);
    std::fputs("\n", out);
    std::fputs("\n", out);
}

void writeTeam(std::FILE* out, const HelpGlyphs& g)
{
    std::fputs("Team:\n", out);
    std::fputs("\n", out);
    std::fprintf(out, "Mira Okafor\t\t%s Toilet Paper Physics\n", g.dash);
    std::fprintf(out, "Tomas Lind\t\t%s Landscape and World/Terrain\n", g.dash);
    std::fprintf(out, "Priya Raman\t\t%s House, Collision Detection, Texture Mapping\n", g.dash);
    std::fprintf(out, "Jonah Reyes\t\t%s GamePlay and Real-time Animation\n", g.dash);
}

// trailing blanks inside these lines are part of the text
void writeDescription(std::FILE* out, const HelpGlyphs& g)
{
    std::fputs("\n", out);
    std::fputs("Project Description:\n", out);
    std::fputs("\n", out);
    std::fputs("Vendettix is a fun real-time first person shooter, only your weapons \n", out);
    std::fputs("have been slimmed down to a pack of TP, and some eggs.  The goal of the\n", out);
    std::fputs("game is to implement the optimization algorithms and game-play algorithms \n", out);
    std::fputs("covered in our real-time graphics course this term.  The game implements the \n", out);
    std::fputs("following ideas: collision detection, uniform terrain, real-time animation,\n", out);
    std::fputs("and view frustum culling.  For a bonus we have included cloth physics as \n", out);
    std::fputs("our model for the TP.  The game is a level based single player game.  On\n", out);
    std::fprintf(out, "each level, the player%ss goal is to cover the house with as much TP as \n",
                 g.apostrophe);
    std::fputs("they can before time runs out.  The player can also attempt to get bonus\n", out);
    std::fputs("points by hitting all of the plants in or around the house.  Grelda will try\n", out);
    std::fputs("to catch the players in the act, but if they are smart and hide at the \n", out);
    std::fprintf(out, "right time, then they won%st lose any points.  The goal of the game is \n",
                 g.apostrophe);
    std::fputs("to finish with as many points as you can.  \n", out);
}

// a key's name takes two columns at least, so the dashes of "A" and "F1" line up
void writeControls(std::FILE* out, const HelpGlyphs& g, const HelpKeys& keys)
{
    std::fputs("\n", out);
    std::fputs("Controls:\n", out);
    std::fputs("User controls:\n", out);
    std::fprintf(out, "%-2s %s Hide Left\n", keys.hideLeft.c_str(), g.dash);
    std::fprintf(out, "%-2s %s Hide Right\n", keys.hideRight.c_str(), g.dash);
    std::fprintf(out, "%-2s %s Change Weapons\n", keys.weapon.c_str(), g.dash);
    std::fprintf(out, "Left Mouse %s Look\n", g.dash);
    std::fprintf(out, "Right Mouse %s Throw Item\n", g.dash);
    std::fprintf(out, "%s %s Pause/Resume\n", keys.pause.c_str(), g.dash);
    std::fprintf(out, "%s %s Full Screen\n", keys.fullScreen.c_str(), g.dash);
    std::fprintf(out, "Enter or N %s Play Again after GAME OVER\n", g.dash);
    std::fputs("\n", out);
    std::fputs("Secret controls:\n", out);
    std::fprintf(out, "E %s Birds Eye View\n", g.dash);
    std::fprintf(out, "C %s Advance Turn\n", g.dash);
    std::fprintf(out, "M %s Toggle between Wireframe/Filled mode\n", g.dash);
    std::fputs("\n", out);
}

}  // namespace

HelpEncoding helpEncodingFor(const char* codeset)
{
    if (codeset && (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0))
        return HelpEncoding::Utf8;
    return HelpEncoding::Windows1252;
}

HelpEncoding consoleHelpEncoding()
{
    // the character type follows the environment; numbers keep the C locale's format
    static const HelpEncoding encoding = [] {
        std::setlocale(LC_CTYPE, "");
        return helpEncodingFor(nl_langinfo(CODESET));
    }();
    return encoding;
}

void writeHelp(std::FILE* out, HelpEncoding encoding, const HelpKeys& keys)
{
    const HelpGlyphs glyphs = glyphsFor(encoding);
    writeTitle(out);
    writeTeam(out, glyphs);
    writeDescription(out, glyphs);
    writeControls(out, glyphs, keys);
}

void printHelp(const HelpKeys& keys)
{
    writeHelp(stdout, consoleHelpEncoding(), keys);
    std::fflush(stdout);
}
