// SPDX-License-Identifier: MIT
// app: where the game's data lives. The game changes into that directory at start-up, so every
// file it opens keeps its bare name.
#pragma once
#include <string>
#include <vector>

// The data set's manifest: the asset generator writes it beside the files, after them, and it is
// installed with them. Its first line names the set; the file names follow, one a line.
constexpr const char* kDataManifestName = "vendettix.manifest";
constexpr const char* kDataManifestHeader = "vendettix-data 1";
constexpr const char* kDataVariable = "VENDETTIX_DATA";
// the data set's files, as the asset generator writes them and the manifest names them
constexpr const char* kDataSetFiles[] = {
    "house.3DS",  "windowFrames.3DS", "windowPanes.3DS", "brdLeaf.3DS", "BBQ.3DS",
    "bush1.3DS",  "bench.3DS",        "pool.3ds",        "coyote.3ds",  "Stucco.bmp",
    "Grass.bmp",  "GreldaVane1.bmp",  "sky32.bmp",       "moon1.bmp",   "egg.bmp",
    "grunt.wav",  "vendettix-icon.pam"};

struct DataPlace {
    std::string path;
    const char* why;  // how the place was found, for the messages (kDataVariable for the variable)
};

// the places in lookup order, each once: $VENDETTIX_DATA, the working directory, run/ beside the
// executable when there is one (the build tree; an installed game has none), the data directory
// installed beside the executable, the installed one
std::vector<DataPlace> dataDirectoryPlaces();
// the same for an executable in executableDirectory ("" when it cannot be found)
std::vector<DataPlace> dataDirectoryPlacesFor(const std::string& executableDirectory);
// true if the directory holds the data set's manifest, or every file of the set (a copy made
// without the manifest). A damaged set (a file of it missing) with its manifest is still the
// game's, and the loader names the file that is missing; stray files of the set are not.
bool holdsGameData(const std::string& dir);
// what a place without the game's data is, for the message: "does not exist", "is an empty
// directory", ...
std::string describeWithoutGameData(const std::string& path);

// The choice among the places: the first that holds the data, but a VENDETTIX_DATA that does not
// is an error, never passed over (problem then says, in a sentence, what it points at).
struct DataChoice {
    const DataPlace* place = nullptr;
    std::string problem;
};
DataChoice chooseDataPlace(const std::vector<DataPlace>& places);

// changes into the chosen place. Otherwise it says why on standard error and returns false: one
// line for a VENDETTIX_DATA without the data, else the list of the places tried.
bool enterDataDirectory();
