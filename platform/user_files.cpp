// SPDX-License-Identifier: MIT
// platform: the player's folders and safe file replacement (see user_files.h).
#include "platform/user_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FolderRule {
    const char* variable;
    const char* underHome;
};

FolderRule ruleFor(UserFolder which)
{
    switch (which) {
    case UserFolder::Data:
        return {"XDG_DATA_HOME", "/.local/share"};
    case UserFolder::State:
        return {"XDG_STATE_HOME", "/.local/state"};
    case UserFolder::Config:
        break;
    }
    return {"XDG_CONFIG_HOME", "/.config"};
}

std::string reason(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

// mkdir -p, one component at a time; an existing directory is fine, anything else in the way is not
bool makeFolders(const std::string& path, std::string& error)
{
    for (size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/')
            continue;
        std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0700) == 0 || errno == EEXIST) {
            struct stat st;
            if (stat(part.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                continue;
            errno = ENOTDIR;
        }
        error = reason("cannot create", part);
        return false;
    }
    return true;
}

bool syncFolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

// the file a link at path names, through every link in turn (a link that names nothing yet
// names the file it will be); path itself when it is no link
std::string linkTarget(const std::string& path)
{
    std::string at = path;
    // as the system's own limit on links followed
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return at;
        std::string named(size_t(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        ssize_t n = readlink(at.c_str(), named.data(), named.size());
        if (n <= 0 || size_t(n) >= named.size())
            return at;
        named.resize(size_t(n));
        if (named[0] != '/') {
            size_t slash = at.rfind('/');
            named = (slash == std::string::npos ? "" : at.substr(0, slash + 1)) + named;
        }
        at = named;
    }
    return at;
}

}  // namespace

std::string userFolderPath(UserFolder which)
{
    FolderRule rule = ruleFor(which);
    const char* base = std::getenv(rule.variable);
    if (base && base[0] == '/')
        return std::string(base) + "/vendettix";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + rule.underHome + "/vendettix";
    return "";
}

bool makeUserFolder(UserFolder which, std::string& path, std::string& error)
{
    path = userFolderPath(which);
    if (path.empty()) {
        error = std::string("no folder for the player's files: neither ") +
                ruleFor(which).variable + " nor HOME is an absolute path";
        return false;
    }
    return makeFolders(path, error);
}

bool writeFileAtomically(const std::string& linkOrPath, const std::string& contents,
                         std::string& error)
{
    // a link (a settings file kept with the player's other files) stays a link: the file it
    // names is the one replaced, in its own folder. A link to anything but a file (a device, a
    // folder) is itself replaced, as a file in the way would be.
    std::string path = linkTarget(linkOrPath);
    struct stat target;
    if (lstat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode))
        path = linkOrPath;
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = reason("cannot create a file beside", path);
        return false;
    }
    fchmod(fd, 0644);
    const char* at = contents.data();
    size_t left = contents.size();
    bool ok = true;
    while (ok && left > 0) {
        ssize_t wrote = write(fd, at, left);
        if (wrote < 0 && errno == EINTR)
            continue;
        ok = wrote > 0;
        if (ok) {
            at += wrote;
            left -= static_cast<size_t>(wrote);
        }
    }
    if (!ok) {
        error = reason("cannot write", temporary);
    } else if (fsync(fd) != 0) {
        ok = false;
        error = reason("cannot sync", temporary);
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        error = reason("cannot close", temporary);
    }
    if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = reason("cannot rename " + temporary + " to", path);
    }
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    // the rename is durable only once the folder's entry is on disk
    if (!syncFolderOf(path)) {
        error = reason("cannot sync the folder of", path);
        return false;
    }
    return true;
}

bool keepDamagedFile(const std::string& path, std::string& movedTo, std::string& error)
{
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string base = path + ".damaged-" + stamp;
    for (int n = 1; n < 1000; ++n) {
        movedTo = n == 1 ? base : base + "-" + std::to_string(n);
        // link() refuses an existing name, so nothing is ever overwritten
        if (link(path.c_str(), movedTo.c_str()) == 0) {
            if (unlink(path.c_str()) != 0) {
                error = reason("cannot remove the damaged", path);
                return false;
            }
            syncFolderOf(path);
            return true;
        }
        if (errno == EMLINK || errno == EPERM || errno == ENOTSUP || errno == ENOSYS) {
            // a file system without hard links (the page's among them): a name that is free
            // now is taken by renaming
            struct stat taken;
            if (lstat(movedTo.c_str(), &taken) == 0)
                continue;
            if (std::rename(path.c_str(), movedTo.c_str()) == 0) {
                syncFolderOf(path);
                return true;
            }
        }
        if (errno != EEXIST) {
            error = reason("cannot keep aside", path);
            return false;
        }
    }
    errno = EEXIST;
    error = reason("cannot keep aside", path);
    return false;
}
