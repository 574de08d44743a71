// SPDX-License-Identifier: MIT
// assetgen: writes the game's models, textures and throw sound into the directory it is given,
// and last the manifest that names the set and its files.
// Usage: assetgen <dir>            the game's data, with the window's icon
//        assetgen --icons <dir>    the desktop's icons, vendettix-<side>.png and vendettix.svg
#include <cstdio>
#include <string>

#include "app/data_directory.h"
#include "tools/assetgen/assetgen.h"
#include "tools/writers/image_writer.h"

namespace {

// the sizes a desktop's icon theme looks for first
const uint32_t kDesktopIconSides[] = {16, 24, 32, 48, 64, 128, 256};
constexpr uint32_t kWindowIconSide = 64;

bool writeDesktopIcons(const std::string& dir)
{
#ifdef VX_NO_DESKTOP_ICONS
    // the replayer's build, with no libpng: the game's data needs no desktop icon
    std::fprintf(stderr, "assetgen: this build writes no desktop icons (built without libpng)\n");
    (void)dir;
    return false;
#else
    for (uint32_t side : kDesktopIconSides)
        if (!saveIconPng(dir + "/vendettix-" + std::to_string(side) + ".png", side))
            return false;
    std::string svg = makeIconSvg();
    return saveBytes(dir + "/vendettix.svg", std::vector<uint8_t>(svg.begin(), svg.end()));
#endif
}

// the game's data set, in the order it is written; the manifest, written last, names it
struct DataFile {
    const char* name;
    std::vector<uint8_t> (*make)();
};

std::vector<uint8_t> model(ModelData (*make)()) { return write3ds(make()); }
std::vector<uint8_t> picture(Picture (*make)())
{
    Picture p = make();
    return makeBmp24(p.width, p.height, p.rgb);
}

const DataFile kDataFiles[] = {
    {"house.3DS", [] { return model(makeHouse); }},
    {"windowFrames.3DS", [] { return model(makeWindowFrames); }},
    {"windowPanes.3DS", [] { return model(makeWindowPanes); }},
    {"brdLeaf.3DS", [] { return model(makePlant); }},
    {"BBQ.3DS", [] { return model(makeBarbecue); }},
    {"bush1.3DS", [] { return model(makeBush); }},
    {"bench.3DS", [] { return model(makeBench); }},
    {"pool.3ds", [] { return model(makePool); }},
    {"coyote.3ds", [] { return model(makeCoyote); }},
    {"Stucco.bmp", [] { return picture(makeStucco); }},
    {"Grass.bmp", [] { return picture(makeGrass); }},
    {"GreldaVane1.bmp", [] { return picture(makeOwner); }},
    {"sky32.bmp", [] { return picture(makeSky); }},
    {"moon1.bmp", [] { return picture(makeMoon); }},
    {"egg.bmp", [] { return picture(makeEggSplat); }},
    {"grunt.wav", [] { return makeWav16(makeGrunt(), kGruntRate); }},
    {"vendettix-icon.pam", [] { return makeIconPam(kWindowIconSide); }},
};

// Written after every file of the set, so a directory that holds it holds a whole set (unless
// something was taken away since); the game takes a place for its data by this file alone.
bool writeDataSet(const std::string& dir)
{
    std::string manifest = std::string(kDataManifestHeader) + "\n";
    for (const DataFile& file : kDataFiles) {
        if (!saveBytes(dir + "/" + file.name, file.make()))
            return false;
        manifest += std::string(file.name) + "\n";
    }
    return saveBytes(dir + "/" + kDataManifestName,
                     std::vector<uint8_t>(manifest.begin(), manifest.end()));
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
    bool ok = icons ? writeDesktopIcons(dir) : writeDataSet(dir);
    if (!ok) {
        std::fprintf(stderr, "assetgen: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
