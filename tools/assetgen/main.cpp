// SPDX-License-Identifier: MIT
// assetgen: writes the game's models, textures and throw sound into the directory it is given.
// Usage: assetgen <dir>            the game's data, with the window's icon
//        assetgen --icons <dir>    the desktop's icons, vendettix-<side>.png and vendettix.svg
#include <cstdio>
#include <string>

#include "tools/assetgen/assetgen.h"
#include "tools/writers/image_writer.h"

namespace {

bool writeModel(const std::string& dir, const char* name, const ModelData& model)
{
    return saveBytes(dir + "/" + name, write3ds(model));
}

bool writePicture(const std::string& dir, const char* name, const Picture& picture)
{
    return saveBytes(dir + "/" + name, makeBmp24(picture.width, picture.height, picture.rgb));
}

// the sizes a desktop's icon theme looks for first
const uint32_t kDesktopIconSides[] = {16, 24, 32, 48, 64, 128, 256};
constexpr uint32_t kWindowIconSide = 64;

bool writeDesktopIcons(const std::string& dir)
{
    for (uint32_t side : kDesktopIconSides)
        if (!saveIconPng(dir + "/vendettix-" + std::to_string(side) + ".png", side))
            return false;
    std::string svg = makeIconSvg();
    return saveBytes(dir + "/vendettix.svg", std::vector<uint8_t>(svg.begin(), svg.end()));
}

}  // namespace

int main(int argc, char** argv)
{
    bool icons = argc == 3 && std::string(argv[1]) == "--icons";
    if (argc != 2 && !icons) {
        std::fprintf(stderr, "usage: assetgen [--icons] <dir>\n");
        return 2;
    }
    std::string dir = argv[argc - 1];
    bool ok = icons ? writeDesktopIcons(dir) :
              writeModel(dir, "house.3DS", makeHouse()) && writeModel(dir, "windowFrames.3DS", makeWindowFrames()) &&
              writeModel(dir, "windowPanes.3DS", makeWindowPanes()) && writeModel(dir, "brdLeaf.3DS", makePlant()) &&
              writeModel(dir, "BBQ.3DS", makeBarbecue()) && writeModel(dir, "bush1.3DS", makeBush()) &&
              writeModel(dir, "bench.3DS", makeBench()) && writeModel(dir, "pool.3ds", makePool()) &&
              writeModel(dir, "coyote.3ds", makeCoyote()) && writePicture(dir, "Stucco.bmp", makeStucco()) &&
              writePicture(dir, "Grass.bmp", makeGrass()) && writePicture(dir, "GreldaVane1.bmp", makeOwner()) &&
              writePicture(dir, "sky32.bmp", makeSky()) && writePicture(dir, "moon1.bmp", makeMoon()) &&
              writePicture(dir, "egg.bmp", makeEggSplat()) &&
              saveBytes(dir + "/grunt.wav", makeWav16(makeGrunt(), kGruntRate)) &&
              saveBytes(dir + "/vendettix-icon.pam", makeIconPam(kWindowIconSide));
    if (!ok) {
        std::fprintf(stderr, "assetgen: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
