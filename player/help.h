// SPDX-License-Identifier: MIT
// player: the help screen. The dash and the apostrophe are written in the console's encoding.
#pragma once
#include <cstdio>

enum class HelpEncoding {
    Utf8,         // en dash and right single quotation mark as UTF-8
    Windows1252,  // the same characters as the single bytes 0x96 and 0x92
};

// the encoding for a locale codeset name such as nl_langinfo(CODESET) returns
HelpEncoding helpEncodingFor(const char* codeset);
// the encoding of the console the game runs in (from the environment's locale)
HelpEncoding consoleHelpEncoding();
void writeHelp(std::FILE* out, HelpEncoding encoding);
