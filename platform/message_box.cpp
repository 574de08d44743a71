// SPDX-License-Identifier: MIT
// platform: the loaders' message boxes. The text always reaches standard error, so a run
// without a display (tests, a terminal over ssh) still shows it and never waits for a click.
#include "platform/message_box.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl_hints.h"

static bool displayAvailable()
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return false;
    Display* display = XOpenDisplay(name);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

static Uint32 boxKind(const char* title)
{
    if (std::strcmp(title, "Error") == 0)
        return SDL_MESSAGEBOX_ERROR;
    if (std::strcmp(title, "Warning") == 0)
        return SDL_MESSAGEBOX_WARNING;
    return SDL_MESSAGEBOX_INFORMATION;
}

static void endBoxGroup(int)
{
    kill(0, SIGKILL);
}

// SDL shows the box from a child process of its own, which would outlive a game ended by a
// signal. The box therefore runs under a helper in a process group of its own that takes the
// group down when the game goes, however it goes (the kernel tells it when the thread that
// showed the box ends: the main thread here). Waits until the box is closed.
static void showBox(Uint32 kind, const char* title, const char* text)
{
    pid_t game = getpid();
    pid_t helper = fork();
    if (helper < 0) {
        SDL_ShowSimpleMessageBox(kind, title, text, nullptr);
        return;
    }
    if (helper == 0) {
        setpgid(0, 0);
        signal(SIGTERM, endBoxGroup);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != game)  // gone before the line above
            endBoxGroup(0);
        SDL_ShowSimpleMessageBox(kind, title, text, nullptr);
        _exit(0);
    }
    while (waitpid(helper, nullptr, 0) < 0 && errno == EINTR) {
    }
}

void platformMessageBox(const char* text, const char* title)
{
    if (!text)
        text = "";
    if (!title)
        title = "";
    std::fprintf(stderr, "%s: %s\n", title, text);
    std::fflush(stderr);
    if (!displayAvailable())
        return;
    prepareSdl();
    showBox(boxKind(title), title, text);
}
