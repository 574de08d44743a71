// SPDX-License-Identifier: MIT
// app: the command line, one table row an option.
#include "app/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/data_directory.h"
#include "game/input_log.h"

#ifndef VX_VERSION
#define VX_VERSION "0.0.0"
#endif

namespace {

bool parseNumber(const char*& text, long lo, long hi, long* out)
{
    if (*text < '0' || *text > '9')
        return false;
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (errno != 0 || value < lo || value > hi)
        return false;
    text = end;
    *out = value;
    return true;
}

// WxH, and with withPosition also WxH+X+Y
bool parseGeometry(const char* text, bool withPosition, WindowOptions* window)
{
    long width = 0, height = 0, x = window->x, y = window->y;
    if (!parseNumber(text, kSmallestWindowWidth, kLargestWindowSide, &width) || *text++ != 'x' ||
        !parseNumber(text, kSmallestWindowHeight, kLargestWindowSide, &height))
        return false;
    if (withPosition && *text == '+') {
        ++text;
        if (!parseNumber(text, 0, kLargestWindowSide, &x) || *text++ != '+' ||
            !parseNumber(text, 0, kLargestWindowSide, &y))
            return false;
    }
    if (*text != '\0')
        return false;
    window->width = int(width);
    window->height = int(height);
    window->x = int(x);
    window->y = int(y);
    return true;
}

struct OptionRow {
    const char* name;
    const char* argument;  // the value's name in the usage; nullptr when the option takes none
    const char* help;      // nullptr: accepted but not listed
    // false when the value is malformed
    bool (*apply)(CommandLine& line, const char* option, const char* value);
};

bool passToGlut(CommandLine& line, const char* option, const char* value)
{
    line.glutArgs.push_back(option);
    if (value)
        line.glutArgs.push_back(value);
    return true;
}

bool applySize(CommandLine& line, const char*, const char* value)
{
    line.windowSet = true;
    return parseGeometry(value, false, &line.window);
}

bool applyGeometry(CommandLine& line, const char*, const char* value)
{
    line.windowSet = true;
    return parseGeometry(value, true, &line.window);
}

bool showHelp(CommandLine& line, const char*, const char*)
{
    line.action = LaunchAction::ShowHelp;
    return true;
}

// -geometry is read here rather than by glutInit, which would have it overridden by the
// game's own window size
const OptionRow kOptions[] = {
    {"--help", nullptr, "print this help and exit (also -h)", showHelp},
    {"-h", nullptr, nullptr, showHelp},
    {"--version", nullptr, "print the name and version and exit",
     [](CommandLine& line, const char*, const char*) {
         line.action = LaunchAction::ShowVersion;
         return true;
     }},
    {"--fullscreen", nullptr, "play on the whole screen",
     [](CommandLine& line, const char*, const char*) {
         // the window's size and place stay: F11 returns to them
         line.window.fullscreen = true;
         line.windowSet = true;
         return true;
     }},
    {"--size", "WxH", "the window's size in pixels (600x600, at least 160x120)", applySize},
    {"-geometry", "WxH[+X+Y]", "the window's size and place (X's own form)", applyGeometry},
    {"--record", "FILE", "play, and write every input with its step to FILE",
     [](CommandLine& line, const char*, const char* value) {
         line.recordPath = value;
         return *value != '\0';
     }},
    {"--replay", "FILE", "play back the input recorded in FILE, then exit",
     [](CommandLine& line, const char*, const char* value) {
         line.replayPath = value;
         return *value != '\0';
     }},
    {"--scores", nullptr, "print the ten best games kept and exit",
     [](CommandLine& line, const char*, const char*) {
         line.action = LaunchAction::ShowScores;
         return true;
     }},
    {"--replay-score", "N", "play back the kept game of rank N (1 the best), then exit",
     [](CommandLine& line, const char*, const char* value) {
         long rank = 0;
         if (!parseNumber(value, 1, 1000000000, &rank) || *value != '\0')
             return false;
         line.replayRank = int(rank);
         return true;
     }},
    {"--stop-at", "STEP", "with a replay: stop after STEP steps and keep showing that picture",
     [](CommandLine& line, const char*, const char* value) {
         long step = 0;
         if (!parseNumber(value, 0, long(kLargestLogStep), &step) || *value != '\0')
             return false;
         line.stopAtStep = step;
         return true;
     }},
    {"--submit", "N", "send the kept game of rank N to the board, print its verdict and exit",
     [](CommandLine& line, const char*, const char* value) {
         long rank = 0;
         if (!parseNumber(value, 1, 1000000000, &rank) || *value != '\0')
             return false;
         line.action = LaunchAction::Submit;
         line.submitRank = int(rank);
         return true;
     }},
    {"--headless", nullptr, "with --replay or --replay-score: no window, as fast as it goes",
     [](CommandLine& line, const char*, const char*) {
         line.headless = true;
         return true;
     }},
    {"--no-save", nullptr, "neither read nor write the player's files (settings, scores, window)",
     [](CommandLine& line, const char*, const char*) {
         line.noSave = true;
         return true;
     }},
    {"--timedemo", "FILE", "play FILE back as fast as the machine goes, then print frame times",
     [](CommandLine& line, const char*, const char* value) {
         line.timedemoPath = value;
         return *value != '\0';
     }},
    {"--timedemo-floor", nullptr, "time bare frames (clear, one textured quad, swap) instead",
     [](CommandLine& line, const char*, const char*) {
         line.timedemoFloor = true;
         return true;
     }},
    {"-display", "DISPLAY", "the X display to open", passToGlut},
    {"-iconic", nullptr, nullptr, passToGlut},
    {"-direct", nullptr, nullptr, passToGlut},
    {"-indirect", nullptr, nullptr, passToGlut},
    {"-sync", nullptr, nullptr, passToGlut},
    {"-gldebug", nullptr, nullptr, passToGlut},
};

const OptionRow* findOption(const std::string& name)
{
    for (const OptionRow& row : kOptions)
        if (name == row.name)
            return &row;
    return nullptr;
}

// a dash and a letter or a second dash; "-" alone and "-5" are values
bool looksLikeOption(const char* word)
{
    return word[0] == '-' && (word[1] == '-' || (word[1] >= 'a' && word[1] <= 'z') ||
                              (word[1] >= 'A' && word[1] <= 'Z'));
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv)
{
    CommandLine line;
    line.glutArgs.push_back(argc > 0 && argv[0] ? argv[0] : "vendettix");
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string name = arg;
        const char* value = nullptr;
        size_t equals = arg.find('=');
        bool inlineValue = arg.rfind("--", 0) == 0 && equals != std::string::npos;
        if (inlineValue)
            name = arg.substr(0, equals);
        const OptionRow* row = findOption(name);
        if (!row) {
            line.action = LaunchAction::BadUsage;
            line.error = "unknown option: " + arg;
            return line;
        }
        if (row->argument) {
            if (inlineValue)
                value = argv[i] + equals + 1;
            else if (i + 1 < argc && looksLikeOption(argv[i + 1])) {
                // `--record --fullscreen` is a forgotten value, not a file to write
                line.action = LaunchAction::BadUsage;
                line.error = name + " needs a value: " + row->argument + ", not the option " +
                             argv[i + 1] + " (write ./" + argv[i + 1] + " for a file)";
                return line;
            } else if (i + 1 < argc)
                value = argv[++i];
            else {
                line.action = LaunchAction::BadUsage;
                line.error = name + " needs a value: " + row->argument;
                return line;
            }
        } else if (inlineValue) {
            line.action = LaunchAction::BadUsage;
            line.error = name + " takes no value";
            return line;
        }
        if (!row->apply(line, row->name, value)) {
            line.action = LaunchAction::BadUsage;
            line.error = "bad value for " + name + ": " + value + " (expected " + row->argument;
            if (row->apply == applySize || row->apply == applyGeometry)
                line.error += ", at least " + std::to_string(kSmallestWindowWidth) + "x" +
                              std::to_string(kSmallestWindowHeight);
            line.error += ")";
            return line;
        }
    }
    if (line.action == LaunchAction::ShowScores && line.noSave) {
        line.action = LaunchAction::BadUsage;
        line.error = "--scores reads the score table, which --no-save leaves alone";
    }
    if (line.action == LaunchAction::Submit && line.noSave) {
        line.action = LaunchAction::BadUsage;
        line.error = "--submit reads the settings and the score table, which --no-save leaves alone";
    }
    if (line.action == LaunchAction::Play) {
        const bool replaying = !line.replayPath.empty() || line.replayRank > 0;
        if (line.headless && !replaying) {
            line.action = LaunchAction::BadUsage;
            line.error = "--headless needs --replay FILE or --replay-score N";
        } else if (line.stopAtStep >= 0 && !replaying) {
            line.action = LaunchAction::BadUsage;
            line.error = "--stop-at needs --replay FILE or --replay-score N";
        } else if (!line.recordPath.empty() && replaying) {
            line.action = LaunchAction::BadUsage;
            line.error = "--record and --replay cannot be used together";
        } else if (!line.replayPath.empty() && line.replayRank > 0) {
            line.action = LaunchAction::BadUsage;
            line.error = "--replay and --replay-score cannot be used together";
        } else if (line.noSave && line.replayRank > 0) {
            line.action = LaunchAction::BadUsage;
            line.error = "--replay-score reads the score table, which --no-save leaves alone";
        } else if ((line.timedemoFloor || !line.timedemoPath.empty()) &&
                   (line.headless || !line.recordPath.empty() || !line.replayPath.empty() ||
                     line.replayRank > 0 ||
                    (line.timedemoFloor && !line.timedemoPath.empty()))) {
            line.action = LaunchAction::BadUsage;
            line.error = "--timedemo and --timedemo-floor go with none of --record, --replay, "
                         "--headless or each other";
        }
    }
    return line;
}

void writeUsage(std::FILE* out)
{
    std::fputs("Usage: vendettix [OPTION]...\n"
               "Throw toilet-paper rolls and eggs at Grelda's house, at night.\n\nOptions:\n",
               out);
    for (const OptionRow& row : kOptions) {
        if (!row.help)
            continue;
        std::string left =
            std::string(row.name) + (row.argument ? std::string(" ") + row.argument : "");
        std::fprintf(out, "  %-22s %s\n", left.c_str(), row.help);
    }
    std::fputs("  (also -iconic, -direct, -indirect, -sync and -gldebug, passed on to GLUT)\n"
               "\nControls:\n"
               "  A (hold)                hide left; release to walk back\n"
               "  D (hold)                hide right\n"
               "  F1                      change weapons: rolls or eggs\n"
               "  left mouse button, drag look around\n"
               "  right mouse button      hold to swing the power bar, release to throw\n"
               "  P or Escape             pause and resume\n"
               "  F11                     full screen and back\n"
               "  Enter or N              after GAME OVER: play again\n"
               "  H                       help: printed to the console, and shown in the window\n"
               "                          paused until H, P or Escape\n"
               "  Q                       quit (recording or replaying: prints the summary line;\n"
               "                          Q, Escape or the menu's Exit end a replay)\n"
               "  middle mouse button     menu: pause, full screen, sound, the assists, help,\n"
               "                          play again after GAME OVER, and \"Exit\"\n"
               "\nGame pad (the first one found; pulling it out pauses):\n"
               "  left stick, d-pad       look around\n"
               "  right trigger or A      hold to swing the power bar, release to throw\n"
               "  shoulders (hold)        hide left, hide right\n"
               "  Y                       change weapons\n"
               "  Start                   pause and resume\n"
               "  Back                    help, as H\n"
               "  A                       after GAME OVER: play again\n"
               "\nThe keys, the Look, the pad, the sound and the assists can be set in\n"
               "$XDG_CONFIG_HOME/vendettix/settings.ini (~/.config/vendettix/settings.ini),\n"
               "and so can [board] url and player: the shared board each kept game is sent to.\n"
               "\nThe models, textures and sound are looked for in these places, in order:\n",
               out);
    for (const DataPlace& place : dataDirectoryPlaces())
        std::fprintf(out, "  %s (%s)\n", place.path.c_str(), place.why);
}

int answerCommandLine(const CommandLine& commandLine)
{
    switch (commandLine.action) {
    case LaunchAction::ShowHelp:
        writeUsage(stdout);
        return 0;
    case LaunchAction::ShowVersion:
        std::printf("Vendettix %s\n", VX_VERSION);
        return 0;
    case LaunchAction::BadUsage:
        std::fprintf(stderr, "vendettix: %s\n\n", commandLine.error.c_str());
        writeUsage(stderr);
        return 2;
    case LaunchAction::ShowScores:
    case LaunchAction::Submit:
    case LaunchAction::Play:
        break;
    }
    return -1;
}
