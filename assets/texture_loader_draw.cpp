// SPDX-License-Identifier: MIT
// assets: hands the six textures to GL under their fixed names.
#include <GL/gl.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "assets/bmp_loader.h"
#include "assets/texture_loader.h"
#include "platform/services.h"

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

// the folder the file was looked for in, as an absolute path where the working directory is known
std::string lookedForIn(const char* fileName)
{
    std::string path = fileName;
    char workingDirectory[PATH_MAX];
    if (path.empty() || path[0] != '/')
        path = std::string(getcwd(workingDirectory, sizeof workingDirectory) ? workingDirectory : ".") +
               "/" + path;
    size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

// the console line has been printed already; started from a desktop launcher nobody sees it,
// so the reason also goes to standard error and to a box before the game ends
[[noreturn]] void endOverTexture(const char* fileName, const std::string& reason)
{
    std::fflush(stdout);
    std::string text = reason + "\nThe textures are read from " + lookedForIn(fileName) + ".";
    showMessageBox(text.c_str(), "Error");
    std::exit(1);
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
        endOverTexture(fileName, "Error allocating space for image");
    }
    std::printf("trying to load %s\n", fileName);
    std::fflush(stdout);
    if (!loadBmp(fileName, gLoadImage))
        endOverTexture(fileName, lastBmpError());

    // GL refuses a larger picture without a word and the surfaces it covers come out white
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (largest > 0 && (gLoadImage->width > uint32_t(largest) ||
                        gLoadImage->height > uint32_t(largest))) {
        std::string limit = std::to_string(largest);
        std::string reason = std::string(fileName) + " is " + std::to_string(gLoadImage->width) +
                             "x" + std::to_string(gLoadImage->height) +
                             " pixels; the graphics driver takes textures up to " + limit + "x" +
                             limit;
        std::printf("%s\n", reason.c_str());
        endOverTexture(fileName, reason);
    }

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
