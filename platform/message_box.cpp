// platform: the model loader's message boxes. The text always reaches standard error, so a run
// without a display (tests, a terminal over ssh) still shows it and never waits for a click.
#include "platform/message_box.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    SDL_ShowSimpleMessageBox(boxKind(title), title, text, nullptr);
}
