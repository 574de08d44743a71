// SPDX-License-Identifier: MIT
// app: finding the data directory, so the game runs from a launcher, an install or the build tree.
#include "app/data_directory.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

// set by the build from the install layout; these stand in for a build without them
#ifndef VX_DATA_FROM_BINDIR
#define VX_DATA_FROM_BINDIR "../share/vendettix"
#endif
#ifndef VX_INSTALLED_DATADIR
#define VX_INSTALLED_DATADIR "/usr/local/share/vendettix"
#endif

namespace {

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
    // set but empty counts as unset, as for most variables of the kind
    const char* variable = std::getenv(kDataVariable);
    if (variable && *variable)
        places.push_back({tidy(variable), kDataVariable});
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
    fs::path manifest = fs::path(dir) / kDataManifestName;
    if (!fs::is_regular_file(manifest, ec))
        return false;
    std::ifstream in(manifest);
    std::string first;
    return std::getline(in, first) && first == kDataManifestHeader;
}

std::string describeWithoutGameData(const std::string& path)
{
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        return "does not exist";
    if (!fs::is_directory(status))
        return fs::is_regular_file(status) ? "is a file, not a directory" : "is not a directory";
    if (fs::is_empty(path, ec) && !ec)
        return "is an empty directory";
    return std::string("holds no game data (no ") + kDataManifestName + ")";
}

DataChoice chooseDataPlace(const std::vector<DataPlace>& places)
{
    DataChoice choice;
    for (const DataPlace& place : places) {
        if (holdsGameData(place.path)) {
            choice.place = &place;
            return choice;
        }
        // the player named this place: playing from another would hide the mistake
        if (std::strcmp(place.why, kDataVariable) == 0) {
            choice.problem = std::string(kDataVariable) + " is " + place.path + ", which " +
                             describeWithoutGameData(place.path);
            return choice;
        }
    }
    return choice;
}

bool enterDataDirectory()
{
    std::vector<DataPlace> places = dataDirectoryPlaces();
    DataChoice choice = chooseDataPlace(places);
    if (choice.place && chdir(choice.place->path.c_str()) == 0)
        return true;
    if (choice.place) {
        std::fprintf(stderr, "vendettix: cannot enter the data directory %s: %s\n",
                     choice.place->path.c_str(), std::strerror(errno));
        return false;
    }
    if (!choice.problem.empty()) {
        std::fprintf(stderr, "vendettix: %s\n", choice.problem.c_str());
        return false;
    }
    std::string message =
        "vendettix: cannot find the game's data (models, textures, sound); looked in:\n";
    for (const DataPlace& place : places)
        message += "  " + place.path + " (" + place.why + ")\n";
    message += "Set VENDETTIX_DATA to the directory that holds them.\n";
    std::fputs(message.c_str(), stderr);
    return false;
}
