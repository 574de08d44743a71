// SPDX-License-Identifier: MIT
// player: the help screen. The dash and the apostrophe are written in the console's encoding.
#pragma once
#include <cstdio>
#include <string>

enum class HelpEncoding {
    Utf8,         // en dash and right single quotation mark as UTF-8
    Windows1252,  // the same characters as the single bytes 0x96 and 0x92
};

// the encoding for a locale codeset name such as nl_langinfo(CODESET) returns
HelpEncoding helpEncodingFor(const char* codeset);
// the encoding of the console the game runs in (from the environment's locale)
HelpEncoding consoleHelpEncoding();
// the names of the keys the player may bind, as the help shows them; the defaults unless the
// settings bind others
struct HelpKeys {
    std::string hideLeft = "A";
    std::string hideRight = "D";
    std::string weapon = "F1";
    std::string pause = "P or Esc";
    std::string fullScreen = "F11";
};
void writeHelp(std::FILE* out, HelpEncoding encoding, const HelpKeys& keys = HelpKeys());
// the help screen on standard output, in the console's encoding
void printHelp(const HelpKeys& keys);
