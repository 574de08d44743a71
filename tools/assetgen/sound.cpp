// SPDX-License-Identifier: MIT
// assetgen: the throw's grunt, a short voiced "huh" made the way a voice is: a train of glottal
// pulses with falling pitch through three vowel resonances, breath noise at the onset.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/assetgen.h"

namespace {

constexpr float kPi = 3.14159265358979f;

// a two-pole resonance at `frequency` with the given bandwidth, unit gain at its peak (roughly)
struct Resonator {
    float b1, b2, gain, y1 = 0, y2 = 0;

    Resonator(float frequency, float bandwidth)
    {
        float r = std::exp(-kPi * bandwidth / float(kGruntRate));
        b1 = 2 * r * std::cos(2 * kPi * frequency / float(kGruntRate));
        b2 = -r * r;
        gain = 1 - r;
    }
    float step(float x)
    {
        float y = gain * x + b1 * y1 + b2 * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// one period of the glottal flow: a smooth opening, a quicker closing, then closed
float glottalFlow(float phase)
{
    if (phase < 0.42f)
        return 0.5f * (1 - std::cos(kPi * phase / 0.42f));
    if (phase < 0.6f)
        return std::cos(0.5f * kPi * (phase - 0.42f) / 0.18f);
    return 0;
}

}  // namespace

std::vector<int16_t> makeGrunt()
{
    const float duration = 0.3f;
    const int count = int(duration * float(kGruntRate));
    Rng rng(0x6E47u);
    Resonator f1(640, 110), f2(1120, 130), f3(2500, 200);
    Resonator breath(1600, 900);
    std::vector<float> voiced(size_t(count), 0.0f), breathed(size_t(count), 0.0f);
    float phase = 0, previousFlow = 0;
    for (int n = 0; n < count; ++n) {
        float t = float(n) / float(kGruntRate);
        // the effort: pitch jumps up and falls away, with a little roughness
        float pitch = 105.0f + 70.0f * std::exp(-t / 0.07f) + rng.range(-4, 4);
        phase += pitch / float(kGruntRate);
        if (phase >= 1)
            phase -= 1;
        float flow = glottalFlow(phase);
        float voice = flow - previousFlow;  // the lips pass on the flow's change
        previousFlow = flow;
        float voicing = std::min(1.0f, t / 0.02f) * (t < 0.14f ? 1.0f : std::exp(-(t - 0.14f) / 0.05f));
        voiced[size_t(n)] = f3.step(f2.step(f1.step(voice * voicing)));
        float breathing = std::min(1.0f, t / 0.005f) * (0.8f * std::exp(-t / 0.03f) + 0.2f) * (1.0f - t / duration);
        breathed[size_t(n)] = breath.step(rng.range(-1, 1)) * breathing;
    }
    auto peakOf = [](const std::vector<float>& w) {
        float peak = 1e-9f;
        for (float v : w)
            peak = std::max(peak, std::fabs(v));
        return peak;
    };
    float voicedPeak = peakOf(voiced), breathPeak = peakOf(breathed);
    std::vector<float> wave(static_cast<size_t>(count));
    for (size_t n = 0; n < wave.size(); ++n)
        wave[n] = voiced[n] / voicedPeak + 0.3f * breathed[n] / breathPeak;
    float peak = peakOf(wave);
    std::vector<int16_t> samples(static_cast<size_t>(count));
    for (int n = 0; n < count; ++n) {
        float fade = std::min(1.0f, float(count - 1 - n) / (0.01f * float(kGruntRate)));
        samples[size_t(n)] = int16_t(std::lround(wave[size_t(n)] / peak * 0.8f * 32767.0f * fade));
    }
    return samples;
}
