// SPDX-License-Identifier: MIT
// app: finding the data directory, so the game runs from a launcher, an install or the build tree.
#include "app/data_directory.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/regular_file.h"

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
    return dataDirectoryPlacesFor(executableDirectory());
}

std::vector<DataPlace> dataDirectoryPlacesFor(const std::string& executable)
{
    std::vector<DataPlace> places;
    // a place reached two ways (the installed data beside the executable, the working
    // directory) is looked at and named once, under the first
    auto add = [&places](const std::string& path, const char* why) {
        for (const DataPlace& place : places)
            if (place.path == path)
                return;
        places.push_back({path, why});
    };
    // set but empty counts as unset, as for most variables of the kind
    const char* variable = std::getenv(kDataVariable);
    if (variable && *variable)
        add(tidy(variable), kDataVariable);
    std::error_code ec;
    fs::path working = fs::current_path(ec);
    add(ec ? std::string(".") : tidy(working), "the working directory");
    if (!executable.empty()) {
        const fs::path run = fs::path(executable) / "run";
        if (fs::is_directory(run, ec))
            add(tidy(run), "the build tree");
        add(tidy(fs::path(executable) / VX_DATA_FROM_BINDIR), "beside the executable");
    }
    add(tidy(VX_INSTALLED_DATADIR), "the installed data");
    return places;
}

bool holdsGameData(const std::string& dir)
{
    std::string text, why;
    // the header line is all that is read; a manifest is a few hundred bytes
    if (readRegularFile((fs::path(dir) / kDataManifestName).string(), 65536, "a manifest", &text,
                        &why) == FileRead::Read)
        return text.substr(0, text.find('\n')) == kDataManifestHeader;
    std::error_code ec;
    for (const char* file : kDataSetFiles)
        if (!fs::is_regular_file(fs::path(dir) / file, ec))
            return false;
    return true;
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
    for (const char* file : kDataSetFiles)
        if (!fs::is_regular_file(fs::path(path) / file, ec))
            return std::string("holds no game data (no ") + kDataManifestName + ", and no " +
                   file + " of the set)";
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
