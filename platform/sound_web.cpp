// SPDX-License-Identifier: MIT
// platform: the throw's sound in the page, through Web Audio (app/web/page.js decodes the WAV
// file once and plays it). No audio in the browser: nothing plays, nothing is said.
#include "platform/sound.h"

#include <emscripten.h>

#include <fstream>
#include <iterator>
#include <string>

// the page keeps each file decoded by its name; the bytes go along every time, a few kilobytes
EM_JS(void, vx_page_play_sound, (const char* name, const unsigned char* bytes, int size, int volume), {
    if (Module.vxPlaySound)
        Module.vxPlaySound(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size), volume);
});

void platformPlaySound(const char* wavFile, int volume)
{
    if (!wavFile)
        return;
    std::ifstream in(wavFile, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.empty())
        return;
    vx_page_play_sound(wavFile, reinterpret_cast<const unsigned char*>(bytes.data()),
                       int(bytes.size()), volume);
}
