// SPDX-License-Identifier: MIT
// game: the settings file: its table of settings, the reader (inih does the INI syntax), the
// line-keeping rewrite, and the keys as bound.
#include "game/settings.h"

// a build that reads no settings file (the replayer alone) goes without the INI reader
#ifndef VX_NO_SETTINGS_FILE
#include <ini.h>
#endif
#include <strings.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/user_files.h"

Settings gSettings;

namespace {

bool sSaveAllowed = true;
const char* const kSettingsFileName = "settings.ini";

// ---- values ----

std::string lowered(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool parseSwitch(const std::string& value, bool* out)
{
    const std::string v = lowered(value);
    if (v == "true" || v == "yes" || v == "on" || v == "1")
        *out = true;
    else if (v == "false" || v == "no" || v == "off" || v == "0")
        *out = false;
    else
        return false;
    return true;
}

bool parseWhole(const std::string& value, long lo, long hi, long* out)
{
    if (value.empty() || !std::isdigit(static_cast<unsigned char>(value[0])))
        return false;
    errno = 0;
    char* end = nullptr;
    long n = std::strtol(value.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || n < lo || n > hi)
        return false;
    *out = n;
    return true;
}

bool parseDecimal(const std::string& value, double lo, double hi, double* out)
{
    if (value.empty() || !(std::isdigit(static_cast<unsigned char>(value[0])) || value[0] == '.'))
        return false;
    errno = 0;
    char* end = nullptr;
    double x = std::strtod(value.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(x) || x < lo || x > hi)
        return false;
    *out = x;
    return true;
}

struct NamedKey {
    const char* name;
    BoundKey key;
};

const NamedKey kNamedKeys[] = {
    {"Escape", {false, kKeyEscape}}, {"Enter", {false, kKeyEnter}}, {"Space", {false, ' '}},
    {"Home", {true, kKeyHome}},
};

bool parseKey(const std::string& value, BoundKey* out)
{
    if (value.size() == 1) {
        unsigned char c = static_cast<unsigned char>(value[0]);
        if (c <= ' ' || c > '~')
            return false;
        *out = BoundKey{false, int32_t(std::tolower(c))};
        return true;
    }
    for (const NamedKey& named : kNamedKeys)
        if (strcasecmp(value.c_str(), named.name) == 0) {
            *out = named.key;
            return true;
        }
    long f = 0;
    if ((value[0] == 'F' || value[0] == 'f') && parseWhole(value.substr(1), 1, 12, &f)) {
        *out = BoundKey{true, int32_t(f)};  // the toolkit numbers F1 to F12 from 1
        return true;
    }
    return false;
}

bool sameKey(BoundKey a, BoundKey b)
{
    return a.special == b.special && a.code == b.code;
}

// ---- the table: one row a setting ----

struct SettingRow {
    const char* section;
    const char* key;
    const char* expected;  // what a good value looks like, for the report
    bool (*apply)(const std::string& value, Settings& s);
    std::string (*format)(const Settings& s);  // the value as apply reads it back
};

const char* switchText(bool on)
{
    return on ? "true" : "false";
}

template <KeyAction action>
bool applyKey(const std::string& value, Settings& s)
{
    return parseKey(value, &s.keys[int(action)]);
}

template <KeyAction action>
std::string formatKey(const Settings& s)
{
    return keyName(s.keys[int(action)]);
}

#define VX_KEY_ROW(name, action)                                                           \
    {"keys", name, "a key: one character, F1 to F12, Escape, Home, Enter or Space",       \
     applyKey<action>, formatKey<action>}

const SettingRow kSettingRows[] = {
    {"sound", "volume", "a whole number from 0 to 100",
     [](const std::string& v, Settings& s) {
         long n = 0;
         if (!parseWhole(v, 0, 100, &n))
             return false;
         s.volume = int32_t(n);
         return true;
     },
     [](const Settings& s) { return std::to_string(s.volume); }},
    {"sound", "mute", "true or false",
     [](const std::string& v, Settings& s) { return parseSwitch(v, &s.mute); },
     [](const Settings& s) { return std::string(switchText(s.mute)); }},
    {"look", "sensitivity", "a number from 0.25 to 4",
     [](const std::string& v, Settings& s) {
         double x = 0;
         if (!parseDecimal(v, 0.25, 4.0, &x))
             return false;
         s.sensitivity = float(x);
         return true;
     },
     [](const Settings& s) {
         char text[32];
         std::snprintf(text, sizeof text, "%g", double(s.sensitivity));
         return std::string(text);
     }},
    {"look", "invert", "true or false",
     [](const std::string& v, Settings& s) { return parseSwitch(v, &s.invert); },
     [](const Settings& s) { return std::string(switchText(s.invert)); }},
    {"pad", "deadzone", "a number from 0 to 0.9",
     [](const std::string& v, Settings& s) {
         double x = 0;
         if (!parseDecimal(v, 0.0, 0.9, &x))
             return false;
         s.padDeadzone = float(x);
         return true;
     },
     [](const Settings& s) {
         char text[32];
         std::snprintf(text, sizeof text, "%g", double(s.padDeadzone));
         return std::string(text);
     }},
    VX_KEY_ROW("hide_left", KeyAction::HideLeft),
    VX_KEY_ROW("hide_right", KeyAction::HideRight),
    VX_KEY_ROW("weapon", KeyAction::Weapon),
    VX_KEY_ROW("pause", KeyAction::Pause),
    VX_KEY_ROW("help", KeyAction::Help),
    VX_KEY_ROW("fullscreen", KeyAction::FullScreen),
    {"assists", "show_score", "true or false",
     [](const std::string& v, Settings& s) { return parseSwitch(v, &s.showScore); },
     [](const Settings& s) { return std::string(switchText(s.showScore)); }},
    {"assists", "landing_marker", "true or false",
     [](const std::string& v, Settings& s) { return parseSwitch(v, &s.landingMarker); },
     [](const Settings& s) { return std::string(switchText(s.landingMarker)); }},
};

#undef VX_KEY_ROW

const SettingRow* findRow(const char* section, const char* key)
{
    for (const SettingRow& row : kSettingRows)
        if (std::strcmp(row.section, section) == 0 && std::strcmp(row.key, key) == 0)
            return &row;
    return nullptr;
}

// ---- reading ----

struct ReadState {
    const std::string* text;
    size_t at = 0;
    int line = 0;  // the line inih is working on
    Settings* settings;
    std::map<int, std::string> problems;  // by line
    std::set<int> handledLines;
    int keyLine[kKeyActionCount] = {};    // the line that bound each action; 0: its default
};

// hands inih one whole line at a time, so the line count is the number of the line being
// parsed; a line longer than inih takes is cut, not split
char* readLine(char* buffer, int size, void* stream)
{
    ReadState& state = *static_cast<ReadState*>(stream);
    const std::string& text = *state.text;
    if (state.at >= text.size() || size < 2)
        return nullptr;
    size_t end = text.find('\n', state.at);
    size_t next = end == std::string::npos ? text.size() : end + 1;
    size_t length = std::min(next - state.at, size_t(size - 1));
    std::memcpy(buffer, text.data() + state.at, length);
    buffer[length] = '\0';
    state.at = next;
    ++state.line;
    return buffer;
}

bool knownSection(const char* section)
{
    for (const SettingRow& row : kSettingRows)
        if (std::strcmp(row.section, section) == 0)
            return true;
    return false;
}

int onSetting(void* user, const char* section, const char* name, const char* value)
{
    ReadState& state = *static_cast<ReadState*>(user);
    state.handledLines.insert(state.line);
    auto report = [&](const std::string& what) { state.problems.emplace(state.line, what); };
    if (!knownSection(section)) {
        report(std::string("unknown section [") + section + "]");
        return 1;
    }
    const SettingRow* row = findRow(section, name);
    if (row) {
        Settings tried = *state.settings;
        if (!row->apply(value, tried)) {
            report(std::string("bad value \"") + value + "\" for " + name + ": expected " +
                   row->expected);
            return 1;
        }
        *state.settings = tried;
        if (std::strcmp(section, "keys") == 0)
            for (int a = 0; a < kKeyActionCount; ++a)
                if (std::strcmp(name, keyActionName(KeyAction(a))) == 0)
                    state.keyLine[a] = state.line;
        return 1;
    }
    report(std::string("unknown setting \"") + name + "\" in [" + section + "]");
    return 1;
}

// the lines inih passed over without a setting: blanks, comments and section heads are fine,
// anything else is a line it could not read
void reportUnreadLines(ReadState& state)
{
    std::istringstream in(*state.text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (state.handledLines.count(number))
            continue;
        size_t first = line.find_first_not_of(" \t\r\f\v");
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            first = line.find_first_not_of(" \t\r\f\v", 3);
        if (first == std::string::npos || line[first] == ';' || line[first] == '#')
            continue;
        if (line[first] == '[' && line.find(']', first) != std::string::npos)
            continue;
        state.problems.emplace(number, line[first] == '['
                                           ? "a section name without its closing ]"
                                           : "not a setting: expected name = value");
    }
}

// a key bound to two actions: the later line gives way (its action keeps its default), until
// no key is bound twice; a default never gives way to a default, as they all differ
void settleKeyClashes(ReadState& state)
{
    const Settings defaults;
    for (bool clash = true; clash;) {
        clash = false;
        for (int a = 0; a < kKeyActionCount && !clash; ++a)
            for (int b = a + 1; b < kKeyActionCount && !clash; ++b) {
                if (!sameKey(state.settings->keys[a], state.settings->keys[b]))
                    continue;
                int loser = state.keyLine[a] > state.keyLine[b] ? a : b;
                int keeper = loser == a ? b : a;
                state.problems[state.keyLine[loser]] =
                    "key " + keyName(state.settings->keys[loser]) + " is bound twice: it is " +
                    keyActionName(KeyAction(keeper)) + "'s already";
                state.settings->keys[loser] = defaults.keys[loser];
                state.keyLine[loser] = 0;
                clash = true;
            }
    }
}

// ---- writing ----

std::string trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r\f\v");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t\r\f\v");
    return text.substr(first, last - first + 1);
}

// the section a line opens, or false
bool sectionOf(const std::string& line, std::string* name)
{
    std::string t = trimmed(line);
    if (t.empty() || t[0] != '[')
        return false;
    size_t close = t.find(']');
    if (close == std::string::npos)
        return false;
    *name = trimmed(t.substr(1, close - 1));
    return true;
}

// the line with its value replaced; an inline comment after the value stays
std::string withValue(const std::string& line, size_t delimiter, const std::string& value)
{
    std::string rest = line.substr(delimiter + 1);
    std::string comment;
    for (size_t i = 1; i < rest.size(); ++i)
        if (rest[i] == ';' && std::isspace(static_cast<unsigned char>(rest[i - 1]))) {
            comment = " " + rest.substr(i);
            break;
        }
    return line.substr(0, delimiter + 1) + " " + value + comment;
}

std::string settingsFilePath()
{
    std::string folder = userFolderPath(UserFolder::Config);
    return folder.empty() ? "" : folder + "/" + kSettingsFileName;
}

}  // namespace

std::string keyName(BoundKey key)
{
    for (const NamedKey& named : kNamedKeys)
        if (sameKey(named.key, key))
            return named.name;
    if (key.special && key.code >= 1 && key.code <= 12)
        return "F" + std::to_string(key.code);
    if (!key.special && key.code > ' ' && key.code <= '~')
        return std::string(1, char(key.code));
    return "";
}

const char* keyActionName(KeyAction action)
{
    static const char* const kNames[kKeyActionCount] = {"hide_left", "hide_right", "weapon",
                                                       "pause",     "help",       "fullscreen"};
    return kNames[int(action)];
}

void readSettingsText(const std::string& text, const std::string& fileName, Settings* settings,
                      std::vector<std::string>* problems)
{
    ReadState state;
    state.text = &text;
    state.settings = settings;
#ifndef VX_NO_SETTINGS_FILE
    ini_parse_stream(readLine, &state, onSetting, &state);
#else
    (void)readLine;
    (void)onSetting;
    problems->push_back(fileName + ":0: this build reads no settings file");
    return;
#endif
    reportUnreadLines(state);
    settleKeyClashes(state);
    for (const auto& [line, what] : state.problems)
        problems->push_back(fileName + ":" + std::to_string(line) + ": " + what);
}

std::string setSettingInText(const std::string& text, const std::string& section,
                             const std::string& key, const std::string& value)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    const bool crlf = !lines.empty() && !lines[0].empty() && lines[0].back() == '\r';
    const std::string eol = crlf ? "\r" : "";

    std::string current;
    bool found = false;
    int sectionEnd = -1;  // the last non-blank line of the section, where a new key goes
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        std::string name;
        if (sectionOf(line, &name)) {
            current = name;
            if (current == section && sectionEnd < 0)
                sectionEnd = int(i);
            continue;
        }
        if (current != section)
            continue;
        if (!trimmed(line).empty())
            sectionEnd = int(i);
        size_t delimiter = line.find_first_of("=:");
        if (delimiter == std::string::npos || trimmed(line.substr(0, delimiter)) != key)
            continue;
        bool cr = !line.empty() && line.back() == '\r';
        line = withValue(cr ? line.substr(0, line.size() - 1) : line, delimiter, value) +
               (cr ? "\r" : "");
        found = true;
    }
    if (!found && sectionEnd >= 0)
        lines.insert(lines.begin() + sectionEnd + 1, key + " = " + value + eol);
    if (!found && sectionEnd < 0) {
        if (!lines.empty() && !trimmed(lines.back()).empty())
            lines.push_back(eol);
        lines.push_back("[" + section + "]" + eol);
        lines.push_back(key + " = " + value + eol);
    }
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

void loadSettingsFile(std::vector<std::string>* problems)
{
    const std::string path = settingsFilePath();
    if (path.empty())
        return;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        // no file is the usual case: every setting at its default, and the first change makes it
        if (errno != ENOENT) {
            problems->push_back(path + ":0: cannot read: " + std::strerror(errno));
            sSaveAllowed = false;
        }
        return;
    }
    std::stringstream whole;
    whole << in.rdbuf();
    const size_t before = problems->size();
    readSettingsText(whole.str(), path, &gSettings, problems);
    // a file with a fault is the player's to mend: the game never writes over it
    if (problems->size() != before)
        sSaveAllowed = false;
}

bool saveSetting(const char* section, const char* key, std::string* error)
{
    if (!sSaveAllowed)
        return true;
    std::string folder, why;
    if (!makeUserFolder(UserFolder::Config, folder, why)) {
        *error = why;
        return false;
    }
    const std::string path = folder + "/" + kSettingsFileName;
    std::string text;
    std::ifstream in(path, std::ios::binary);
    if (in) {
        std::stringstream whole;
        whole << in.rdbuf();
        text = whole.str();
    } else if (errno != ENOENT) {
        *error = path + ": cannot read: " + std::strerror(errno);
        return false;
    }

    const SettingRow* row = findRow(section, key);
    if (!row) {
        *error = std::string("no setting ") + section + "." + key;
        return false;
    }
    const std::string value = row->format(gSettings);
    return writeFileAtomically(path, setSettingInText(text, section, key, value), *error);
}

void disableSettingsSave()
{
    sSaveAllowed = false;
}

bool settingsSaveAllowed()
{
    return sSaveAllowed;
}

bool translateBoundKey(InputEvent* event)
{
    const bool special =
        event->kind == InputKind::SpecialKey || event->kind == InputKind::SpecialKeyUp;
    const bool up = event->kind == InputKind::KeyUp || event->kind == InputKind::SpecialKeyUp;
    if (!special && event->kind != InputKind::KeyDown && event->kind != InputKind::KeyUp)
        return true;
    const int32_t code = special ? event->code : std::tolower(event->code);
    const BoundKey pressed{special, code};
    const Settings defaults;
    for (int a = 0; a < kKeyActionCount; ++a) {
        if (!sameKey(gSettings.keys[a], pressed))
            continue;
        const BoundKey target = defaults.keys[a];
        // the default key itself passes as it came (an upper-case A stays A in the log)
        if (sameKey(target, pressed))
            return !(event->kind == InputKind::SpecialKeyUp);
        if (target.special) {
            // the bindings act on a special key's press only
            if (up)
                return false;
            *event = InputEvent{InputKind::SpecialKey, target.code, 0, event->x, event->y};
        } else {
            *event = InputEvent{up ? InputKind::KeyUp : InputKind::KeyDown, target.code, 0,
                                event->x, event->y};
        }
        return true;
    }
    // an action's default key, its action bound elsewhere, does nothing now
    for (int a = 0; a < kKeyActionCount; ++a)
        if (sameKey(defaults.keys[a], pressed))
            return false;
    return event->kind != InputKind::SpecialKeyUp;
}

void resetSettings()
{
    gSettings = Settings{};
    sSaveAllowed = true;
}
