// SPDX-License-Identifier: MIT
// platform: the sound and the message box, through what the shell installed.
#include "platform/services.h"

#include <cstdio>

static void (*sPlayer)(const char*, int) = nullptr;
static void (*sShower)(const char*, const char*) = nullptr;
static int sVolume = 100;
static bool sMuted = false;

void setSoundPlayer(void (*player)(const char* wavFile, int volume))
{
    sPlayer = player;
}

void setSoundLevel(int volume, bool muted)
{
    sVolume = volume < 0 ? 0 : volume > 100 ? 100 : volume;
    sMuted = muted;
}

void setMessageBoxShower(void (*shower)(const char* text, const char* title))
{
    sShower = shower;
}

void playSound(const char* wavFile)
{
    if (sPlayer && !sMuted && sVolume > 0)
        sPlayer(wavFile, sVolume);
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
