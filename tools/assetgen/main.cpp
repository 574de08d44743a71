// assetgen: writes the game's models, textures and throw sound into the directory it is given.
// Usage: assetgen <dir>
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

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <dir>\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok = writeModel(dir, "house.3DS", makeHouse()) && writeModel(dir, "windowFrames.3DS", makeWindowFrames()) &&
              writeModel(dir, "windowPanes.3DS", makeWindowPanes()) && writeModel(dir, "brdLeaf.3DS", makePlant()) &&
              writeModel(dir, "BBQ.3DS", makeBarbecue()) && writeModel(dir, "bush1.3DS", makeBush()) &&
              writeModel(dir, "bench.3DS", makeBench()) && writeModel(dir, "pool.3ds", makePool()) &&
              writeModel(dir, "coyote.3ds", makeCoyote()) && writePicture(dir, "Stucco.bmp", makeStucco()) &&
              writePicture(dir, "Grass.bmp", makeGrass()) && writePicture(dir, "GreldaVane1.bmp", makeOwner()) &&
              writePicture(dir, "sky32.bmp", makeSky()) && writePicture(dir, "moon1.bmp", makeMoon()) &&
              writePicture(dir, "egg.bmp", makeEggSplat()) &&
              saveBytes(dir + "/grunt.wav", makeWav16(makeGrunt(), kGruntRate));
    if (!ok) {
        std::fprintf(stderr, "assetgen: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
