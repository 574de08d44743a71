// SPDX-License-Identifier: MIT
// tests of the score board: the processes and folders the tests start and remove.
#include "tests/board/board_fixture.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <glob.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string env(const char* name, const char* fallback = "")
{
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

// runs argv as uid (unless uid is -1) with stdout and stderr to outFd (unless -1)
pid_t spawn(const std::vector<std::string>& argv, int outFd, uid_t uid, gid_t gid)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    if (uid != uid_t(-1)) {
        if (setgid(gid) != 0 || setuid(uid) != 0)
            _exit(126);
    }
    if (outFd >= 0) {
        dup2(outFd, 1);
    }
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

int waitFor(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

int freePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

}  // namespace

TempFolder::TempFolder()
{
    std::string pattern = env("TMPDIR", "/tmp") + "/vendettix-board-test-XXXXXX";
    // with no folder of its own a test would write beside the root's files
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ignored);
}

std::string testReplayer()
{
    const std::string chosen = env("VX_BOARD_REPLAYER");
    if (!chosen.empty())
        return chosen;
#if defined(__SANITIZE_ADDRESS__)
    // a sanitized replayer's report of what it leaves allocated at its exit would turn its
    // status to a failure; the board's own processes keep their leak check
    return "env ASAN_OPTIONS=detect_leaks=0 " + env("VX_BINARY_DIR", ".") + "/vendettix-replay";
#else
    return env("VX_BINARY_DIR", ".") + "/vendettix-replay";
#endif
}

std::string sourceFile(const std::string& relative)
{
    return env("VX_SOURCE_DIR", ".") + "/" + relative;
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

BoardProcess::~BoardProcess()
{
    stop();
}

bool BoardProcess::start(const std::vector<std::string>& args, bool worker)
{
    int out[2];
    if (pipe(out) != 0)
        return false;
    std::vector<std::string> argv{env("VX_BINARY_DIR", ".") + "/vendettix-board"};
    if (!worker)
        argv.insert(argv.end(), {"--listen", "127.0.0.1:0"});
    else
        argv.push_back("--worker");
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = spawn(argv, out[1], uid_t(-1), gid_t(-1));
    close(out[1]);
    // the first line says where it answers; nothing more is read, so it must print no more
    // than a pipe holds
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(out[0]);
    if (worker)
        return line.find("worker") != std::string::npos;
    const size_t at = line.find("http://127.0.0.1:");
    if (at == std::string::npos)
        return false;
    port_ = std::atoi(line.c_str() + at + 17);
    return port_ > 0;
}

void BoardProcess::stop()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitFor(pid_);
        pid_ = -1;
    }
}

void BoardProcess::killHard()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitFor(pid_);
        pid_ = -1;
    }
}

TestPostgres::TestPostgres()
{
    glob_t found{};
    if (glob("/usr/lib/postgresql/*/bin/initdb", 0, nullptr, &found) == 0 && found.gl_pathc > 0) {
        pgBin_ = found.gl_pathv[found.gl_pathc - 1];
        pgBin_.erase(pgBin_.rfind('/'));
    }
    globfree(&found);
    if (pgBin_.empty()) {
        problem_ = "PostgreSQL is not installed (Debian's postgresql)";
        return;
    }
    // the server refuses to run as root: it runs as nobody then, in a folder nobody owns
    uid_t uid = uid_t(-1);
    gid_t gid = gid_t(-1);
    if (geteuid() == 0) {
        const passwd* nobody = getpwnam("nobody");
        if (!nobody) {
            problem_ = "running as root with no user nobody to run PostgreSQL as";
            return;
        }
        uid = nobody->pw_uid;
        gid = nobody->pw_gid;
        if (chown(folder_.path().c_str(), uid, gid) != 0) {
            problem_ = "cannot give the server's folder to nobody";
            return;
        }
    }
    const std::string data = folder_.path() + "/data";
    const int quiet = open((folder_.path() + "/initdb.log").c_str(), O_WRONLY | O_CREAT, 0666);
    if (uid != uid_t(-1) && quiet >= 0)
        fchown(quiet, uid, gid);
    const pid_t init = spawn({pgBin_ + "/initdb", "-D", data, "-U", "board", "--auth=trust",
                              "--no-sync", "-E", "UTF8"},
                             quiet, uid, gid);
    const int initStatus = waitFor(init);
    if (quiet >= 0)
        close(quiet);
    if (!WIFEXITED(initStatus) || WEXITSTATUS(initStatus) != 0) {
        problem_ = "initdb failed (" + folder_.path() + "/initdb.log)";
        return;
    }
    const int port = freePort();
    const int log = open((folder_.path() + "/server.log").c_str(), O_WRONLY | O_CREAT, 0666);
    if (uid != uid_t(-1) && log >= 0)
        fchown(log, uid, gid);
    pid_ = spawn({pgBin_ + "/postgres", "-D", data, "-h", "127.0.0.1", "-p", std::to_string(port),
                  "-k", folder_.path(), "-c", "fsync=off", "-c", "max_connections=200"},
                 log, uid, gid);
    if (log >= 0)
        close(log);
    // ready when pg_isready says so; a server that never gets there fails the tests after a
    // minute rather than hanging them
    for (int i = 0; i < 600; ++i) {
        const pid_t check = spawn({pgBin_ + "/pg_isready", "-q", "-h", "127.0.0.1", "-p",
                                   std::to_string(port)},
                                  -1, uid_t(-1), gid_t(-1));
        const int status = waitFor(check);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            url_ = "postgresql://board@127.0.0.1:" + std::to_string(port) + "/postgres";
            return;
        }
        int childStatus = 0;
        if (waitpid(pid_, &childStatus, WNOHANG) == pid_) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    problem_ = "PostgreSQL did not start (" + folder_.path() + "/server.log)";
}

TestPostgres::~TestPostgres()
{
    if (pid_ > 0) {
        // the fast shutdown
        kill(pid_, SIGINT);
        waitFor(pid_);
    }
}

std::string run(const std::string& command, int* status)
{
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    size_t n;
    while (pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    const int raw = pipe ? pclose(pipe) : -1;
    *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}
