// SPDX-License-Identifier: MIT
// tools: BMP and WAV writers.
#include "tools/writers/image_writer.h"

#include <cstdio>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> makeBmp24(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb)
{
    uint32_t rowBytes = (width * 3 + 3) & ~3u;
    uint32_t imageBytes = rowBytes * height;
    std::vector<uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + imageBytes);  // file size
    put32(out, 0);                // reserved
    put32(out, 54);               // pixel data offset
    put32(out, 40);               // info header size
    put32(out, width);
    put32(out, height);
    put16(out, 1);                // planes
    put16(out, 24);               // bits per pixel
    put32(out, 0);                // no compression
    put32(out, imageBytes);
    put32(out, 2835);             // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (uint32_t pad = width * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> makeWav16(const std::vector<int16_t>& samples, uint32_t sampleRate)
{
    uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::vector<uint8_t> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, 1);               // PCM
    put16(out, 1);               // mono
    put32(out, sampleRate);
    put32(out, sampleRate * 2);  // bytes per second
    put16(out, 2);               // block align
    put16(out, 16);              // bits per sample
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, dataBytes);
    for (int16_t s : samples)
        put16(out, uint16_t(s));
    return out;
}

bool saveBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
