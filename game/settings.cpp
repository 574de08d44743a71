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
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "game/play_step.h"
#include "platform/regular_file.h"
#include "platform/user_files.h"

Settings gSettings;

namespace {

const char* const kSettingsFileName = "settings.ini";
// a settings file is a few hundred bytes; anything near this is not one
constexpr size_t kLargestSettingsFile = 1 << 20;
// the lines reported one by one; the rest are counted in one more line
constexpr size_t kReportedLines = 20;
// the screen's notice that a menu choice was not saved lasts a second
constexpr int64_t kNoticeSteps = 60;
const char* const kNoticeText = "Settings not saved: mend settings.ini";
const char* const kByteOrderMark = "\xEF\xBB\xBF";

// whether a menu choice is written to the file: off for --no-save and a replay, and held back
// while the file has a bad line (the player is told once why)
enum class Saving : uint8_t { Allowed, Off, HeldBack };
Saving sSaving = Saving::Allowed;
std::string sHeldBackWhy;
bool sHeldBackSaid = false;
int64_t sNoticeUntilStep = 0;

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

// q quits, Escape pauses and quits a replay, Enter plays again: no action takes them
bool gamesOwnKey(BoundKey key)
{
    return !key.special && (key.code == 'q' || key.code == kKeyEscape || key.code == kKeyEnter);
}

std::string trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r\f\v");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t\r\f\v");
    return text.substr(first, last - first + 1);
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
    BoundKey key{};
    if (!parseKey(value, &key) || gamesOwnKey(key))
        return false;
    s.keys[int(action)] = key;
    return true;
}

template <KeyAction action>
std::string formatKey(const Settings& s)
{
    return keyName(s.keys[int(action)]);
}

#define VX_KEY_ROW(name, action)                                                           \
    {"keys", name, "a key: one character, F1 to F12, Home or Space; not q, Escape or Enter",  \
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
    {"board", "url", "http://HOST[:PORT][/PATH]",
     [](const std::string& v, Settings& s) {
         if (!validBoardUrl(v))
             return false;
         s.boardUrl = v;
         return true;
     },
     [](const Settings& s) { return s.boardUrl; }},
    {"board", "player", "a name of 1 to 24 letters, digits, spaces and -_.'",
     [](const std::string& v, Settings& s) {
         const std::string name = trimmed(v);
         if (!validBoardName(name))
             return false;
         s.boardPlayer = name;
         return true;
     },
     [](const Settings& s) { return s.boardPlayer; }},
};

#undef VX_KEY_ROW

}  // namespace

bool validBoardName(const std::string& name)
{
    if (name.empty() || name.size() > 24 || name.front() == ' ' || name.back() == ' ')
        return false;
    for (const char c : name) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9') && !std::strchr(" -_.'", c))
            return false;
    }
    return true;
}

bool validBoardUrl(const std::string& url)
{
    const std::string scheme = "http://";
    if (url.compare(0, scheme.size(), scheme) != 0)
        return false;
    for (const char c : url)
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f || c == '"' || c == '\\')
            return false;
    const size_t hostStart = scheme.size();
    const size_t hostEnd = std::min(url.find('/', hostStart), url.size());
    const std::string hostPort = url.substr(hostStart, hostEnd - hostStart);
    const size_t colon = hostPort.rfind(':');
    const std::string host = hostPort.substr(0, colon);
    if (host.empty() || host.find_first_of("@?#") != std::string::npos)
        return false;
    if (colon != std::string::npos) {
        long port = 0;
        if (!parseWhole(hostPort.substr(colon + 1), 1, 65535, &port))
            return false;
    }
    return url.find_first_of("?#", hostEnd) == std::string::npos;
}

namespace {

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
    // each action's bindings with the lines that made them, in order: the last is in force, and
    // with none the key the action had before the file
    std::vector<std::pair<int, BoundKey>> keyLines[kKeyActionCount];
};

bool isComment(const char* line, size_t length)
{
    size_t first = 0;
    while (first < length && (line[first] == ' ' || line[first] == '\t'))
        ++first;
    return first < length && (line[first] == ';' || line[first] == '#');
}

// hands inih one whole line at a time, so the line count is the number of the line being
// parsed. A line inih cannot take whole, or one with a NUL (where inih would stop reading it),
// is a bad line: inih gets a blank line in its place, so nothing of it is read. A long comment
// is only a comment.
char* readLine(char* buffer, int size, void* stream)
{
    ReadState& state = *static_cast<ReadState*>(stream);
    const std::string& text = *state.text;
    if (state.at >= text.size() || size < 3)
        return nullptr;
    const size_t end = std::min(text.find('\n', state.at), text.size());
    const char* line = text.data() + state.at;
    const size_t length = end - state.at;  // without its newline
    state.at = end + 1;
    ++state.line;
    const size_t longest = size_t(size - 2);  // then the newline and the string's end
    std::string fault;
    if (std::memchr(line, '\0', length))
        fault = "a NUL byte in the line";
    else if (length > longest && !isComment(line, length))
        fault = "a line longer than " + std::to_string(longest) + " characters";
    if (!fault.empty())
        state.problems.emplace(state.line, fault);
    if (length > longest || !fault.empty()) {
        state.handledLines.insert(state.line);
        std::strcpy(buffer, "\n");
        return buffer;
    }
    std::memcpy(buffer, line, length);
    std::strcpy(buffer + length, "\n");
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
    // an unknown section is reported at its head; a setting before any section has none
    if (!knownSection(section)) {
        if (section[0] == '\0')
            report("unknown section []");
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
                    state.keyLines[a].emplace_back(state.line, tried.keys[a]);
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
        const size_t close = line.find(']', first);
        if (line[first] == '[' && close != std::string::npos) {
            // as inih names it: all between the brackets
            const std::string section = line.substr(first + 1, close - first - 1);
            if (!knownSection(section.c_str()))
                state.problems.emplace(number, "unknown section [" + section + "]");
            continue;
        }
        state.problems.emplace(number, line[first] == '['
                                           ? "a section name without its closing ]"
                                           : "not a setting: expected name = value");
    }
}

int lineInForce(const ReadState& state, int action)
{
    return state.keyLines[action].empty() ? 0 : state.keyLines[action].back().first;
}

// a key bound to two actions: the later line gives way, and its action keeps what it had before
// that line (an earlier line's key, else the key it had before the file), until no key is bound
// twice. Two keys from before the file never clash (the defaults all differ).
void settleKeyClashes(ReadState& state, const BoundKey (&before)[kKeyActionCount])
{
    for (bool clash = true; clash;) {
        clash = false;
        for (int a = 0; a < kKeyActionCount && !clash; ++a)
            for (int b = a + 1; b < kKeyActionCount && !clash; ++b) {
                if (!sameKey(state.settings->keys[a], state.settings->keys[b]))
                    continue;
                const int loser = lineInForce(state, a) > lineInForce(state, b) ? a : b;
                const int keeper = loser == a ? b : a;
                if (state.keyLines[loser].empty())
                    continue;
                state.problems[lineInForce(state, loser)] =
                    "key " + keyName(state.settings->keys[loser]) + " is bound twice: it is " +
                    keyActionName(KeyAction(keeper)) + "'s already";
                state.keyLines[loser].pop_back();
                state.settings->keys[loser] = state.keyLines[loser].empty()
                                                  ? before[loser]
                                                  : state.keyLines[loser].back().second;
                clash = true;
            }
    }
}

// ---- writing ----

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

// reads text over *settings as readSettingsText does; the first bad line's number, 0 for none
int readSettings(const std::string& text, const std::string& fileName, Settings* settings,
                 std::vector<std::string>* problems)
{
    ReadState state;
    state.text = &text;
    state.settings = settings;
    BoundKey before[kKeyActionCount];
    std::copy(std::begin(settings->keys), std::end(settings->keys), before);
#ifndef VX_NO_SETTINGS_FILE
    ini_parse_stream(readLine, &state, onSetting, &state);
#else
    (void)readLine;
    (void)onSetting;
    problems->push_back(fileName + ":0: this build reads no settings file");
    return 0;
#endif
    reportUnreadLines(state);
    settleKeyClashes(state, before);
    size_t shown = 0;
    for (const auto& [line, what] : state.problems) {
        if (shown == kReportedLines) {
            problems->push_back(fileName + ":" + std::to_string(line) + ": and " +
                                std::to_string(state.problems.size() - shown) +
                                " more bad lines from here on");
            break;
        }
        problems->push_back(fileName + ":" + std::to_string(line) + ": " + what);
        ++shown;
    }
    return state.problems.empty() ? 0 : state.problems.begin()->first;
}

// a file with a fault is the player's to mend: the game never writes over it, and says so
// once when a menu choice is not saved
void holdBackSaving(const std::string& path, int line)
{
    if (sSaving != Saving::Allowed)
        return;
    sSaving = Saving::HeldBack;
    sHeldBackWhy = (line > 0 ? "line " + std::to_string(line) + " of " + path + " is bad"
                             : path + " cannot be read") +
                   "; no setting is saved until it is mended";
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
    readSettings(text, fileName, settings, problems);
}

std::string setSettingInText(const std::string& text, const std::string& section,
                             const std::string& key, const std::string& value)
{
    // a byte-order mark stays where it is, before the first line
    const bool marked = text.compare(0, 3, kByteOrderMark) == 0;
    std::vector<std::string> lines;
    std::istringstream in(marked ? text.substr(3) : text);
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
    std::string out = marked ? kByteOrderMark : "";
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

void loadSettingsFile(std::vector<std::string>* problems)
{
    const std::string path = settingsFilePath();
    if (path.empty())
        return;
    std::string text, why;
    switch (readRegularFile(path, kLargestSettingsFile, "a settings file", &text, &why)) {
    case FileRead::Missing:
        // the usual case: every setting at its default, and the first change makes the file
        return;
    case FileRead::Refused:
    case FileRead::TooLarge:
        problems->push_back(path + ":0: " + why);
        holdBackSaving(path, 0);
        return;
    case FileRead::Read:
        break;
    }
    const int badLine = readSettings(text, path, &gSettings, problems);
    if (badLine > 0)
        holdBackSaving(path, badLine);
}

bool saveSetting(const char* section, const char* key, std::string* error)
{
    if (sSaving == Saving::Off)
        return true;
    if (sSaving == Saving::HeldBack) {
        sNoticeUntilStep = gStepCount + kNoticeSteps;
        if (sHeldBackSaid)
            return true;
        sHeldBackSaid = true;
        *error = sHeldBackWhy;
        return false;
    }
    std::string folder, why;
    if (!makeUserFolder(UserFolder::Config, folder, why)) {
        *error = why;
        return false;
    }
    const std::string path = folder + "/" + kSettingsFileName;
    std::string text;
    const FileRead read =
        readRegularFile(path, kLargestSettingsFile, "a settings file", &text, &why);
    if (read != FileRead::Read && read != FileRead::Missing) {
        *error = path + ": " + why;
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
    sSaving = Saving::Off;
}

bool settingsSaveAllowed()
{
    return sSaving == Saving::Allowed;
}

const char* settingsNotice()
{
    return gStepCount < sNoticeUntilStep ? kNoticeText : nullptr;
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
    sSaving = Saving::Allowed;
    sHeldBackWhy.clear();
    sHeldBackSaid = false;
    sNoticeUntilStep = 0;
}
