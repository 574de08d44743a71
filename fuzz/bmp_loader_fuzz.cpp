// SPDX-License-Identifier: MIT
// fuzz: the BMP reader on any bytes. A loaded image must have exactly width * height * 3 bytes,
// which ASan checks by touching the last one.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "assets/bmp_loader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // the reader's messages go to standard output; libFuzzer reports on standard error
    if (!std::freopen("/dev/null", "w", stdout))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!stream)
        return 0;
    Image image{};
    int loaded = loadBmpFrom(stream, "fuzz.bmp", &image);
    std::fclose(stream);
    if (loaded) {
        uint64_t bytes = uint64_t(image.width) * image.height * 3;
        if (bytes > size || !image.pixels)
            std::abort();
        if (bytes > 0) {
            volatile uint8_t last = image.pixels[bytes - 1];
            (void)last;
        }
    }
    std::free(image.pixels);
    return 0;
}
