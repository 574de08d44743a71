// SPDX-License-Identifier: MIT
// app: the window as the player left it (size, place, full screen), kept in the player's state
// folder and used at the next start unless the command line sets the window.
#pragma once
#include <string>

#include "app/window_options.h"

constexpr const char* kWindowFileName = "window";

// the file's text:
//   vendettix-window 1
//   size 800x500
//   place 40 60
//   fullscreen 0
// size and place are the window's own even when it was left full screen (F11 goes back to them)
std::string windowStateText(const WindowOptions& window);
// false for anything but that text (every line, in order, numbers in range)
bool parseWindowState(const std::string& text, WindowOptions* window);

// the window kept at the last end, into *window; false (and *window untouched) when there is
// none. A damaged file is kept aside with one line on standard error.
bool loadWindowState(WindowOptions* window);
// replaces the file atomically; a failure is one line on standard error
void saveWindowState(const WindowOptions& window);
