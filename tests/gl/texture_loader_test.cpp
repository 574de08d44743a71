// SPDX-License-Identifier: MIT
// tests: the six textures reach GL under their fixed names with the pixels of their files.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "assets/texture_loader.h"
#include "tests/support/gl_fixture.h"
#include "tools/writers/image_writer.h"

namespace {

struct TextureFile {
    const char* fileName;
    uint32_t name;
    uint32_t width, height;  // 3 and 5 pixels wide: rows that a BMP pads and GL must not
};

const TextureFile kFiles[] = {
    {"Stucco.bmp", kTextureStucco, 4, 4}, {"Grass.bmp", kTextureGrass, 3, 2},
    {"GreldaVane1.bmp", kTextureOwner, 8, 2}, {"sky32.bmp", kTextureSky, 5, 3},
    {"moon1.bmp", kTextureMoon, 2, 2}, {"egg.bmp", kTextureEgg, 16, 1},
};

std::vector<uint8_t> picture(uint32_t width, uint32_t height, uint32_t seed)
{
    std::vector<uint8_t> rgb;
    for (uint32_t k = 0; k < width * height * 3; ++k)
        rgb.push_back(uint8_t(k * 41 + seed * 13));
    return rgb;
}

GLint parameter(GLenum which)
{
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
    return value;
}

TEST(TextureLoader, LoadsTheSixFilesInOrderUnderTheirNames)
{
    glTestWindow(64, 64);
    char pattern[] = "/tmp/vx-textures-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string dir = pattern;
    for (const TextureFile& f : kFiles)
        ASSERT_TRUE(saveBytes(dir + "/" + f.fileName,
                              makeBmp24(f.width, f.height, picture(f.width, f.height, f.name))));
    char previous[PATH_MAX];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);

    testing::internal::CaptureStdout();
    loadTextures();
    std::string console = testing::internal::GetCapturedStdout();
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(console,
              "trying to load Stucco.bmp\ntrying to load Grass.bmp\ntrying to load GreldaVane1.bmp\n"
              "trying to load sky32.bmp\ntrying to load moon1.bmp\ntrying to load egg.bmp\n");
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);  // left as it was

    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (const TextureFile& f : kFiles) {
        SCOPED_TRACE(f.fileName);
        glBindTexture(GL_TEXTURE_2D, f.name);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        ASSERT_EQ(width, GLint(f.width));
        ASSERT_EQ(height, GLint(f.height));
        std::vector<uint8_t> uploaded(f.width * f.height * 3);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
        EXPECT_EQ(uploaded, picture(f.width, f.height, f.name));
        EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
        EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
        EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    }
    EXPECT_FALSE(glIsTexture(3));  // names 3 and 4 are not used
    EXPECT_FALSE(glIsTexture(4));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    std::string cleanup = "rm -rf '" + dir + "'";
    EXPECT_EQ(std::system(cleanup.c_str()), 0);
}

}  // namespace
