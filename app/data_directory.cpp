// SPDX-License-Identifier: MIT
// app: finding the data directory, so the game runs from a launcher, an install or the build tree.
#include "app/data_directory.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

// set by the build from the install layout; these stand in for a build without them
#ifndef VX_DATA_FROM_BINDIR
#define VX_DATA_FROM_BINDIR "../share/vendettix"
#endif
#ifndef VX_INSTALLED_DATADIR
#define VX_INSTALLED_DATADIR "/usr/local/share/vendettix"
#endif

namespace {

const char* const kGameDataFiles[] = {
    "house.3DS",  "windowFrames.3DS", "windowPanes.3DS", "brdLeaf.3DS",
    "BBQ.3DS",    "bush1.3DS",        "bench.3DS",       "pool.3ds",
    "coyote.3ds", "Stucco.bmp",       "Grass.bmp",       "GreldaVane1.bmp",
    "sky32.bmp",  "moon1.bmp",        "egg.bmp",         "grunt.wav",
};

std::string executableDirectory()
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "";
    return self.parent_path().string();
}

std::string tidy(const fs::path& path)
{
    std::string text = path.lexically_normal().string();
    if (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

}  // namespace

std::vector<DataPlace> dataDirectoryPlaces()
{
    std::vector<DataPlace> places;
    const char* variable = std::getenv("VENDETTIX_DATA");
    if (variable && *variable)
        places.push_back({tidy(variable), "VENDETTIX_DATA"});
    std::error_code ec;
    fs::path working = fs::current_path(ec);
    places.push_back({ec ? std::string(".") : tidy(working), "the working directory"});
    std::string executable = executableDirectory();
    if (!executable.empty()) {
        places.push_back({tidy(fs::path(executable) / "run"), "the build tree"});
        places.push_back(
            {tidy(fs::path(executable) / VX_DATA_FROM_BINDIR), "beside the executable"});
    }
    places.push_back({tidy(VX_INSTALLED_DATADIR), "the installed data"});
    return places;
}

bool holdsGameData(const std::string& dir)
{
    std::error_code ec;
    for (const char* name : kGameDataFiles)
        if (fs::is_regular_file(fs::path(dir) / name, ec))
            return true;
    return false;
}

bool enterDataDirectory()
{
    std::vector<DataPlace> places = dataDirectoryPlaces();
    for (const DataPlace& place : places)
        if (holdsGameData(place.path) && chdir(place.path.c_str()) == 0)
            return true;
    std::string message =
        "vendettix: cannot find the game's data (models, textures, sound); looked in:\n";
    for (const DataPlace& place : places)
        message += "  " + place.path + " (" + place.why + ")\n";
    message += "Set VENDETTIX_DATA to the directory that holds them.\n";
    std::fputs(message.c_str(), stderr);
    return false;
}
