// assets: reads uncompressed 24-bit BMP files.
//
// The pixels are taken from the offset the file header names, row by row when the rows carry
// padding. Sizes are worked out in 64 bits and checked against the file before anything is
// allocated: a pixel block that cannot be in the file is a short read.
#include "assets/bmp_loader.h"

#include <cstdlib>
#include <cstring>
#include <utility>

Image* gLoadImage = nullptr;

namespace {

constexpr long kDataOffsetField = 10;
constexpr long kWidthField = 18;
constexpr uint16_t kPlanes = 1;
constexpr uint16_t kBitsPerPixel = 24;

uint64_t fileSize(FILE* file)
{
    off_t here = ftello(file);
    if (fseeko(file, 0, SEEK_END) != 0)
        return 0;
    off_t end = ftello(file);
    fseeko(file, here, SEEK_SET);
    return end > 0 ? uint64_t(end) : 0;
}

bool readRows(FILE* file, uint8_t* pixels, uint64_t rowBytes, uint64_t paddedRowBytes,
              uint32_t rows)
{
    if (rowBytes == paddedRowBytes)  // no padding: the block in one piece
        return std::fread(pixels, 1, rowBytes * rows, file) == rowBytes * rows;
    for (uint32_t y = 0; y < rows; ++y) {
        if (std::fread(pixels + y * rowBytes, 1, rowBytes, file) != rowBytes)
            return false;
        if (y + 1 < rows && fseeko(file, off_t(paddedRowBytes - rowBytes), SEEK_CUR) != 0)
            return false;
    }
    return true;
}

}  // namespace

int loadBmpFrom(FILE* file, const char* fileName, Image* image)
{
    std::fseek(file, kDataOffsetField, SEEK_SET);
    uint32_t dataOffset = readU32LE(file);
    std::fseek(file, kWidthField, SEEK_SET);
    image->width = readU32LE(file);
    image->height = readU32LE(file);

    uint16_t planes = readU16LE(file);
    if (planes != kPlanes) {
        std::printf("Planes from %s is not 1: %u\n", fileName, planes);
        return 0;
    }
    uint16_t bitsPerPixel = readU16LE(file);
    if (bitsPerPixel != kBitsPerPixel) {
        std::printf("Bpp from %s is not 24: %u\n", fileName, bitsPerPixel);
        return 0;
    }

    // A top-down file's negative height reads as a huge row count and fails here like any other
    // block that the file is too short to hold.
    uint64_t rowBytes = uint64_t(image->width) * 3;
    uint64_t paddedRowBytes = (rowBytes + 3) & ~uint64_t(3);
    uint64_t size = fileSize(file);
    uint64_t available = size > dataOffset ? size - dataOffset : 0;
    bool empty = image->width == 0 || image->height == 0;
    bool fits = empty || (rowBytes <= available &&
                          image->height - 1 <= (available - rowBytes) / paddedRowBytes);
    if (!fits) {
        std::printf("Error reading image data from %s.\n", fileName);
        return 0;
    }

    uint64_t pixelBytes = rowBytes * image->height;
    image->pixels = static_cast<uint8_t*>(std::malloc(pixelBytes ? pixelBytes : 1));
    if (!image->pixels) {
        std::printf("Error allocating memory for color-corrected image data");
        return 0;
    }
    bool read = fseeko(file, off_t(dataOffset), SEEK_SET) == 0 &&
                readRows(file, image->pixels, rowBytes, paddedRowBytes, image->height);
    if (!read) {
        std::printf("Error reading image data from %s.\n", fileName);
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
        std::printf("File Not Found : %s\n", fileName);
        return 0;
    }
    int loaded = loadBmpFrom(file, fileName, image);
    std::fclose(file);
    return loaded;
}
