// assets: hands the six textures to GL under their fixed names.
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "assets/bmp_loader.h"
#include "assets/texture_loader.h"

namespace {

struct TextureFile {
    const char* fileName;
    uint32_t name;
};

// the order of loading, and of the console lines
constexpr TextureFile kTextureTable[] = {
    {"Stucco.bmp", kTextureStucco}, {"Grass.bmp", kTextureGrass},
    {"GreldaVane1.bmp", kTextureOwner}, {"sky32.bmp", kTextureSky},
    {"moon1.bmp", kTextureMoon}, {"egg.bmp", kTextureEgg},
};

void setNearestFilters()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}

}  // namespace

void loadTextures()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, kTextureStucco);
    setNearestFilters();
    for (const TextureFile& texture : kTextureTable)
        loadTexture(texture.fileName, texture.name);
}

void loadTexture(const char* fileName, uint32_t name)
{
    gLoadImage = new (std::nothrow) Image{};
    if (!gLoadImage) {
        std::printf("Error allocating space for image");
        std::exit(1);
    }
    std::printf("trying to load %s\n", fileName);
    std::fflush(stdout);
    if (!loadBmp(fileName, gLoadImage))
        std::exit(1);

    glBindTexture(GL_TEXTURE_2D, name);
    // the rows are packed tightly, whatever their width
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, GLsizei(gLoadImage->width), GLsizei(gLoadImage->height), 0,
                 GL_RGB, GL_UNSIGNED_BYTE, gLoadImage->pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    if (name == kTextureStucco) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    } else {
        setNearestFilters();
    }

    std::free(gLoadImage->pixels);
    delete gLoadImage;
    gLoadImage = nullptr;
}
