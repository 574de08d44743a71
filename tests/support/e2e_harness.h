// SPDX-License-Identifier: MIT
// tests: drives the real game binary under a virtual X server of its own, with real X input.
//
//   E2eGame game;                        // starts Xvfb, lays out a run directory with the assets
//   game.removeAsset("Stucco.bmp");      // optional: damage the run directory before the start
//   ASSERT_TRUE(game.start());           // the binary named by VX_GAME, in the run directory
//   ASSERT_TRUE(game.waitForWindow());   // "Mesh display" mapped; the pointer is moved into it
//   game.tapKey("q");
//   ASSERT_TRUE(game.waitForExit());
//   EXPECT_EQ(game.exitStatus(), 0);
//
// The game's XDG data, state and config folders are the run's own (homeDir()), shared by every
// start of one E2eGame and by runX, unless a test sets them with setGameEnv.
//
// Everything it starts (Xvfb, the game, xdotool and friends) it stops by pid; the run directory
// is removed at the end unless VX_KEEP_E2E is set. Timeouts are generous for a loaded machine.
// Under the sanitizers the game runs without the leak check at exit (it frees nothing by design);
// a memory error still ends it with a non-zero status.
#pragma once
#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// polls the condition until it holds or the time is up; true if it held
bool waitUntil(const std::function<bool()>& condition, double timeoutSeconds,
               double pollSeconds = 0.05);

struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // top row first, 3 bytes a pixel
    const uint8_t* at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
    bool empty() const { return rgb.empty(); }
    // how many pixels are not (nearly) black
    long litPixels(int threshold = 16) const;
    // writes a PNG under $VX_BINARY_DIR/test-shots for a person to look at; returns its path
    std::string save(const std::string& name) const;
};

// parses binary PPM (P6, maxval 255); empty on anything else
Screenshot parsePpm(const std::string& bytes);

struct WindowInfo {
    unsigned long id = 0;
    int x = 0, y = 0;          // upper-left corner on the screen
    int width = 0, height = 0;
    bool viewable = false;     // mapped and on screen
};

// the geometry in xwininfo's report
WindowInfo parseWindowInfo(const std::string& xwininfoOutput);

struct CommandResult {
    int status = -1;           // exit status; 128 + signal if killed
    bool timedOut = false;
    std::string output;        // standard output
};

class E2eGame {
public:
    // the virtual screen's size, WxH
    explicit E2eGame(const std::string& screen = "1280x1024");
    ~E2eGame();
    E2eGame(const E2eGame&) = delete;
    E2eGame& operator=(const E2eGame&) = delete;

    // --- before the start -----------------------------------------------------------------
    const std::string& runDir() const { return runDir_; }
    // holds the game's data/, state/ and config/ folders
    std::string homeDir() const { return baseDir_ + "/home"; }
    std::string assetPath(const std::string& name) const { return runDir_ + "/" + name; }
    bool removeAsset(const std::string& name);
    bool writeAsset(const std::string& name, const std::vector<uint8_t>& bytes);
    // an extra environment variable for the game
    void setGameEnv(const std::string& name, const std::string& value) { extraEnv_[name] = value; }

    // --- the game process -----------------------------------------------------------------
    // starts $VX_GAME in the run directory; false if the display or the binary is missing
    bool start(const std::vector<std::string>& args = {});
    // waits for the "Mesh display" window; false on time-out or if the game ends first
    bool waitForWindow(double timeoutSeconds = 180.0);
    bool running();
    // waits for the game to end; true if it did
    bool waitForExit(double timeoutSeconds = 60.0);
    // exit status once ended: the code, or 128 + signal; -1 while running
    int exitStatus() const { return exitStatus_; }
    // the game's process id while it runs (its session and process group too); -1 otherwise
    pid_t gamePid() const { return gamePid_; }
    // what the game wrote so far (standard output through a terminal, so line by line)
    std::string stdoutText();
    std::string stderrText() const;
    bool waitForStdout(const std::string& text, double timeoutSeconds = 60.0);
    void stopGame();

    // --- the game's own clock --------------------------------------------------------------
    // A test that waits for the game judges by the steps it has run, not by the wall's time, so
    // a loaded machine makes it slower, never wrong; the wall's timeouts are only a safety net.
    // the steps the game has run (its gStepCount, read from its memory); -1 when it cannot be
    // read (no game running, or a binary without its symbol table)
    int64_t stepCount();
    // waits until the game has run `steps` more steps than when called; false if the game ended
    // first or the safety net ran out
    bool waitForSteps(int64_t steps, double timeoutSeconds = 600.0);

    // --- the window and X input (window coordinates: from the window's upper left) ----------
    const WindowInfo& window() const { return window_; }
    // the window's geometry as the X server reports it now (xwininfo)
    WindowInfo queryWindow();
    // a viewable window whose title matches exactly (the menu is "freeglut menu"); 0 if none
    unsigned long findWindow(const std::string& title);
    WindowInfo windowInfo(unsigned long id);
    // waits for the message box with this title and presses its OK; true once it has gone
    bool dismissMessageBox(const std::string& title, double timeoutSeconds = 60.0);
    // asks the game's window to close, as a window manager's close button does (the
    // WM_DELETE_WINDOW message); true if the message was sent
    bool askWindowToClose();
    void movePointer(int x, int y);
    void movePointerOnScreen(int x, int y);
    void keyDown(const std::string& keysym);
    void keyUp(const std::string& keysym);
    void tapKey(const std::string& keysym);
    void mouseDown(int button);
    void mouseUp(int button);
    void click(int button);
    // the window's area of the screen (so pop-up menus over it show too)
    Screenshot screenshot();
    Screenshot screenshotScreen();
    // waits until a screenshot satisfies the condition; the last one is left in *last
    bool waitForScreenshot(const std::function<bool(const Screenshot&)>& condition,
                           double timeoutSeconds = 60.0, Screenshot* last = nullptr);
    // the same, judged by the game's clock: false only once the game has run `steps` steps since
    // the call and a screenshot taken after that still fails (or the game ended, or the safety
    // net ran out)
    bool waitForScreenshotInSteps(const std::function<bool(const Screenshot&)>& condition,
                                  int64_t steps, Screenshot* last = nullptr,
                                  double timeoutSeconds = 600.0);
    // a screenshot once the game has run `steps` steps more (and so drawn frames after them)
    Screenshot screenshotAfterSteps(int64_t steps);

    // --- anything else ---------------------------------------------------------------------
    // runs an X client on this display, standard output captured
    CommandResult runX(const std::vector<std::string>& argv, double timeoutSeconds = 30.0);
    const std::string& display() const { return display_; }

private:
    void startDisplay();
    void stopDisplay();
    void layOutRunDir();
    bool reap(bool block);
    void readTerminal();
    std::vector<std::string> environment(bool forGame) const;

    std::string baseDir_, runDir_, stderrPath_, stdoutPath_;
    std::string display_;
    std::string screen_;
    pid_t xvfbPid_ = -1;
    pid_t gamePid_ = -1;
    uint64_t stepCountOffset_ = 0;  // gStepCount's place in the binary, once looked up
    std::string gameBinary_;
    int exitStatus_ = -1;
    int terminal_ = -1;
    std::thread reader_;
    std::mutex outMutex_;
    std::string stdout_;
    WindowInfo window_;
    std::map<std::string, std::string> extraEnv_;
};
