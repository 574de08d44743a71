// SPDX-License-Identifier: MIT
// app: the window as it was left (see window_memory.h).
#include "app/window_memory.h"

#include <cstdio>
#include <cstring>

#include "platform/regular_file.h"
#include "platform/user_files.h"

namespace {

constexpr const char* kHeader = "vendettix-window 1";
// the file is four short lines
constexpr size_t kLargestWindowFile = 4096;

}  // namespace

std::string windowStateText(const WindowOptions& window)
{
    char text[128];
    std::snprintf(text, sizeof text, "%s\nsize %dx%d\nplace %d %d\nfullscreen %d\n", kHeader,
                  window.width, window.height, window.x, window.y, window.fullscreen ? 1 : 0);
    return text;
}

bool parseWindowState(const std::string& text, WindowOptions* window)
{
    WindowOptions read;
    int fullscreen = -1;
    char tail = 0;
    // the whole text, nothing before, between or after the four lines
    int header = 0;
    if (text.rfind(std::string(kHeader) + "\n", 0) != 0)
        return false;
    header = int(std::strlen(kHeader)) + 1;
    int used = 0;
    if (std::sscanf(text.c_str() + header, "size %5dx%5d\nplace %5d %5d\nfullscreen %1d%n%c",
                    &read.width, &read.height, &read.x, &read.y, &fullscreen, &used,
                    &tail) != 6 ||
        tail != '\n' || size_t(header + used + 1) != text.size())
        return false;
    // the command line's bounds
    if (read.width < kSmallestWindowWidth || read.height < kSmallestWindowHeight ||
        read.width > kLargestWindowSide || read.height > kLargestWindowSide || read.x < 0 ||
        read.y < 0 || read.x > kLargestWindowSide || read.y > kLargestWindowSide ||
        (fullscreen != 0 && fullscreen != 1))
        return false;
    read.fullscreen = fullscreen == 1;
    *window = read;
    return true;
}

bool loadWindowState(WindowOptions* window)
{
    std::string folder = userFolderPath(UserFolder::State);
    if (folder.empty())
        return false;
    const std::string path = folder + "/" + kWindowFileName;
    std::string text, why;
    switch (readRegularFile(path, kLargestWindowFile, "the window's file", &text, &why)) {
    case FileRead::Missing:
        return false;
    case FileRead::Refused:
        // not the game's to move aside
        std::fprintf(stderr, "vendettix: %s: %s; the window opens as usual\n", path.c_str(),
                     why.c_str());
        return false;
    case FileRead::TooLarge:  // damaged, as any other text but the game's
    case FileRead::Read:
        break;
    }
    if (parseWindowState(text, window))
        return true;
    std::string movedTo, error;
    if (keepDamagedFile(path, movedTo, error))
        std::fprintf(stderr, "vendettix: %s is damaged; kept as %s, the window opens as usual\n",
                     path.c_str(), movedTo.c_str());
    else
        std::fprintf(stderr, "vendettix: %s is damaged: %s\n", path.c_str(), error.c_str());
    return false;
}

void saveWindowState(const WindowOptions& window)
{
    std::string folder, error;
    if (!makeUserFolder(UserFolder::State, folder, error) ||
        !writeFileAtomically(folder + "/" + kWindowFileName, windowStateText(window), error))
        std::fprintf(stderr, "vendettix: the window's place will not be kept: %s\n",
                     error.c_str());
}
