// SPDX-License-Identifier: MIT
// platform: the loaders' message boxes in the page: the text goes to standard error (the
// browser's console) and shows in the page's message overlay, which the player closes. The
// game does not wait for it: a page cannot stop for a click.
#include "platform/message_box.h"

#include <emscripten.h>

#include <cstdio>

EM_JS(void, vx_page_show_message, (const char* title, const char* text), {
    if (Module.vxShowMessage)
        Module.vxShowMessage(UTF8ToString(title), UTF8ToString(text));
});

void platformMessageBox(const char* text, const char* title)
{
    if (!text)
        text = "";
    if (!title)
        title = "";
    std::fprintf(stderr, "%s: %s\n", title, text);
    std::fflush(stderr);
    vx_page_show_message(title, text);
}
