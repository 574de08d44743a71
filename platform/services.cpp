// SPDX-License-Identifier: MIT
// platform: the sound and the message box, through what the shell installed.
#include "platform/services.h"

#include <cstdio>

static void (*sPlayer)(const char*) = nullptr;
static void (*sShower)(const char*, const char*) = nullptr;

void setSoundPlayer(void (*player)(const char* wavFile))
{
    sPlayer = player;
}

void setMessageBoxShower(void (*shower)(const char* text, const char* title))
{
    sShower = shower;
}

void playSound(const char* wavFile)
{
    if (sPlayer)
        sPlayer(wavFile);
}

void showMessageBox(const char* text, const char* title)
{
    if (sShower) {
        sShower(text, title);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
    std::fflush(stderr);
}
