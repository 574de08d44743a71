// SPDX-License-Identifier: MIT
// app: where the game's data lives. The game changes into that directory at start-up, so every
// file it opens keeps its bare name.
#pragma once
#include <string>
#include <vector>

struct DataPlace {
    std::string path;
    const char* why;  // how the place was found, for the messages
};

// the places in lookup order: $VENDETTIX_DATA, the working directory, run/ beside the executable (the
// build tree), the data directory installed beside the executable, the installed one
std::vector<DataPlace> dataDirectoryPlaces();
// true if the directory holds any of the game's data files: a damaged directory is still the
// game's, and the loader names the file that is missing
bool holdsGameData(const std::string& dir);
// changes into the first place that holds the data; otherwise lists the places tried on standard
// error and returns false
bool enterDataDirectory();
