// SPDX-License-Identifier: MIT
// game: the input log, the text file of `--record` and `--replay`.
//
//   vendettix-input 1
//   <step> key <code>             a key pressed (its character code, 0-255)
//   <step> keyup <code>           that key released
//   <step> special <code>         a special key (F1 = 1, Home = 106)
//   <step> button <b> <s> <x> <y> mouse button b (0 left, 1 middle, 2 right), s 0 down 1 up,
//                                 at window pixel (x, y) from the top left
//   <step> drag <x> <y>           the pointer moved with a button held
//   <step> reshape <w> <h>        the window's new size
//   <step> quit                   the menu's Exit
//   <step> window <status>        the window's visibility: 0 hidden (iconified), 1 shown,
//                                 2 partly covered, 3 wholly covered
//   <step> menu <choice>          a menu entry other than Exit: 1 pause or resume, 2 full
//                                 screen, 3 sound on or off, 4 show score, 5 landing marker,
//                                 6 help, 7 play again
//   <step> look <scale> <invert>  the Look's settings: its scale in thousandths (250-4000),
//                                 1 when dragging up looks down
//
// One event a line, each with the step at which it takes effect (0 is the first step; steps
// never go backwards). Lines starting with # and empty lines are ignored. Every line ends with
// a newline: a last line without one was cut off.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "game/input_queue.h"

constexpr const char* kInputLogHeader = "vendettix-input 1";

struct InputLog {
    std::vector<QueuedInput> events;
};

void writeInputLogHeader(std::FILE* file);
void writeInputLine(std::FILE* file, const QueuedInput& input);
// one event's line, newline included
std::string inputLine(const QueuedInput& input);
// the whole log as the file holds it: the header, then a line an event
std::string inputLogText(const std::vector<QueuedInput>& events);
// reads and checks the whole file; on a fault returns false with "FILE:LINE: what is wrong"
// in *error (line 0 for a file that cannot be read)
bool readInputLog(const std::string& path, InputLog* log, std::string* error);
// the same check of a log's text; path only names it in the errors
bool parseInputLog(const std::string& text, const std::string& path, InputLog* log,
                   std::string* error);
