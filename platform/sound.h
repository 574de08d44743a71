// SPDX-License-Identifier: MIT
// platform: fire-and-forget playback of a WAV file.
#pragma once

// starts playing the file at volume percent of its loudness and returns at once; a new sound
// replaces one still playing. No audio device, a missing or unreadable file: nothing plays,
// nothing is printed.
void platformPlaySound(const char* wavFile, int volume);
