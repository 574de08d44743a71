// SPDX-License-Identifier: MIT
// The settings file: what each line sets, what each kind of bad line reports, the rewrite that
// keeps the player's lines, and the keys as the bindings receive them.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/play_step.h"
#include "game/settings.h"
#include "platform/user_files.h"

namespace {

struct ReadCase {
    const char* name;
    std::string text;
    std::vector<std::string> problems;  // each "LINE: start of what is wrong"
    std::function<bool(const Settings&)> applied;
};

const Settings kDefaults;

bool sameKeys(const Settings& s, const Settings& t)
{
    for (int a = 0; a < kKeyActionCount; ++a)
        if (s.keys[a].special != t.keys[a].special || s.keys[a].code != t.keys[a].code)
            return false;
    return true;
}

BoundKey keyOf(const Settings& s, KeyAction a)
{
    return s.keys[int(a)];
}

const std::vector<ReadCase> kReadCases = {
    {"empty file: every default", "", {},
     [](const Settings& s) {
         return s.volume == 100 && !s.mute && s.sensitivity == 1.0f && !s.invert &&
                sameKeys(s, kDefaults) && !s.showScore && !s.landingMarker &&
                s.padDeadzone == 0.25f;
     }},
    {"every setting", "; mine\n[sound]\nvolume = 35\nmute = true\n[look]\nsensitivity = 2.5\n"
                      "invert = yes\n[pad]\ndeadzone = 0.4\n[keys]\nhide_left = J\nhide_right = F5\nweapon = Space\n"
                      "pause = F3\nhelp = 7\nfullscreen = Home\n[assists]\n"
                      "show_score = on\nlanding_marker = 1\n",
     {},
     [](const Settings& s) {
         return s.volume == 35 && s.mute && s.sensitivity == 2.5f && s.invert &&
                s.padDeadzone == 0.4f && !keyOf(s, KeyAction::HideLeft).special &&
                keyOf(s, KeyAction::HideLeft).code == 'j' &&
                keyOf(s, KeyAction::HideRight).special &&
                keyOf(s, KeyAction::HideRight).code == 5 &&
                keyOf(s, KeyAction::Weapon).code == ' ' &&
                keyOf(s, KeyAction::Pause).special && keyOf(s, KeyAction::Pause).code == 3 &&
                keyOf(s, KeyAction::Help).code == '7' &&
                keyOf(s, KeyAction::FullScreen).special &&
                keyOf(s, KeyAction::FullScreen).code == kKeyHome && s.showScore &&
                s.landingMarker;
     }},
    {"the ends of each range",
     "[sound]\nvolume=0\n[look]\nsensitivity=0.25\n[keys]\nweapon=f12\n[pad]\ndeadzone=0.9\n",
     {},
     [](const Settings& s) {
         return s.volume == 0 && s.sensitivity == 0.25f && s.padDeadzone == 0.9f &&
                keyOf(s, KeyAction::Weapon).special && keyOf(s, KeyAction::Weapon).code == 12;
     }},
    {"just past each range",
     "[sound]\nvolume = 101\nvolume = -1\n[look]\nsensitivity = 4.01\nsensitivity = 0.2\n"
     "[keys]\nweapon = F13\nweapon = F0\n[pad]\ndeadzone = 0.91\ndeadzone = -0.01\n",
     {"2: bad value \"101\" for volume", "3: bad value \"-1\"", "5: bad value \"4.01\"",
      "6: bad value \"0.2\"", "8: bad value \"F13\" for weapon: expected a key",
      "9: bad value \"F0\"", "11: bad value \"0.91\" for deadzone", "12: bad value \"-0.01\""},
     [](const Settings& s) {
         return s.volume == 100 && s.sensitivity == 1.0f && sameKeys(s, kDefaults) &&
                s.padDeadzone == 0.25f;
     }},
    {"malformed values",
     "[sound]\nmute = maybe\nvolume = 5O\nvolume = 50.5\n[look]\nsensitivity = nan\n"
     "sensitivity = 1e400\ninvert =\n[keys]\nhelp = ab\nhelp = Tab\nhelp = \x7f\nhelp = \xe9\n"
     "[assists]\nlanding_marker = perhaps\nshow_score = 2\n",
     {"2: bad value \"maybe\" for mute", "3: bad value \"5O\"", "4: bad value \"50.5\"",
      "6: bad value \"nan\"", "7: bad value \"1e400\"", "8: bad value \"\" for invert",
      "10: bad value \"ab\"", "11: bad value \"Tab\"", "12: bad value \"\x7f\"",
      "13: bad value \"\xe9\"",
      "15: bad value \"perhaps\" for landing_marker: expected true or false",
      "16: bad value \"2\" for show_score: expected true or false"},
     [](const Settings& s) { return !s.mute && s.volume == 100 && !s.invert; }},
    {"unknown section and key, the rest applies; the section is reported at its head, once",
     "[sound]\nloudness = 3\nvolume = 40\n[colours]\nsky = blue\nsea = green\n[assists]\n"
     "show_score = true\n[ sound ]\nvolume = 41\n[empty]\n",
     {"2: unknown setting \"loudness\" in [sound]", "4: unknown section [colours]",
      "9: unknown section [ sound ]", "11: unknown section [empty]"},
     [](const Settings& s) { return s.volume == 40 && s.showScore; }},
    {"lines that are no setting",
     "[sound\nvolume 40\n  ; indented comment\n# hash comment\n[sound]\nvolume = 40 ; loud\n",
     {"1: a section name without its closing ]", "2: not a setting"},
     [](const Settings& s) { return s.volume == 40; }},
    {"a long comment is a comment, and the count of lines stays",
     "; " + std::string(300, 'x') + "\n  # " + std::string(300, 'y') + "\n[sound]\nvolume = 7\n"
     "bogus = 1\n",
     {"5: unknown setting \"bogus\""}, [](const Settings& s) { return s.volume == 7; }},
    {"a line longer than the parser takes is a bad line, not cut",
     "[sound]\nvolume = 7" + std::string(100000, ' ') + "junk\nmute = true" +
         std::string(187, ' ') + "\nvolume = 8" + std::string(189, ' ') + "\n[look]\n" +
         std::string(300, 'x') + "\n[" + std::string(300, 'y') + "]\n",
     {"2: a line longer than 198 characters", "4: a line longer", "6: a line longer",
      "7: a line longer"},
     [](const Settings& s) { return s.volume == 100 && s.mute; }},
    {"a NUL anywhere in a line is a bad line",
     [] {
         const char text[] = "[sound]\nvolume = 7\0junk\nmute = true\n; a\0comment\n[look\0]\n";
         return std::string(text, sizeof text - 1);
     }(),
     {"2: a NUL byte in the line", "4: a NUL byte", "5: a NUL byte"},
     [](const Settings& s) { return s.volume == 100 && s.mute; }},
    {"a byte-order mark is read past", "\xEF\xBB\xBF[sound]\nvolume = 30\n", {},
     [](const Settings& s) { return s.volume == 30; }},
    {"and before an unknown section", "\xEF\xBB\xBF[colour]\n", {"1: unknown section [colour]"},
     [](const Settings& s) { return s.volume == 100; }},
    {"after 20 bad lines the rest are counted in one",
     [] {
         std::string text = "[sound]\n";
         for (int i = 0; i < 25; ++i)
             text += "volume = loud\n";
         return text + "mute = true\n";
     }(),
     {"2: bad value", "3:", "4:", "5:", "6:", "7:", "8:", "9:", "10:", "11:", "12:", "13:", "14:",
      "15:", "16:", "17:", "18:", "19:", "20:", "21: bad value", "22: and 5 more bad lines"},
     [](const Settings& s) { return s.volume == 100 && s.mute; }},
    {"the board: no section, nothing is ever sent", "[sound]\nvolume = 30\n", {},
     [](const Settings& s) { return s.boardUrl.empty() && s.boardPlayer.empty(); }},
    {"the board's address and a name trimmed, at their longest",
     "[board]\nurl = http://127.0.0.1:65535/scores/\nplayer =   Ann-Marie O'Neil_Jr.  \n"
     "url = http://board.example\nplayer = " + std::string(24, 'z') + "\n",
     {},
     [](const Settings& s) {
         return s.boardUrl == "http://board.example" && s.boardPlayer == std::string(24, 'z');
     }},
    {"a bad address or name is a bad line; the earlier good one stands",
     "[board]\nurl = http://a:1/\nplayer = Bo\nurl = https://a\nurl = http://\n"
     "url = http://a:0\nurl = http://a:65536\nurl = http://a:x/\nurl = http://a b\n"
     "url = http://a/?q=1\nurl = ftp://a\nplayer = " + std::string(25, 'z') + "\n"
     "player = <script>\nplayer = Ann\xc3\xa9\nplayer = a,b\nplayer =\nname = Bo\n",
     {"4: bad value \"https://a\" for url: expected http://HOST[:PORT][/PATH]",
      "5: bad value", "6: bad value", "7: bad value", "8: bad value", "9: bad value",
      "10: bad value", "11: bad value",
      "12: bad value \"" + std::string(25, 'z') + "\" for player: expected a name",
      "13: bad value \"<script>\"", "14: bad value", "15: bad value \"a,b\"",
      "16: bad value \"\" for player", "17: unknown setting \"name\" in [board]"},
     [](const Settings& s) { return s.boardUrl == "http://a:1/" && s.boardPlayer == "Bo"; }},
    {"a key before any section", "volume = 10\n", {"1: unknown section []"},
     [](const Settings& s) { return s.volume == 100; }},
    {"a key bound twice: the later line gives way",
     "[keys]\nhide_left = j\nhelp = J\nweapon = d\n",
     {"3: key j is bound twice: it is hide_left's already",
      "4: key d is bound twice: it is hide_right's already"},
     [](const Settings& s) {
         return keyOf(s, KeyAction::HideLeft).code == 'j' &&
                keyOf(s, KeyAction::Help).code == 'h' &&
                keyOf(s, KeyAction::Weapon).special && keyOf(s, KeyAction::Weapon).code == kKeyF1;
     }},
    {"swapped keys are no clash", "[keys]\nhide_left = d\nhide_right = a\n", {},
     [](const Settings& s) {
         return keyOf(s, KeyAction::HideLeft).code == 'd' &&
                keyOf(s, KeyAction::HideRight).code == 'a';
     }},
    {"a bad line changes nothing: the earlier good line stands",
     "[keys]\nhelp = F2\nhide_left = z\nhelp = z\npause = x\npause = 5O\n[sound]\nvolume = 30\n"
     "volume = 300\n",
     {"4: key z is bound twice: it is hide_left's already", "6: bad value \"5O\"",
      "9: bad value \"300\""},
     [](const Settings& s) {
         return keyOf(s, KeyAction::Help).special && keyOf(s, KeyAction::Help).code == 2 &&
                keyOf(s, KeyAction::HideLeft).code == 'z' &&
                keyOf(s, KeyAction::Pause).code == 'x' && s.volume == 30;
     }},
    {"q, Escape and Enter keep their own actions",
     "[keys]\nfullscreen = q\nhelp = Q\npause = Escape\nweapon = enter\nhide_left = Enter\n",
     {"2: bad value \"q\" for fullscreen: expected a key: one character, F1 to F12, Home or "
      "Space; not q, Escape or Enter",
      "3: bad value \"Q\"", "4: bad value \"Escape\"", "5: bad value \"enter\"",
      "6: bad value \"Enter\""},
     [](const Settings& s) { return sameKeys(s, kDefaults); }},
    {"a key given back can clash again, with an action already looked at",
     "[keys]\nfullscreen = j\nfullscreen = d\nhide_left = j\n",
     {"3: key d is bound twice: it is hide_right's already",
      "4: key j is bound twice: it is fullscreen's already"},
     [](const Settings& s) {
         return keyOf(s, KeyAction::FullScreen).code == 'j' &&
                keyOf(s, KeyAction::HideLeft).code == 'a';
     }},
    {"giving way uncovers a second clash", "[keys]\npause = h\nhelp = a\n",
     {"2: key h is bound twice: it is help's already",
      "3: key a is bound twice: it is hide_left's already"},
     [](const Settings& s) {
         // help (a) gives way to hide_left's default and takes back h, so pause gives way too
         return keyOf(s, KeyAction::Pause).code == 'p' && keyOf(s, KeyAction::Help).code == 'h';
     }},
};

TEST(SettingsReader, EachLineSetsOrIsReportedOnceAndTheRestApplies)
{
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.name);
        Settings s;
        std::vector<std::string> problems;
        readSettingsText(c.text, "dir/settings.ini", &s, &problems);
        ASSERT_EQ(problems.size(), c.problems.size()) << (problems.empty() ? "" : problems[0]);
        for (size_t i = 0; i < problems.size(); ++i)
            EXPECT_EQ(problems[i].rfind("dir/settings.ini:" + c.problems[i], 0), 0u)
                << problems[i] << "\n expected to start with " << c.problems[i];
        EXPECT_TRUE(c.applied(s));
    }
}

struct RewriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

const RewriteCase kRewriteCases[] = {
    {"the value changes in place, comments stay",
     "# my settings\n[sound]\n; quiet at night\nmute = false ; for now\nvolume = 20\n",
     "sound", "mute", "true",
     "# my settings\n[sound]\n; quiet at night\nmute = true ; for now\nvolume = 20\n"},
    {"a key added at the end of its section",
     "[assists]\nshow_score = true\n\n[keys]\nhelp = k\n", "assists", "landing_marker", "true",
     "[assists]\nshow_score = true\nlanding_marker = true\n\n[keys]\nhelp = k\n"},
    {"a section added at the end", "[keys]\nhelp = k", "assists", "show_score", "true",
     "[keys]\nhelp = k\n\n[assists]\nshow_score = true\n"},
    {"a new file", "", "sound", "mute", "true", "[sound]\nmute = true\n"},
    {"the same key in another section is left", "[look]\nmute = 1\n[sound]\nmute=false\n",
     "sound", "mute", "true", "[look]\nmute = 1\n[sound]\nmute= true\n"},
    {"colon delimiters and windows line ends",
     "[sound]\r\nmute : false\r\n", "sound", "mute", "true", "[sound]\r\nmute : true\r\n"},
    {"an empty section takes the key under its head", "[sound]\n[look]\ninvert = true\n",
     "sound", "mute", "true", "[sound]\nmute = true\n[look]\ninvert = true\n"},
    {"a byte-order mark stays first and its section is found",
     "\xEF\xBB\xBF[sound]\nmute = false\n", "sound", "mute", "true",
     "\xEF\xBB\xBF[sound]\nmute = true\n"},
    {"a byte-order mark alone", "\xEF\xBB\xBF", "sound", "mute", "true",
     "\xEF\xBB\xBF[sound]\nmute = true\n"},
};

TEST(SettingsReader, TheRewriteChangesOneSettingAndKeepsEveryOtherLine)
{
    for (const RewriteCase& c : kRewriteCases) {
        SCOPED_TRACE(c.name);
        const std::string after = setSettingInText(c.before, c.section, c.key, c.value);
        EXPECT_EQ(after, c.after);
        // and the reader takes it back as set, with no bad line
        Settings s;
        std::vector<std::string> problems;
        readSettingsText(after, "settings.ini", &s, &problems);
        if (std::string(c.name).find("another section") == std::string::npos) {
            EXPECT_TRUE(problems.empty()) << problems[0];
        }
    }
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    return whole.str();
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetPlayState();
        std::string error;
        ASSERT_TRUE(makeUserFolder(UserFolder::Config, folder, error)) << error;
        path = folder + "/settings.ini";
        std::remove(path.c_str());
    }
    void TearDown() override
    {
        std::remove(path.c_str());
        resetPlayState();
    }
    void write(const std::string& text)
    {
        std::string error;
        ASSERT_TRUE(writeFileAtomically(path, text, error)) << error;
    }
    std::string folder, path;
};

TEST_F(SettingsFile, AMenuChangeRewritesAGoodFileAndNeverOneWithABadLine)
{
    write("# the player's\n[assists]\nshow_score = false ; shown later\n");
    std::vector<std::string> problems;
    loadSettingsFile(&problems);
    EXPECT_TRUE(problems.empty());
    gSettings.showScore = true;
    std::string error;
    ASSERT_TRUE(saveSetting("assists", "show_score", &error)) << error;
    EXPECT_EQ(readAll(path), "# the player's\n[assists]\nshow_score = true ; shown later\n");
    gSettings.showScore = false;
    ASSERT_TRUE(saveSetting("assists", "show_score", &error)) << error;
    EXPECT_EQ(readAll(path), "# the player's\n[assists]\nshow_score = false ; shown later\n");

    // a config folder that cannot be made is a failure, named
    const std::string config = folder.substr(0, folder.rfind('/'));
    setenv("XDG_CONFIG_HOME", path.c_str(), 1);
    EXPECT_FALSE(saveSetting("assists", "show_score", &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);

    // only ; starts a comment after a value: this one is a bad value, and the file stays
    resetPlayState();
    const std::string bad = "# the player's\n[assists]\nshow_score = false # shown later\n";
    write(bad);
    loadSettingsFile(&problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind(path + ":3: bad value", 0), 0u) << problems[0];
    gSettings.showScore = true;
    EXPECT_FALSE(saveSetting("assists", "show_score", &error));
    EXPECT_EQ(readAll(path), bad);

    // no file: the first change makes one
    resetPlayState();
    std::remove(path.c_str());
    problems.clear();
    loadSettingsFile(&problems);
    EXPECT_TRUE(problems.empty());
    gSettings.mute = true;
    ASSERT_TRUE(saveSetting("sound", "mute", &error));
    EXPECT_EQ(readAll(path), "[sound]\nmute = true\n");

    // --no-save and replays
    disableSettingsSave();
    gSettings.mute = false;
    ASSERT_TRUE(saveSetting("sound", "mute", &error));
    EXPECT_EQ(readAll(path), "[sound]\nmute = true\n");
}

// a menu choice on a file with a bad line says once, on standard error, why nothing is saved,
// and each time, for a second (60 steps), on the screen
TEST_F(SettingsFile, AChoiceNotSavedForABadLineIsSaidOnceAndShownForASecond)
{
    const std::string bad = "[sound]\nmute = false\nvolume = loud\n";
    write(bad);
    std::vector<std::string> problems;
    loadSettingsFile(&problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_FALSE(settingsSaveAllowed());
    EXPECT_EQ(settingsNotice(), nullptr);
    gSettings.mute = true;
    std::string error;
    EXPECT_FALSE(saveSetting("sound", "mute", &error));
    EXPECT_EQ(error, "line 3 of " + path + " is bad; no setting is saved until it is mended");
    ASSERT_NE(settingsNotice(), nullptr);
    EXPECT_STREQ(settingsNotice(), "Settings not saved: mend settings.ini");
    gStepCount += 59;
    EXPECT_NE(settingsNotice(), nullptr);
    gStepCount += 1;
    EXPECT_EQ(settingsNotice(), nullptr);
    error.clear();
    EXPECT_TRUE(saveSetting("sound", "mute", &error)) << "said once";
    EXPECT_EQ(error, "");
    EXPECT_NE(settingsNotice(), nullptr) << "shown each time";
    EXPECT_EQ(readAll(path), bad);

    // a replay or --no-save says nothing, even over a bad file
    resetPlayState();
    loadSettingsFile(&problems);
    disableSettingsSave();
    EXPECT_TRUE(saveSetting("sound", "mute", &error));
    EXPECT_EQ(settingsNotice(), nullptr);
}

// what cannot be read whole is one line, the game plays with the defaults, and nothing is saved
// over it; a link to a settings file is read, and written through, and stays a link
TEST_F(SettingsFile, OnlyARegularFileIsReadAndALinkIsWrittenThrough)
{
    std::string error;
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        std::string problem;  // after "PATH:0: "
    } cases[] = {
        {"a FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
         "is a FIFO, not a settings file"},
        {"a link to a device",
         [](const std::string& p) { ASSERT_EQ(symlink("/dev/zero", p.c_str()), 0); },
         "is a device, not a settings file"},
        {"a folder", [](const std::string& p) { ASSERT_EQ(mkdir(p.c_str(), 0700), 0); },
         "is a directory, not a settings file"},
        {"over 1 MB",
         [this](const std::string&) {
             write("[sound]\nvolume = 7\n" + std::string(1 << 20, '\n'));
         },
         "is larger than 1048576 bytes, too large for a settings file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetPlayState();
        std::system(("rm -rf '" + path + "'").c_str());
        c.make(path);
        std::vector<std::string> problems;
        loadSettingsFile(&problems);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0], path + ":0: " + c.problem);
        EXPECT_EQ(gSettings.volume, 100);
        EXPECT_FALSE(saveSetting("sound", "mute", &error));
        EXPECT_EQ(error, path + " cannot be read; no setting is saved until it is mended");
    }
    std::system(("rm -rf '" + path + "'").c_str());

    resetPlayState();
    const std::string kept = folder + "/kept.ini";
    std::remove(kept.c_str());
    ASSERT_EQ(symlink("kept.ini", path.c_str()), 0);
    std::vector<std::string> problems;
    loadSettingsFile(&problems);
    EXPECT_TRUE(problems.empty());
    gSettings.mute = true;
    ASSERT_TRUE(saveSetting("sound", "mute", &error)) << error;
    EXPECT_EQ(readAll(kept), "[sound]\nmute = true\n") << "the link names the file it will be";
    gSettings.volume = 20;
    ASSERT_TRUE(saveSetting("sound", "volume", &error)) << error;
    struct stat info {};
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "still a link";
    EXPECT_EQ(readAll(kept), "[sound]\nmute = true\nvolume = 20\n");
    resetPlayState();
    loadSettingsFile(&problems);
    EXPECT_TRUE(gSettings.mute);
    EXPECT_EQ(gSettings.volume, 20);
    std::remove(kept.c_str());
}

struct KeyCase {
    const char* name;
    const char* keys;  // the [keys] section
    InputEvent in;
    bool passes;
    InputEvent out;
};

InputEvent keyDown(int32_t c) { return InputEvent{InputKind::KeyDown, c, 0, 7, 9}; }
InputEvent keyUp(int32_t c) { return InputEvent{InputKind::KeyUp, c, 0, 7, 9}; }
InputEvent special(int32_t c) { return InputEvent{InputKind::SpecialKey, c, 0, 7, 9}; }
InputEvent specialUp(int32_t c) { return InputEvent{InputKind::SpecialKeyUp, c, 0, 7, 9}; }

const KeyCase kKeyCases[] = {
    {"defaults: a key passes as it came", "", keyDown('A'), true, keyDown('A')},
    {"defaults: an unbound special key's release is dropped", "", specialUp(kKeyF1), false, {}},
    {"the bound key becomes the default", "hide_left = j", keyDown('j'), true, keyDown('a')},
    {"upper case too", "hide_left = j", keyDown('J'), true, keyDown('a')},
    {"and its release", "hide_left = j", keyUp('j'), true, keyUp('a')},
    {"the default key moved does nothing", "hide_left = j", keyDown('a'), false, {}},
    {"nor its upper case", "hide_left = j", keyUp('A'), false, {}},
    {"other keys pass", "hide_left = j", keyDown('e'), true, keyDown('e')},
    {"a special key held to hide", "hide_right = F5", special(5), true, keyDown('d')},
    {"is let go by its release", "hide_right = F5", specialUp(5), true, keyUp('d')},
    {"a character for a special action", "weapon = w", keyDown('w'), true, special(kKeyF1)},
    {"whose release is nothing", "weapon = w", keyUp('w'), false, {}},
    {"F1 moved does nothing", "weapon = w", special(kKeyF1), false, {}},
    {"swapped keys", "hide_left = d\nhide_right = a", keyDown('d'), true, keyDown('a')},
    {"Escape pauses still when pause moves", "pause = k", keyDown(kKeyEscape), true,
     keyDown(kKeyEscape)},
    {"a mouse button passes", "hide_left = j", InputEvent{InputKind::Button, 0, 0, 4, 5}, true,
     InputEvent{InputKind::Button, 0, 0, 4, 5}},
};

TEST(SettingsKeys, ABoundKeyReachesTheBindingsAsItsActionsDefaultKey)
{
    for (const KeyCase& c : kKeyCases) {
        SCOPED_TRACE(c.name);
        resetPlayState();
        std::vector<std::string> problems;
        readSettingsText(std::string("[keys]\n") + c.keys + "\n", "settings.ini", &gSettings,
                         &problems);
        ASSERT_TRUE(problems.empty()) << problems[0];
        InputEvent e = c.in;
        ASSERT_EQ(translateBoundKey(&e), c.passes);
        if (!c.passes)
            continue;
        EXPECT_EQ(int(e.kind), int(c.out.kind));
        EXPECT_EQ(e.code, c.out.code);
        EXPECT_EQ(e.x, c.out.x);
        EXPECT_EQ(e.y, c.out.y);
    }
    resetPlayState();
}

TEST(SettingsKeys, NamesReadBackAsTheSameKey)
{
    for (const char* name : {"z", "7", "F2", "F10", "F12", "Home", "Space"}) {
        Settings s;
        std::vector<std::string> problems;
        readSettingsText(std::string("[keys]\nhelp = ") + name + "\n", "settings.ini", &s,
                         &problems);
        EXPECT_EQ(keyName(s.keys[int(KeyAction::Help)]), name);
    }
}

}  // namespace
