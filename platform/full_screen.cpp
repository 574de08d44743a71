// SPDX-License-Identifier: MIT
// platform: full-screen requests, forwarded to whatever the shell installed.
#include "platform/full_screen.h"

static void (*sHandler)() = nullptr;

void requestFullScreenToggle()
{
    if (sHandler)
        sHandler();
}

void setFullScreenHandler(void (*handler)()) { sHandler = handler; }
