// SPDX-License-Identifier: MIT
// tests: the end-to-end harness. Processes are started with fork/exec and an environment built
// beforehand, and stopped by pid; nothing here looks for processes by name.
#include "tests/support/e2e_harness.h"

#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace fs = std::filesystem;

namespace {

double now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void pause(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

std::string envOr(const char* name, const std::string& fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

// argv and envp for execve, prepared before fork so the child only calls async-safe functions
struct ExecArgs {
    std::vector<std::string> strings;
    std::vector<char*> pointers;
    ExecArgs(const std::vector<std::string>& s) : strings(s)
    {
        for (std::string& str : strings)
            pointers.push_back(str.data());
        pointers.push_back(nullptr);
    }
    char** get() { return pointers.data(); }
};

int statusCode(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

// SIGTERM, a grace period, then SIGKILL; always reaps
void stopProcess(pid_t pid, double graceSeconds)
{
    if (pid <= 0)
        return;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid)
        return;
    kill(pid, SIGTERM);
    double until = now() + graceSeconds;
    while (now() < until) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return;
        pause(0.02);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, double timeoutSeconds, double pollSeconds)
{
    double until = now() + timeoutSeconds;
    for (;;) {
        if (condition())
            return true;
        if (now() >= until)
            return false;
        pause(pollSeconds);
    }
}

long Screenshot::litPixels(int threshold) const
{
    long lit = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        if (rgb[i] > threshold || rgb[i + 1] > threshold || rgb[i + 2] > threshold)
            ++lit;
    return lit;
}

std::string Screenshot::save(const std::string& name) const
{
    std::string dir = envOr("VX_BINARY_DIR", ".") + "/test-shots";
    std::error_code ec;
    fs::create_directories(dir, ec);
    std::string ppm = dir + "/" + name + ".ppm";
    std::string png = dir + "/" + name + ".png";
    FILE* f = std::fopen(ppm.c_str(), "wb");
    if (!f)
        return "";
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    std::fwrite(rgb.data(), 1, rgb.size(), f);
    std::fclose(f);
    std::string convert = "convert '" + ppm + "' '" + png + "' 2>/dev/null && rm -f '" + ppm + "'";
    return std::system(convert.c_str()) == 0 ? png : ppm;
}

Screenshot parsePpm(const std::string& bytes)
{
    Screenshot shot;
    size_t pos = 0;
    auto token = [&]() {
        std::string t;
        while (pos < bytes.size()) {
            char c = bytes[pos];
            if (c == '#') {
                while (pos < bytes.size() && bytes[pos] != '\n')
                    ++pos;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                if (!t.empty())
                    break;
                ++pos;
            } else {
                t += c;
                ++pos;
            }
        }
        return t;
    };
    if (token() != "P6")
        return shot;
    int w = std::atoi(token().c_str());
    int h = std::atoi(token().c_str());
    int maxval = std::atoi(token().c_str());
    ++pos;  // the single blank before the samples
    size_t need = size_t(w) * size_t(h) * 3;
    if (w <= 0 || h <= 0 || maxval != 255 || bytes.size() < pos + need)
        return shot;
    shot.width = w;
    shot.height = h;
    shot.rgb.assign(bytes.begin() + long(pos), bytes.begin() + long(pos + need));
    return shot;
}

E2eGame::E2eGame(const std::string& screen) : screen_(screen + "x24")
{
    std::string tmpl = envOr("TMPDIR", "/tmp") + "/vx-e2e-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()))
        baseDir_ = buf.data();
    runDir_ = baseDir_ + "/run";
    stdoutPath_ = baseDir_ + "/stdout.txt";
    stderrPath_ = baseDir_ + "/stderr.txt";
    layOutRunDir();
    startDisplay();
}

E2eGame::~E2eGame()
{
    stopGame();
    stopDisplay();
    if (!baseDir_.empty() && !std::getenv("VX_KEEP_E2E")) {
        std::error_code ec;
        fs::remove_all(baseDir_, ec);
    }
}

void E2eGame::layOutRunDir()
{
    std::error_code ec;
    fs::create_directories(runDir_, ec);
    std::string assets = envOr("VX_RUN_DIR", "");
    if (assets.empty() || !fs::is_directory(assets, ec))
        return;
    for (const fs::directory_entry& entry : fs::directory_iterator(assets, ec))
        if (entry.is_regular_file(ec))
            fs::copy_file(entry.path(), runDir_ + "/" + entry.path().filename().string(),
                          fs::copy_options::overwrite_existing, ec);
}

bool E2eGame::removeAsset(const std::string& name)
{
    std::error_code ec;
    return fs::remove(assetPath(name), ec);
}

bool E2eGame::writeAsset(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(assetPath(name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

void E2eGame::startDisplay()
{
    int fds[2];
    if (pipe(fds) != 0)
        return;
    std::string fd = std::to_string(fds[1]);
    ExecArgs argv({"Xvfb", "-displayfd", fd, "-screen", "0", screen_, "-nolisten", "tcp",
                   "-noreset"});
    ExecArgs envp(environment(false));
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, 0);
        dup2(devNull, 1);
        dup2(devNull, 2);
        setpgid(0, 0);
        execvpe("Xvfb", argv.get(), envp.get());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return;
    }
    xvfbPid_ = pid;
    // the server writes its display number once it accepts connections
    std::string number;
    double until = now() + 60.0;
    while (now() < until) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 200) > 0) {
            char c;
            ssize_t n = read(fds[0], &c, 1);
            if (n <= 0 || c == '\n')
                break;
            number += c;
        }
        int status;
        if (waitpid(xvfbPid_, &status, WNOHANG) == xvfbPid_) {
            xvfbPid_ = -1;
            break;
        }
    }
    close(fds[0]);
    if (!number.empty())
        display_ = ":" + number;
}

void E2eGame::stopDisplay()
{
    stopProcess(xvfbPid_, 5.0);
    xvfbPid_ = -1;
}

std::vector<std::string> E2eGame::environment(bool forGame) const
{
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        size_t eq = entry.find('=');
        if (eq != std::string::npos)
            env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    env.erase("XAUTHORITY");
    // the game must play from the run directory laid out here, not from a developer's data
    env.erase("VENDETTIX_DATA");
    if (!display_.empty())
        env["DISPLAY"] = display_;
    // the player's folders of this run's own: a developer's scores, settings and window place
    // stay untouched, and every game starts as on a first start unless a test sets them
    env["XDG_DATA_HOME"] = homeDir() + "/data";
    env["XDG_STATE_HOME"] = homeDir() + "/state";
    env["XDG_CONFIG_HOME"] = homeDir() + "/config";
    if (forGame) {
        env["LIBGL_ALWAYS_SOFTWARE"] = "1";
        if (!env.count("SDL_AUDIODRIVER"))
            env["SDL_AUDIODRIVER"] = "dummy";
        // The game keeps everything it makes until it exits, by design; at exit the containers'
        // destructors and the GL driver's unloading make that look like leaks. Memory errors
        // and undefined behaviour still end it with a non-zero status.
        std::string& asan = env["ASAN_OPTIONS"];
        asan += std::string(asan.empty() ? "" : ":") + "detect_leaks=0";
        for (const auto& [name, value] : extraEnv_)
            env[name] = value;
    }
    std::vector<std::string> out;
    for (const auto& [name, value] : env)
        out.push_back(name + "=" + value);
    return out;
}

bool E2eGame::start(const std::vector<std::string>& args)
{
    std::string game = envOr("VX_GAME", "");
    if (display_.empty() || game.empty() || access(game.c_str(), X_OK) != 0 || gamePid_ > 0)
        return false;
    gameBinary_ = game;
    std::vector<std::string> argvStrings{game};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    ExecArgs argv(argvStrings);
    ExecArgs envp(environment(true));

    // standard output goes through a terminal so the game's lines arrive as they are written
    int master = -1, slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return false;
    termios raw;
    if (tcgetattr(slave, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
    }
    int err = open(stderrPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    pid_t pid = fork();
    if (pid == 0) {
        setsid();
        int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, 0);
        dup2(slave, 1);
        dup2(err, 2);
        close(master);
        if (chdir(runDir_.c_str()) != 0)
            _exit(126);
        execve(argv.get()[0], argv.get(), envp.get());
        _exit(127);
    }
    close(slave);
    if (err >= 0)
        close(err);
    if (pid < 0) {
        close(master);
        return false;
    }
    gamePid_ = pid;
    exitStatus_ = -1;
    terminal_ = master;
    reader_ = std::thread([this] { readTerminal(); });
    return true;
}

void E2eGame::readTerminal()
{
    std::ofstream copy(stdoutPath_, std::ios::binary);
    char buf[4096];
    for (;;) {
        ssize_t n = read(terminal_, buf, sizeof buf);
        if (n > 0) {
            std::lock_guard<std::mutex> lock(outMutex_);
            stdout_.append(buf, size_t(n));
            copy.write(buf, n);
            copy.flush();
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;  // EIO once the game and its terminal are gone
        }
    }
}

bool E2eGame::reap(bool block)
{
    if (gamePid_ <= 0)
        return true;
    int status = 0;
    pid_t r = waitpid(gamePid_, &status, block ? 0 : WNOHANG);
    if (r != gamePid_)
        return false;
    exitStatus_ = statusCode(status);
    // the game leads its own session: whatever it left behind there (the message box's helper
    // process) still holds the terminal open, so the reader would never see its end
    kill(-gamePid_, SIGKILL);
    gamePid_ = -1;
    if (reader_.joinable())
        reader_.join();
    if (terminal_ >= 0)
        close(terminal_);
    terminal_ = -1;
    return true;
}

bool E2eGame::running()
{
    return gamePid_ > 0 && !reap(false);
}

bool E2eGame::waitForExit(double timeoutSeconds)
{
    return waitUntil([this] { return reap(false); }, timeoutSeconds, 0.05);
}

void E2eGame::stopGame()
{
    if (gamePid_ > 0 && !reap(false)) {
        kill(-gamePid_, SIGTERM);  // the game and anything it started in its session
        if (!waitUntil([this] { return reap(false); }, 5.0, 0.02)) {
            kill(-gamePid_, SIGKILL);
            reap(true);
        }
    }
    if (reader_.joinable())
        reader_.join();
}

std::string E2eGame::stdoutText()
{
    std::lock_guard<std::mutex> lock(outMutex_);
    return stdout_;
}

std::string E2eGame::stderrText() const
{
    return slurp(stderrPath_);
}

bool E2eGame::waitForStdout(const std::string& text, double timeoutSeconds)
{
    return waitUntil([&] { return stdoutText().find(text) != std::string::npos; }, timeoutSeconds);
}

CommandResult E2eGame::runX(const std::vector<std::string>& argvStrings, double timeoutSeconds)
{
    CommandResult result;
    int fds[2];
    if (argvStrings.empty() || pipe2(fds, O_CLOEXEC) != 0)
        return result;
    ExecArgs argv(argvStrings);
    ExecArgs envp(environment(false));
    pid_t pid = fork();
    if (pid == 0) {
        int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, 0);
        dup2(fds[1], 1);
        dup2(devNull, 2);
        execvpe(argv.get()[0], argv.get(), envp.get());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return result;
    }
    double until = now() + timeoutSeconds;
    char buf[65536];
    for (;;) {
        double left = until - now();
        if (left <= 0) {
            result.timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        int ready = poll(&p, 1, int(left * 1000) + 1);
        if (ready <= 0)
            continue;
        ssize_t n = read(fds[0], buf, sizeof buf);
        if (n > 0)
            result.output.append(buf, size_t(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(fds[0]);
    if (result.timedOut) {
        stopProcess(pid, 1.0);
        return result;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = statusCode(status);
    return result;
}

unsigned long E2eGame::findWindow(const std::string& title)
{
    // xwininfo rather than xdotool: xdotool cannot read a UTF-8 title (SDL's message boxes) in
    // the C locale. Lines read like:   0x200002 "Mesh display": ()  600x600+100+100  +100+100
    CommandResult tree = runX({"xwininfo", "-root", "-tree"}, 20.0);
    std::istringstream lines(tree.output);
    std::string line;
    const std::string quoted = "\"" + title + "\":";
    while (std::getline(lines, line)) {
        size_t at = line.find(quoted);
        if (at == std::string::npos)
            continue;
        unsigned long id = std::strtoul(line.c_str(), nullptr, 0);
        if (id && windowInfo(id).viewable)
            return id;
    }
    return 0;
}

WindowInfo E2eGame::windowInfo(unsigned long id)
{
    WindowInfo info = parseWindowInfo(runX({"xwininfo", "-id", std::to_string(id)}, 20.0).output);
    info.id = id;
    return info;
}

bool E2eGame::dismissMessageBox(const std::string& title, double timeoutSeconds)
{
    unsigned long id = 0;
    if (!waitUntil([&] { return (id = findWindow(title)) != 0; }, timeoutSeconds, 0.2))
        return false;
    WindowInfo box = windowInfo(id);
    // focus follows the pointer; Return presses the box's only button, OK
    movePointerOnScreen(box.x + box.width / 2, box.y + box.height / 2);
    tapKey("Return");
    return waitUntil([&] { return !windowInfo(id).viewable; }, timeoutSeconds, 0.2);
}

WindowInfo parseWindowInfo(const std::string& report)
{
    WindowInfo info;
    std::istringstream lines(report);
    std::string line;
    auto field = [&](const char* label, int& out) {
        size_t at = line.find(label);
        if (at != std::string::npos)
            out = std::atoi(line.c_str() + at + std::strlen(label));
    };
    while (std::getline(lines, line)) {
        field("Absolute upper-left X:", info.x);
        field("Absolute upper-left Y:", info.y);
        field("Width:", info.width);
        field("Height:", info.height);
        if (line.find("Map State: IsViewable") != std::string::npos)
            info.viewable = true;
        size_t id = line.find("Window id: ");
        if (id != std::string::npos)
            info.id = std::strtoul(line.c_str() + id + 11, nullptr, 0);
    }
    return info;
}

WindowInfo E2eGame::queryWindow()
{
    return window_.id ? windowInfo(window_.id) : WindowInfo();
}

bool E2eGame::waitForWindow(double timeoutSeconds)
{
    bool found = waitUntil(
        [this] {
            if (!running())
                return true;  // ended before showing it: stop waiting
            unsigned long id = findWindow("Mesh display");
            if (!id)
                return false;
            window_ = windowInfo(id);
            return window_.width > 0;
        },
        timeoutSeconds, 0.2);
    if (!found || !window_.id || gamePid_ <= 0)
        return false;
    // keyboard focus follows the pointer on a bare X server
    movePointer(window_.width / 2, window_.height / 2);
    return true;
}

void E2eGame::movePointer(int x, int y)
{
    movePointerOnScreen(window_.x + x, window_.y + y);
}

void E2eGame::movePointerOnScreen(int x, int y)
{
    runX({"xdotool", "mousemove", std::to_string(x), std::to_string(y)});
}

void E2eGame::keyDown(const std::string& keysym) { runX({"xdotool", "keydown", keysym}); }
void E2eGame::keyUp(const std::string& keysym) { runX({"xdotool", "keyup", keysym}); }
void E2eGame::tapKey(const std::string& keysym)
{
    keyDown(keysym);
    keyUp(keysym);
}
void E2eGame::mouseDown(int button) { runX({"xdotool", "mousedown", std::to_string(button)}); }
void E2eGame::mouseUp(int button) { runX({"xdotool", "mouseup", std::to_string(button)}); }
void E2eGame::click(int button)
{
    mouseDown(button);
    mouseUp(button);
}

Screenshot E2eGame::screenshotScreen()
{
    CommandResult r = runX({"import", "-silent", "-window", "root", "-depth", "8", "ppm:-"}, 60.0);
    if (r.status != 0)
        return Screenshot();
    return parsePpm(r.output);
}

Screenshot E2eGame::screenshot()
{
    Screenshot screen = screenshotScreen();
    const WindowInfo& w = window_;
    if (screen.empty() || w.width <= 0 || w.x < 0 || w.y < 0 || w.x + w.width > screen.width ||
        w.y + w.height > screen.height)
        return screen;
    Screenshot shot;
    shot.width = w.width;
    shot.height = w.height;
    shot.rgb.resize(size_t(w.width) * w.height * 3);
    for (int row = 0; row < w.height; ++row)
        std::memcpy(&shot.rgb[size_t(row) * w.width * 3], screen.at(w.x, w.y + row),
                    size_t(w.width) * 3);
    return shot;
}

bool E2eGame::waitForScreenshot(const std::function<bool(const Screenshot&)>& condition,
                                double timeoutSeconds, Screenshot* last)
{
    Screenshot shot;
    bool ok = waitUntil(
        [&] {
            shot = screenshot();
            return !shot.empty() && condition(shot);
        },
        timeoutSeconds, 0.2);
    if (last)
        *last = shot;
    return ok;
}

namespace {

// the place of a global of the binary, from its symbol table, relative to where it is loaded;
// 0 when it is not there
uint64_t symbolOffset(const std::string& binary, const std::string& symbol)
{
    std::FILE* nm = popen(("nm --defined-only '" + binary + "' 2>/dev/null").c_str(), "r");
    if (!nm)
        return 0;
    char line[512];
    uint64_t offset = 0;
    while (std::fgets(line, sizeof line, nm)) {
        std::istringstream words(line);
        std::string address, kind, name;
        if (words >> address >> kind >> name && name == symbol)
            offset = std::stoull(address, nullptr, 16);
    }
    pclose(nm);
    return offset;
}

}  // namespace

int64_t E2eGame::stepCount()
{
    if (gamePid_ <= 0 || gameBinary_.empty())
        return -1;
    if (stepCountOffset_ == 0)
        stepCountOffset_ = symbolOffset(gameBinary_, "gStepCount");
    char* real = realpath(gameBinary_.c_str(), nullptr);
    const std::string exe = real ? real : gameBinary_;
    std::free(real);
    // the binary's first mapping is where it is loaded
    std::ifstream maps("/proc/" + std::to_string(gamePid_) + "/maps");
    std::string line;
    uint64_t base = 0;
    while (std::getline(maps, line))
        if (line.size() > exe.size() &&
            line.compare(line.size() - exe.size(), exe.size(), exe) == 0) {
            base = std::stoull(line.substr(0, line.find('-')), nullptr, 16);
            break;
        }
    if (stepCountOffset_ == 0 || base == 0)
        return -1;
    std::ifstream mem("/proc/" + std::to_string(gamePid_) + "/mem", std::ios::binary);
    mem.seekg(std::streamoff(base + stepCountOffset_));
    int64_t steps = -1;
    mem.read(reinterpret_cast<char*>(&steps), sizeof steps);
    return mem ? steps : -1;
}

bool E2eGame::waitForSteps(int64_t steps, double timeoutSeconds)
{
    const int64_t from = stepCount();
    if (from < 0)
        return false;
    return waitUntil(
        [&] {
            const int64_t at = stepCount();
            return at < 0 || at >= from + steps;
        },
        timeoutSeconds, 0.02) && stepCount() >= from + steps;
}

bool E2eGame::waitForScreenshotInSteps(const std::function<bool(const Screenshot&)>& condition,
                                       int64_t steps, Screenshot* last, double timeoutSeconds)
{
    const int64_t from = stepCount();
    Screenshot shot;
    bool held = false;
    waitUntil(
        [&] {
            // the steps first: a picture taken after the last step counts
            const int64_t at = stepCount();
            shot = screenshot();
            held = !shot.empty() && condition(shot);
            return held || at < 0 || from < 0 || at >= from + steps;
        },
        timeoutSeconds, 0.2);
    if (last)
        *last = shot;
    return held;
}

Screenshot E2eGame::screenshotAfterSteps(int64_t steps)
{
    waitForSteps(steps);
    return screenshot();
}

bool E2eGame::askWindowToClose()
{
    if (window_.id == 0)
        return false;
    ::Display* x = XOpenDisplay(display_.c_str());
    if (!x)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window_.id;
    event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(x, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(x, window_.id, False, NoEventMask, &event) != 0;
    XSync(x, False);
    XCloseDisplay(x);
    return sent;
}
