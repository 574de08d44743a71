// SPDX-License-Identifier: MIT
// platform: reading a file the game is given or keeps (the settings, the window's place, a pad
// script, a recording) without waiting for ever or reading for ever: only a regular file, or a
// link to one, is opened (never a FIFO, a device or a folder), and no more than a limit is read.
#pragma once
#include <cstddef>
#include <string>

// a descriptor open for reading on path when it is a regular file; otherwise -1 with *why saying
// what path is instead ("is a FIFO, not <what>", "is a device, not <what>", "cannot read: <the
// system's reason>") and *missing true when there is no such file. The open never waits for a
// FIFO's writer nor makes a terminal the game's.
int openRegularFile(const std::string& path, const char* what, std::string* why, bool* missing);

enum class FileRead { Read, Missing, Refused, TooLarge };
// the whole of path into *text when it is a regular file of at most limit bytes; otherwise *text
// is empty and *why says why, as openRegularFile does, or "is larger than <limit> bytes, too
// large for <what>"
FileRead readRegularFile(const std::string& path, size_t limit, const char* what, std::string* text,
                         std::string* why);
