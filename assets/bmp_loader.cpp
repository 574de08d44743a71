// SPDX-License-Identifier: MIT
// assets: reads uncompressed 24-bit BMP files.
//
// The pixels are taken from the offset the file header names, row by row when the rows carry
// padding or run top down. Sizes are worked out in 64 bits and checked against the file before
// anything is allocated: a pixel block that cannot be in the file is a short read.
#include "assets/bmp_loader.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <utility>

Image* gLoadImage = nullptr;

namespace {

constexpr long kDataOffsetField = 10;
constexpr long kInfoHeaderSizeField = 14;
constexpr uint32_t kSmallestInfoHeader = 40;  // the older 12-byte header has 16-bit sizes
constexpr uint16_t kPlanes = 1;
constexpr uint16_t kBitsPerPixel = 24;
constexpr uint32_t kUncompressed = 0;

char sLastError[512] = "";

// prints the failure to standard output as the loader always has, and keeps it for the caller
void report(const char* format, ...)
{
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    std::vprintf(format, args);
    std::vsnprintf(sLastError, sizeof sLastError, format, again);
    va_end(again);
    va_end(args);
    size_t length = std::strlen(sLastError);
    if (length > 0 && sLastError[length - 1] == '\n')
        sLastError[length - 1] = '\0';
}

uint64_t fileSize(FILE* file)
{
    off_t here = ftello(file);
    if (fseeko(file, 0, SEEK_END) != 0)
        return 0;
    off_t end = ftello(file);
    fseeko(file, here, SEEK_SET);
    return end > 0 ? uint64_t(end) : 0;
}

// the rows come out bottom row first whichever way the file stores them
bool readRows(FILE* file, uint8_t* pixels, uint64_t rowBytes, uint64_t paddedRowBytes,
              uint32_t rows, bool topDown)
{
    if (rowBytes == 0)  // rows of no pixels hold nothing to read, however many
        return true;
    if (rowBytes == paddedRowBytes && !topDown)  // no padding: the block in one piece
        return std::fread(pixels, 1, rowBytes * rows, file) == rowBytes * rows;
    for (uint32_t y = 0; y < rows; ++y) {
        uint32_t row = topDown ? rows - 1 - y : y;
        if (std::fread(pixels + row * rowBytes, 1, rowBytes, file) != rowBytes)
            return false;
        if (y + 1 < rows && fseeko(file, off_t(paddedRowBytes - rowBytes), SEEK_CUR) != 0)
            return false;
    }
    return true;
}

}  // namespace

int loadBmpFrom(FILE* file, const char* fileName, Image* image)
{
    sLastError[0] = '\0';
    char signature[2] = {0, 0};
    std::fseek(file, 0, SEEK_SET);
    size_t got = std::fread(signature, 1, 2, file);
    if (got != 2 || signature[0] != 'B' || signature[1] != 'M') {
        report("%s is not a BMP file\n", fileName);
        return 0;
    }
    std::fseek(file, kDataOffsetField, SEEK_SET);
    uint32_t dataOffset = readU32LE(file);
    std::fseek(file, kInfoHeaderSizeField, SEEK_SET);
    uint32_t infoHeaderSize = readU32LE(file);
    if (infoHeaderSize < kSmallestInfoHeader) {
        report("%s has a %u-byte BMP header; only uncompressed 24-bit BMP is read\n", fileName,
               infoHeaderSize);
        return 0;
    }
    image->width = readU32LE(file);
    // a negative height marks a file stored top row first
    int32_t storedHeight = int32_t(readU32LE(file));
    bool topDown = storedHeight < 0;
    image->height = topDown ? uint32_t(0) - uint32_t(storedHeight) : uint32_t(storedHeight);

    uint16_t planes = readU16LE(file);
    if (planes != kPlanes) {
        report("Planes from %s is not 1: %u\n", fileName, planes);
        return 0;
    }
    uint16_t bitsPerPixel = readU16LE(file);
    if (bitsPerPixel != kBitsPerPixel) {
        report("Bpp from %s is not 24: %u\n", fileName, bitsPerPixel);
        return 0;
    }
    uint32_t compression = readU32LE(file);
    if (compression != kUncompressed) {
        report("%s is compressed (%u); only uncompressed 24-bit BMP is read\n", fileName,
               compression);
        return 0;
    }

    uint64_t rowBytes = uint64_t(image->width) * 3;
    uint64_t paddedRowBytes = (rowBytes + 3) & ~uint64_t(3);
    uint64_t size = fileSize(file);
    uint64_t available = size > dataOffset ? size - dataOffset : 0;
    bool empty = image->width == 0 || image->height == 0;
    bool fits = empty || (rowBytes <= available &&
                          image->height - 1 <= (available - rowBytes) / paddedRowBytes);
    if (!fits) {
        report("Error reading image data from %s.\n", fileName);
        return 0;
    }

    uint64_t pixelBytes = rowBytes * image->height;
    image->pixels = static_cast<uint8_t*>(std::malloc(pixelBytes ? pixelBytes : 1));
    if (!image->pixels) {
        report("Error allocating memory for color-corrected image data");
        return 0;
    }
    bool read = fseeko(file, off_t(dataOffset), SEEK_SET) == 0 &&
                readRows(file, image->pixels, rowBytes, paddedRowBytes, image->height, topDown);
    if (!read) {
        report("Error reading image data from %s.\n", fileName);
        std::free(image->pixels);
        image->pixels = nullptr;
        return 0;
    }
    for (uint64_t i = 0; i + 2 < pixelBytes; i += 3)  // blue green red to red green blue
        std::swap(image->pixels[i], image->pixels[i + 2]);
    return 1;
}

uint32_t readU32LE(FILE* file)
{
    uint8_t b[4] = {0, 0, 0, 0};
    size_t got = std::fread(b, 1, 4, file);  // bytes past the end stay zero
    (void)got;
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

uint16_t readU16LE(FILE* file)
{
    uint8_t b[2] = {0, 0};
    size_t got = std::fread(b, 1, 2, file);  // bytes past the end stay zero
    (void)got;
    return uint16_t(b[0] | b[1] << 8);
}

int loadBmp(const char* fileName, Image* image)
{
    FILE* file = std::fopen(fileName, "rb");
    if (!file) {
        report("File Not Found : %s\n", fileName);
        return 0;
    }
    int loaded = loadBmpFrom(file, fileName, image);
    std::fclose(file);
    return loaded;
}

const char* lastBmpError()
{
    return sLastError;
}
