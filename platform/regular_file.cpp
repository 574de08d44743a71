// SPDX-License-Identifier: MIT
// platform: reading a regular file with a limit (see regular_file.h).
#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

const char* kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

}  // namespace

int openRegularFile(const std::string& path, const char* what, std::string* why, bool* missing)
{
    *missing = false;
    // without O_NONBLOCK a FIFO with no writer holds the open for ever
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        *missing = errno == ENOENT;
        *why = std::string("cannot read: ") + std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        *why = std::string("cannot read: ") + std::strerror(errno);
    } else if (S_ISREG(info.st_mode)) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return fd;
    } else {
        *why = std::string("is ") + kindOf(info.st_mode) + ", not " + what;
    }
    ::close(fd);
    return -1;
}

FileRead readRegularFile(const std::string& path, size_t limit, const char* what, std::string* text,
                         std::string* why)
{
    text->clear();
    bool missing = false;
    const int fd = openRegularFile(path, what, why, &missing);
    if (fd < 0)
        return missing ? FileRead::Missing : FileRead::Refused;
    char piece[16384];
    FileRead result = FileRead::Read;
    for (;;) {
        ssize_t n = ::read(fd, piece, sizeof piece);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *why = std::string("cannot read: ") + std::strerror(errno);
            result = FileRead::Refused;
            break;
        }
        if (n == 0)
            break;
        if (size_t(n) > limit - text->size()) {
            *why = "is larger than " + std::to_string(limit) + " bytes, too large for " + what;
            result = FileRead::TooLarge;
            break;
        }
        text->append(piece, size_t(n));
    }
    ::close(fd);
    if (result != FileRead::Read)
        text->clear();
    return result;
}
