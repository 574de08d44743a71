// SPDX-License-Identifier: MIT
// tests: the BMP reader and the exits of the texture loader, over files from the image writer
// and from ImageMagick.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "assets/bmp_loader.h"
#include "assets/texture_loader.h"
#include "tools/writers/image_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

void put32(Bytes& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
}

Bytes ramp(size_t count)
{
    Bytes rgb;
    for (size_t k = 0; k < count; ++k)
        rgb.push_back(uint8_t(k * 29 + 3));
    return rgb;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ChildRun {
    int exitCode = -1;
    std::string out;  // what it wrote to standard output
    std::string err;  // and to standard error
};

// runs body in a forked child with standard output and error caught in files; without a display,
// so that a message box only writes to standard error
ChildRun runInChild(const std::string& dir, const std::function<void()>& body)
{
    std::string outPath = dir + "/child-out.txt";
    std::string errPath = dir + "/child-err.txt";
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = fork();
    if (pid == 0) {
        unsetenv("DISPLAY");
        if (!std::freopen(outPath.c_str(), "w", stdout) || !std::freopen(errPath.c_str(), "w", stderr))
            _exit(99);
        body();
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ChildRun run;
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    return run;
}

class BmpLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vx-bmp-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        std::free(image.pixels);
        std::string cleanup = "rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(cleanup.c_str()), 0);
    }

    std::string save(const Bytes& bytes, const std::string& name = "image.bmp")
    {
        std::string path = dir + "/" + name;
        EXPECT_TRUE(saveBytes(path, bytes));
        return path;
    }

    // loads and returns what the reader printed
    std::string load(const std::string& path)
    {
        std::free(image.pixels);
        image = Image{};
        testing::internal::CaptureStdout();
        loaded = loadBmp(path.c_str(), &image);
        return testing::internal::GetCapturedStdout();
    }

    Bytes pixels() const { return Bytes(image.pixels, image.pixels + image.width * image.height * 3); }

    std::string dir;
    Image image{};
    int loaded = -1;
};

TEST_F(BmpLoaderTest, TwoByOneImageComesOutRedGreenBlue)
{
    // the file's pixel bytes are 01 02 03 04 05 06 (blue green red per pixel)
    std::string path = save(makeBmp24(2, 1, {3, 2, 1, 6, 5, 4}));
    EXPECT_EQ(load(path), "");
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.height, 1u);
    EXPECT_EQ(pixels(), (Bytes{3, 2, 1, 6, 5, 4}));
}

TEST_F(BmpLoaderTest, UnpaddedBlockDirectlyAfterTheHeaderStillReads)
{
    // 54 header bytes and the six pixel bytes, without the row padding a writer would add
    Bytes bytes = makeBmp24(2, 1, {3, 2, 1, 6, 5, 4});
    bytes.resize(54 + 6);
    EXPECT_EQ(load(save(bytes)), "");
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(pixels(), (Bytes{3, 2, 1, 6, 5, 4}));
}

TEST_F(BmpLoaderTest, RowsWithoutPaddingReadAsOneBlock)
{
    Bytes rgb = ramp(4 * 3 * 3);
    Bytes file = makeBmp24(4, 3, rgb);
    load(save(file));
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(pixels(), rgb);
    // exactly the file's block with blue and red exchanged
    for (size_t k = 0; k < rgb.size(); k += 3) {
        EXPECT_EQ(image.pixels[k], file[54 + k + 2]);
        EXPECT_EQ(image.pixels[k + 2], file[54 + k]);
    }
}

TEST_F(BmpLoaderTest, PaddedRowsSkipTheirPadding)
{
    for (uint32_t width : {1u, 2u, 3u, 5u, 7u}) {
        Bytes rgb = ramp(width * 3 * 3);
        load(save(makeBmp24(width, 3, rgb)));
        ASSERT_EQ(loaded, 1) << width;
        EXPECT_EQ(pixels(), rgb) << width;
    }
}

TEST_F(BmpLoaderTest, PixelsAreTakenFromTheHeadersDataOffset)
{
    Bytes rgb = ramp(3 * 2 * 3);
    Bytes file = makeBmp24(3, 2, rgb);
    file.insert(file.begin() + 54, 70, 0xEE);  // say, a colour table
    put32(file, 10, 54 + 70);
    load(save(file));
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(pixels(), rgb);
}

TEST_F(BmpLoaderTest, MissingFileIsReported)
{
    std::string path = dir + "/none.bmp";
    EXPECT_EQ(load(path), "File Not Found : " + path + "\n");
    EXPECT_EQ(loaded, 0);
}

TEST_F(BmpLoaderTest, PlanesAndBitsPerPixelMustBeOneAnd24)
{
    Bytes file = makeBmp24(2, 2, ramp(12));
    file[26] = 2;
    std::string path = save(file);
    EXPECT_EQ(load(path), "Planes from " + path + " is not 1: 2\n");
    EXPECT_EQ(loaded, 0);

    file[26] = 1;
    file[28] = 32;
    EXPECT_EQ(load(save(file)), "Bpp from " + path + " is not 24: 32\n");
    EXPECT_EQ(loaded, 0);
}

TEST_F(BmpLoaderTest, PixelBlockThatTheFileCannotHoldIsAShortRead)
{
    Bytes good = makeBmp24(4, 4, ramp(48));
    struct Case {
        const char* what;
        uint32_t width, height, offset;
        size_t keep;
    } cases[] = {
        {"one byte short", 4, 4, 54, good.size() - 1},
        {"width * height * 3 wraps in 32 bits", 0x55555556u, 3, 54, good.size()},
        {"width * 3 wraps to a small row", 0x80000000u, 1, 54, good.size()},
        {"huge in both", 0xFFFFFFFFu, 0xFFFFFFFFu, 54, good.size()},
        {"top-down height beyond the file", 4, uint32_t(-5), 54, good.size()},
        {"offset past the end", 4, 4, 0xFFFFFF00u, good.size()},
        {"header only", 4, 4, 54, 54},
    };
    for (const Case& c : cases) {
        Bytes file = good;
        put32(file, 18, c.width);
        put32(file, 22, c.height);
        put32(file, 10, c.offset);
        file.resize(c.keep);
        std::string path = save(file);
        EXPECT_EQ(load(path), "Error reading image data from " + path + ".\n") << c.what;
        EXPECT_EQ(loaded, 0) << c.what;
        EXPECT_EQ(image.pixels, nullptr) << c.what;
    }
}

TEST_F(BmpLoaderTest, SignatureHeaderCompressionAndRowOrder)
{
    Bytes rgb = ramp(3 * 3 * 3);  // 3 wide: padded rows
    Bytes good = makeBmp24(3, 3, rgb);
    Bytes topDown = good;  // the same picture stored top row first
    put32(topDown, 22, uint32_t(-3));
    for (int y = 0; y < 3; ++y)
        std::copy(good.begin() + 54 + 12 * (2 - y), good.begin() + 54 + 12 * (3 - y),
                  topDown.begin() + 54 + 12 * y);
    Bytes text(good.size(), 'x');
    Bytes jpeg = good;
    put32(jpeg, 30, 4);
    Bytes fields = good;
    put32(fields, 30, 3);
    Bytes coreHeader = good;
    put32(coreHeader, 14, 12);
    // 8 wide: rows without padding, which the bottom-up reader takes as one block
    Bytes wideRgb = ramp(8 * 3 * 3);
    Bytes wide = makeBmp24(8, 3, wideRgb);
    Bytes wideTopDown = wide;
    put32(wideTopDown, 22, uint32_t(-3));
    for (int y = 0; y < 3; ++y)
        std::copy(wide.begin() + 54 + 24 * (2 - y), wide.begin() + 54 + 24 * (3 - y),
                  wideTopDown.begin() + 54 + 24 * y);
    Bytes flatTopDown = makeBmp24(4, 1, ramp(12));  // one row: nothing to flip
    put32(flatTopDown, 22, uint32_t(-1));
    // no pixels in a row, and a billion rows of them top down: found by the fuzzer, which
    // waited on a billion empty reads
    Bytes emptyRowsTopDown = makeBmp24(0, 1, {});
    put32(emptyRowsTopDown, 22, uint32_t(-1000000000));
    struct Case {
        const char* what;
        Bytes file;
        std::string message;  // after the file's path; empty: the file loads
        uint32_t width, height;
        Bytes pixels;
        bool mayHang = false;  // loaded in a child under its own time limit first
    } cases[] = {
        {"top-down rows are flipped", topDown, "", 3, 3, rgb},
        {"top-down rows without padding are flipped", wideTopDown, "", 8, 3, wideRgb},
        {"top-down single row", flatTopDown, "", 4, 1, ramp(12)},
        {"top-down rows of no pixels", emptyRowsTopDown, "", 0, 1000000000, {}, true},
        {"text", text, " is not a BMP file\n", 0, 0, {}},
        {"empty", {}, " is not a BMP file\n", 0, 0, {}},
        {"only the signature", {'B', 'M'},
         " has a 0-byte BMP header; only uncompressed 24-bit BMP is read\n", 0, 0, {}},
        {"12-byte header", coreHeader,
         " has a 12-byte BMP header; only uncompressed 24-bit BMP is read\n", 0, 0, {}},
        {"compressed 4", jpeg, " is compressed (4); only uncompressed 24-bit BMP is read\n", 0, 0, {}},
        {"bit fields", fields, " is compressed (3); only uncompressed 24-bit BMP is read\n", 0, 0, {}},
    };
    for (const Case& c : cases) {
        std::string path = save(c.file);
        if (c.mayHang) {
            // the load takes no time; a reader that walks the rows one by one is stopped here
            // rather than by the test runner's timeout minutes later
            constexpr unsigned kLimitSeconds = 10;
            ChildRun run = runInChild(dir, [&] {
                alarm(kLimitSeconds);
                Image im{};
                bool ok = loadBmp(path.c_str(), &im) == 1 && im.width == c.width &&
                          im.height == c.height;
                _exit(ok ? 0 : 1);
            });
            ASSERT_EQ(run.exitCode, 0) << c.what << ": not loaded within " << kLimitSeconds << " s";
        }
        if (c.message.empty()) {
            EXPECT_EQ(load(path), "") << c.what;
            ASSERT_EQ(loaded, 1) << c.what;
            EXPECT_EQ(image.width, c.width) << c.what;
            EXPECT_EQ(image.height, c.height) << c.what;
            EXPECT_EQ(pixels(), c.pixels) << c.what;
            EXPECT_STREQ(lastBmpError(), "") << c.what;
        } else {
            EXPECT_EQ(load(path), path + c.message) << c.what;
            EXPECT_EQ(loaded, 0) << c.what;
            // the same words for the box, without the line end
            EXPECT_EQ(lastBmpError() + std::string("\n"), path + c.message) << c.what;
        }
    }
}

TEST_F(BmpLoaderTest, EveryFailureEndsTheTextureLoadWithStatusOne)
{
    Bytes planes = makeBmp24(2, 2, ramp(12));
    planes[26] = 2;
    Bytes deep = makeBmp24(2, 2, ramp(12));
    deep[28] = 32;
    Bytes shortFile = makeBmp24(4, 4, ramp(48));
    shortFile.resize(shortFile.size() - 5);
    struct Case {
        std::string path, message;
    } cases[] = {
        {dir + "/none.bmp", "File Not Found : " + dir + "/none.bmp\n"},
        {save(planes, "planes.bmp"), "Planes from " + dir + "/planes.bmp is not 1: 2\n"},
        {save(deep, "deep.bmp"), "Bpp from " + dir + "/deep.bmp is not 24: 32\n"},
        {save(shortFile, "short.bmp"), "Error reading image data from " + dir + "/short.bmp.\n"},
        {save(Bytes(80, 'x'), "text.bmp"), dir + "/text.bmp is not a BMP file\n"},
    };
    for (const Case& c : cases) {
        ChildRun run = runInChild(dir, [&] { loadTexture(c.path.c_str(), 2); });
        EXPECT_EQ(run.exitCode, 1) << c.path;
        EXPECT_EQ(run.out, "trying to load " + c.path + "\n" + c.message);
        // the same reason for a player who started the game without a terminal
        EXPECT_EQ(run.err, "Error: " + c.message + "The textures are read from " + dir + ".\n");
    }
}

TEST_F(BmpLoaderTest, MissingStuccoStopsTheStartUpBeforeAnyOtherTexture)
{
    for (const char* name : {"Grass.bmp", "GreldaVane1.bmp", "sky32.bmp", "moon1.bmp", "egg.bmp"})
        save(makeBmp24(2, 2, ramp(12)), name);
    ChildRun run = runInChild(dir, [&] {
        if (chdir(dir.c_str()) != 0)
            _exit(98);
        loadTextures();
    });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "trying to load Stucco.bmp\nFile Not Found : Stucco.bmp\n");
    EXPECT_NE(run.err.find("The textures are read from " + dir + "."), std::string::npos) << run.err;
}

// ImageMagick writes the files; its own reading of them is what the loader must return
class ImageMagickBmpTest : public BmpLoaderTest {
protected:
    void SetUp() override
    {
        BmpLoaderTest::SetUp();
        if (std::system("convert -version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "ImageMagick's convert is not installed";
    }

    // a picture with a different colour in every pixel, through ImageMagick to a 24-bit BMP
    std::string convertToBmp(int width, int height)
    {
        std::string ppm = dir + "/source.ppm";
        std::string bmp = dir + "/magick.bmp";
        std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
        Bytes bytes(header.begin(), header.end());
        Bytes rgb = ramp(size_t(width) * height * 3);
        bytes.insert(bytes.end(), rgb.begin(), rgb.end());
        EXPECT_TRUE(saveBytes(ppm, bytes));
        std::string command = "convert '" + ppm + "' -type truecolor 'BMP3:" + bmp + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return bmp;
    }

    // the pixels ImageMagick reports for the file, top row first
    Bytes magickPixels(const std::string& bmp)
    {
        std::string raw = dir + "/magick.rgb";
        std::string command = "convert '" + bmp + "' -depth 8 'rgb:" + raw + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::string text = readFile(raw);
        return Bytes(text.begin(), text.end());
    }

    // the loader's pixels turned top row first
    Bytes topRowFirst() const
    {
        Bytes out;
        size_t row = size_t(image.width) * 3;
        for (uint32_t y = image.height; y-- > 0;)
            out.insert(out.end(), image.pixels + y * row, image.pixels + (y + 1) * row);
        return out;
    }
};

TEST_F(ImageMagickBmpTest, RowsWithoutPaddingLoadAsImageMagickReadsThem)
{
    std::string bmp = convertToBmp(8, 4);
    load(bmp);
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(image.width, 8u);
    EXPECT_EQ(image.height, 4u);
    EXPECT_EQ(topRowFirst(), magickPixels(bmp));
}

TEST_F(ImageMagickBmpTest, PaddedRowsLoadAsImageMagickReadsThem)
{
    std::string bmp = convertToBmp(5, 3);
    load(bmp);
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(image.width, 5u);
    EXPECT_EQ(image.height, 3u);
    EXPECT_EQ(topRowFirst(), magickPixels(bmp));
    EXPECT_EQ(topRowFirst(), ramp(5 * 3 * 3));  // and the picture it was given
}

}  // namespace
