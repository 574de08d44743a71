// SPDX-License-Identifier: MIT
// tests of the score board: a real vendettix-board started and stopped by the test, a
// PostgreSQL server of the test's own, and a folder of its own.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

// a new empty folder under $TMPDIR (or /tmp), removed with its contents by the destructor
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// the display-free replayer the tests give the board: $VX_BOARD_REPLAYER, or the one built
// beside the tests
std::string testReplayer();
std::string sourceFile(const std::string& relative);
std::string readWholeFile(const std::string& path);
// what a shell command prints on standard output, and its exit status (-1 when it did not exit)
std::string run(const std::string& command, int* status);

// a vendettix-board process; started with the given arguments (and --listen 127.0.0.1:0 unless
// it is a lone worker), it has printed its address when start returns
class BoardProcess {
public:
    ~BoardProcess();
    bool start(const std::vector<std::string>& args, bool worker = false);
    void stop();     // SIGTERM, and waits for it
    void killHard(); // SIGKILL, and waits for it
    pid_t pid() const { return pid_; }
    int port() const { return port_; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

// a PostgreSQL server in a temporary folder on a free port of 127.0.0.1, run as an
// unprivileged user when the test runs as root; empty url() when it could not be started
class TestPostgres {
public:
    TestPostgres();
    ~TestPostgres();
    const std::string& url() const { return url_; }
    const std::string& problem() const { return problem_; }

private:
    TempFolder folder_;
    std::string url_;
    std::string problem_;
    std::string pgBin_;
    pid_t pid_ = -1;
};
