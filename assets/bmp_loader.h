// SPDX-License-Identifier: MIT
// assets: the BMP reader behind the textures. No GL here.
#pragma once
#include <cstdint>
#include <cstdio>

struct Image {
    uint32_t width;
    uint32_t height;
    uint8_t* pixels;  // width * height * 3 bytes, red green blue, bottom row first, no padding
};

extern Image* gLoadImage;  // the image being loaded, between its allocation and its release

// little-endian, byte by byte; bytes past the end of the file read as zero
uint32_t readU32LE(FILE* file);
uint16_t readU16LE(FILE* file);
// 1 on success (the caller owns image->pixels and frees it with free()), 0 after printing the
// failure to standard output. Top-down files come out bottom row first like the others.
int loadBmp(const char* fileName, Image* image);
// the same from an open stream (left open); fileName only names it in the messages
int loadBmpFrom(FILE* file, const char* fileName, Image* image);
// the message of the last failure as printed, without its line end; empty after a success
const char* lastBmpError();
