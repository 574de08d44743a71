// SPDX-License-Identifier: MIT
// tools: writes uncompressed 24-bit BMP files and 16-bit PCM WAV files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// rgb: width * height * 3 bytes, red green blue, bottom row first. Rows are padded to 4 bytes
// as the format requires; the pixel data starts at byte 54.
std::vector<uint8_t> makeBmp24(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);

// mono 16-bit PCM
std::vector<uint8_t> makeWav16(const std::vector<int16_t>& samples, uint32_t sampleRate);

bool saveBytes(const std::string& path, const std::vector<uint8_t>& bytes);
