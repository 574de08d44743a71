// SPDX-License-Identifier: MIT
// platform: where the player's own files live (the XDG base directories, each with a vendettix/
// folder) and the one safe way to replace such a file. No game state: paths and file writes only.
#pragma once
#include <string>

enum class UserFolder {
    Data,    // $XDG_DATA_HOME/vendettix, else ~/.local/share/vendettix: the score table
    State,   // $XDG_STATE_HOME/vendettix, else ~/.local/state/vendettix: the window as it was left
    Config,  // $XDG_CONFIG_HOME/vendettix, else ~/.config/vendettix: settings.ini
};

// the folder's path (not created). A variable that is unset, empty or not absolute is ignored,
// as the XDG rules say; with neither it nor HOME set the path is empty.
std::string userFolderPath(UserFolder which);

// makes the folder and its parents (mode 0700 for what it creates); false with a reason naming
// the path when it cannot (a read-only home, a file in the way)
bool makeUserFolder(UserFolder which, std::string& path, std::string& error);

// replaces path with contents so that a kill or a power cut at any moment leaves either the old
// file or the new one whole: a temporary file in the same folder, written, fsync'd, renamed over
// path, then the folder fsync'd. A link to a file (or to none yet) stays a link and the file it
// names is replaced. On failure the old file is untouched, the temporary removed, and error says
// what failed and why.
bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& error);

// moves a damaged file aside as "<path>.damaged-YYYYMMDD-HHMMSS" (local time; a suffix -2, -3 ...
// when that name is taken), never overwriting anything; the new name in movedTo
bool keepDamagedFile(const std::string& path, std::string& movedTo, std::string& error);
