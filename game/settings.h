// SPDX-License-Identifier: MIT
// game: the player's settings (settings.ini in the config folder): the sound, the Look, the keys
// and the assists. Read once at start; written back only when a menu choice changes one, line by
// line so the player's own comments and order stay. No drawing and no display here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "player/input.h"

// the actions a key can be bound to; each has its default key, the one the bindings act on
enum class KeyAction : uint8_t { HideLeft, HideRight, Weapon, Pause, Help, FullScreen, Count };
constexpr int kKeyActionCount = int(KeyAction::Count);

// a key as the toolkit reports it: a character (letters lower case) or a special key
struct BoundKey {
    bool special;
    int32_t code;
};

struct Settings {
    int32_t volume = 100;       // percent of the throw sound's loudness
    bool mute = false;
    float sensitivity = 1.0f;   // the Look's turn per pixel dragged, 1 as always
    bool invert = false;        // dragging up looks down
    float padDeadzone = 0.25f;  // of the pad stick's full tilt, 0 to 0.9: inside it reads nothing
    BoundKey keys[kKeyActionCount] = {{false, 'a'}, {false, 'd'}, {true, kKeyF1},
                                      {false, 'p'}, {false, 'h'}, {true, kKeyF11}};
    bool showScore = false;     // "Score: N" on the HUD while playing
    bool landingMarker = false; // where a roll thrown now would come down
    std::string boardUrl;       // [board] url: where kept games are sent; empty: none is sent
    std::string boardPlayer;    // [board] player: the name they are sent under
};

// a player's name on the board: 1 to 24 characters once trimmed of spaces at both ends, made of
// letters, digits, spaces and -_.'
bool validBoardName(const std::string& trimmedName);
// a board's address: http://HOST[:PORT][/PATH], no spaces, quotes or control characters
bool validBoardUrl(const std::string& url);

extern Settings gSettings;

// "a", "F1", "Escape", "Space": the name a settings file and the help use; empty for a key that
// has none
std::string keyName(BoundKey key);
// the settings file's name of an action's key ("hide_left")
const char* keyActionName(KeyAction action);

// reads a settings file's text over *settings (unset lines keep what is there); every bad line
// adds "FILE:LINE: what is wrong" to *problems and changes nothing (an earlier good line for the
// same setting stands). After 20 such lines one more counts the rest.
void readSettingsText(const std::string& text, const std::string& fileName, Settings* settings,
                      std::vector<std::string>* problems);
// the text with section.key set to value: the key's line changed in place, else the key added at
// the end of its section, else the section added at the end; every other line as it was
std::string setSettingInText(const std::string& text, const std::string& section,
                             const std::string& key, const std::string& value);

// the settings file (settings.ini in the player's config folder) read into gSettings; problems as
// readSettingsText gives them, and a file that cannot be read (a FIFO, a device, over 1 MB).
// Saving is allowed afterwards only if the file had no bad line
void loadSettingsFile(std::vector<std::string>* problems);
// a menu choice changed section.key: the file is rewritten with it (atomically, through a link
// to the file it names), unless saving is off (--no-save, a replay) or held back by a file that
// had a bad line. False with a reason when the write fails, and once, the first time, for a file
// with a bad line (then every time settingsNotice shows for a second)
bool saveSetting(const char* section, const char* key, std::string* error);
// settings are never written from now on
void disableSettingsSave();
bool settingsSaveAllowed();
// the HUD's short notice, for a second after a menu choice that was not saved because of a bad
// line; nullptr the rest of the time
const char* settingsNotice();

// the key the player pressed, as the bindings know it: a key bound in the settings becomes its
// action's default key; an action's default key that was bound elsewhere does nothing. False when
// the event is dropped. Any other event passes unchanged.
bool translateBoundKey(InputEvent* event);

void resetSettings();
