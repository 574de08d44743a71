// SPDX-License-Identifier: MIT
// platform: what the rules ask of the machine that not every run has: a sound, a message box.
// The shell installs the real ones (SDL, in vx_platform_display); without them a sound plays
// nothing and a message goes to standard error only, so the rules link no display library.
#pragma once

// starts playing the WAV file and returns at once, at the sound level set (silent when muted)
void playSound(const char* wavFile);
// the sounds' loudness from now on, in percent of the file's; muted plays nothing and leaves the
// sound device as it is
void setSoundLevel(int volume, bool muted);
// the message, titled "Error" or "Warning", in a modal box where the shell can show one; the
// text always reaches standard error
void showMessageBox(const char* text, const char* title);

// the player gets the loudness in percent, 1 to 100
void setSoundPlayer(void (*player)(const char* wavFile, int volume));
void setMessageBoxShower(void (*shower)(const char* text, const char* title));
