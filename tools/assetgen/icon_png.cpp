// SPDX-License-Identifier: MIT
// assetgen: the game's icon as a PNG, for the desktop's icon theme (libpng). The game's own data
// needs none of it, so a build without libpng leaves this file out.
#include <png.h>

#include <cstdio>
#include <string>

#include "tools/assetgen/assetgen.h"

bool saveIconPng(const std::string& path, uint32_t side)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> rgba = drawIcon(side);
    bool ok = png && info && setjmp(png_jmpbuf(png)) == 0;
    if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, side, side, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (uint32_t y = 0; y < side; ++y)
            png_write_row(png, &rgba[size_t(y) * side * 4]);
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}
