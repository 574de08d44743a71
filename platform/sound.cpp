// SPDX-License-Identifier: MIT
// platform: fire-and-forget WAV playback through SDL's audio queue. The device opens at the first
// sound; if it cannot, the game plays nothing for the rest of the run and says nothing.
#include "platform/sound.h"

#include <SDL.h>

#include "platform/sdl_hints.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <vector>

namespace {

// the sound libraries below SDL print their complaints (no card, no server) straight to
// standard error; the game promises silence, so they talk to /dev/null while the device opens
class StderrSilenced {
public:
    StderrSilenced()
    {
        std::fflush(stderr);
        saved = dup(STDERR_FILENO);
        int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved >= 0 && devNull >= 0)
            dup2(devNull, STDERR_FILENO);
        if (devNull >= 0)
            close(devNull);
    }
    ~StderrSilenced()
    {
        std::fflush(stderr);
        if (saved >= 0) {
            dup2(saved, STDERR_FILENO);
            close(saved);
        }
    }
    StderrSilenced(const StderrSilenced&) = delete;
    StderrSilenced& operator=(const StderrSilenced&) = delete;

private:
    int saved = -1;
};

enum class AudioState { Untried, Open, Unavailable };

AudioState sState = AudioState::Untried;
SDL_AudioDeviceID sDevice = 0;
SDL_AudioSpec sDeviceSpec;

bool openAudio()
{
    if (sState == AudioState::Untried) {
        sState = AudioState::Unavailable;
        StderrSilenced quiet;
        prepareSdl();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        SDL_AudioSpec wanted;
        SDL_zero(wanted);
        wanted.freq = 44100;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = 1024;
        wanted.callback = nullptr;  // queued, not pulled
        sDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &sDeviceSpec, SDL_AUDIO_ALLOW_ANY_CHANGE);
        if (sDevice == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        SDL_PauseAudioDevice(sDevice, 0);
        sState = AudioState::Open;
    }
    return sState == AudioState::Open;
}

// the file's samples in the device's format; empty if the file cannot be read or converted
std::vector<Uint8> loadConverted(const char* wavFile)
{
    std::vector<Uint8> samples;
    SDL_AudioSpec fileSpec;
    Uint8* fileData = nullptr;
    Uint32 fileLength = 0;
    if (!SDL_LoadWAV(wavFile, &fileSpec, &fileData, &fileLength))
        return samples;

    SDL_AudioCVT cvt;
    int needed = SDL_BuildAudioCVT(&cvt, fileSpec.format, fileSpec.channels, fileSpec.freq,
                                   sDeviceSpec.format, sDeviceSpec.channels, sDeviceSpec.freq);
    if (needed >= 0) {
        cvt.len = int(fileLength);
        samples.resize(size_t(fileLength) * size_t(cvt.len_mult > 0 ? cvt.len_mult : 1));
        SDL_memcpy(samples.data(), fileData, fileLength);
        cvt.buf = samples.data();
        if (needed == 0)
            samples.resize(fileLength);
        else if (SDL_ConvertAudio(&cvt) == 0)
            samples.resize(size_t(cvt.len_cvt));
        else
            samples.clear();
    }
    SDL_FreeWAV(fileData);
    return samples;
}

} // namespace

void platformPlaySound(const char* wavFile, int volume)
{
    if (!wavFile || !openAudio())
        return;
    std::vector<Uint8> samples = loadConverted(wavFile);
    if (samples.empty())
        return;
    if (volume < 100) {
        // mixed into silence at the volume asked for; at 100 the samples go as they are
        std::vector<Uint8> quieter(samples.size(), 0);
        if (sDeviceSpec.format == AUDIO_U8)
            std::fill(quieter.begin(), quieter.end(), Uint8(0x80));
        SDL_MixAudioFormat(quieter.data(), samples.data(), sDeviceSpec.format,
                           Uint32(samples.size()), volume * SDL_MIX_MAXVOLUME / 100);
        samples.swap(quieter);
    }
    // a new throw cuts the previous grunt short
    SDL_ClearQueuedAudio(sDevice);
    SDL_QueueAudio(sDevice, samples.data(), Uint32(samples.size()));
}
