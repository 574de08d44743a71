// SPDX-License-Identifier: MIT
// The real game started over a damaged run directory: a missing or malformed texture ends it
// with its message and status 1; a missing or broken model shows its box and the game plays on
// without it; a missing or broken throw sound is never heard and never stops a throw. And the
// player's files: one that is no regular file is named in a line and the game plays on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"
#include "tools/writers/chunk_writer.h"
#include "tools/writers/image_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

const char* const kTextures[] = {"Stucco.bmp", "Grass.bmp", "GreldaVane1.bmp",
                                 "sky32.bmp",  "moon1.bmp", "egg.bmp"};
const char* const kModels[] = {"house.3DS", "windowFrames.3DS", "windowPanes.3DS",
                               "brdLeaf.3DS", "BBQ.3DS", "bush1.3DS",
                               "bench.3DS", "pool.3ds", "coyote.3ds"};

Bytes readAsset(const E2eGame& game, const std::string& name)
{
    std::ifstream in(game.assetPath(name), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint16_t getU16(const Bytes& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
uint32_t getU32(const Bytes& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}
void putU16(Bytes& b, size_t at, uint16_t v)
{
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void putU32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

// the terminal hands the lines over as written; only the line ends are compared loosely
std::string withoutCarriageReturns(std::string s)
{
    s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
    return s;
}

std::string tryingLinesUpTo(int last)
{
    std::string lines;
    for (int i = 0; i <= last; ++i)
        lines += std::string("trying to load ") + kTextures[i] + "\n";
    return lines;
}

size_t countOf(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// ---- textures: every failure ends the start-up with status 1 ------------------------------

// runs the game over the damaged directory, closes the box that repeats the console's last line
// and checks the whole console output
void expectStartupFailure(E2eGame& game, const std::string& expectedStdout)
{
    ASSERT_FALSE(game.display().empty()) << "the virtual X server did not start";
    ASSERT_TRUE(game.start());
    EXPECT_TRUE(game.dismissMessageBox("Error", 300.0)) << game.stdoutText();
    ASSERT_TRUE(game.waitForExit(300.0)) << "the game went on: " << game.stdoutText();
    EXPECT_EQ(game.exitStatus(), 1) << game.stderrText();
    std::string console = withoutCarriageReturns(game.stdoutText());
    EXPECT_EQ(console, expectedStdout);
    std::string reason = console.substr(console.rfind('\n', console.size() - 2) + 1);
    EXPECT_NE(game.stderrText().find("Error: " + reason + "The textures are read from " +
                                     game.runDir() + "."),
              std::string::npos)
        << game.stderrText();
    EXPECT_EQ(crashReport(game.stderrText()), "");
}

class MissingTexture : public ::testing::TestWithParam<int> {};

TEST_P(MissingTexture, EndsWithFileNotFoundAfterTheTexturesBeforeIt)
{
    const int index = GetParam();
    E2eGame game;
    ASSERT_TRUE(game.removeAsset(kTextures[index]));
    expectStartupFailure(game, tryingLinesUpTo(index) + "File Not Found : " + kTextures[index] +
                                   "\n");
}

INSTANTIATE_TEST_SUITE_P(EachInTurn, MissingTexture, ::testing::Range(0, 6));

// a damaged copy of the generated texture at the table's index
void expectDamagedTexture(int index, void (*damage)(Bytes&), const std::string& message)
{
    E2eGame game;
    Bytes bmp = readAsset(game, kTextures[index]);
    ASSERT_GT(bmp.size(), 54u);
    damage(bmp);
    ASSERT_TRUE(game.writeAsset(kTextures[index], bmp));
    expectStartupFailure(game, tryingLinesUpTo(index) + message + "\n");
}

TEST(BadTexture, TwoPlanes)
{
    expectDamagedTexture(1, [](Bytes& b) { putU16(b, 26, 2); },
                         "Planes from Grass.bmp is not 1: 2");
}

TEST(BadTexture, ThirtyTwoBitsPerPixel)
{
    expectDamagedTexture(5, [](Bytes& b) { putU16(b, 28, 32); },
                         "Bpp from egg.bmp is not 24: 32");
}

TEST(BadTexture, TruncatedPixelBlock)
{
    expectDamagedTexture(3, [](Bytes& b) { b.resize(54 + (b.size() - 54) / 2); },
                         "Error reading image data from sky32.bmp.");
}

// 65536 x 65536 x 3 is 0 in 32-bit arithmetic: nothing would be read and the texture upload
// would be told of a picture four billion pixels large
TEST(BadTexture, HugeSizeThatWrapsToNothing)
{
    expectDamagedTexture(4, [](Bytes& b) {
        putU32(b, 18, 65536);
        putU32(b, 22, 65536);
    }, "Error reading image data from moon1.bmp.");
}

TEST(BadTexture, HugeSizeBeyondTheFile)
{
    expectDamagedTexture(0, [](Bytes& b) {
        putU32(b, 18, 40000);
        putU32(b, 22, 0xFFFFFFF0u);  // 16 rows stored top down
    }, "Error reading image data from Stucco.bmp.");
}

// GL would refuse it without a word and the walls would come out white
TEST(BadTexture, TallerThanTheDriverTakes)
{
    E2eGame game;
    ASSERT_TRUE(game.writeAsset("Stucco.bmp", makeBmp24(1, 65536, Bytes(65536 * 3, 0x80))));
    ASSERT_FALSE(game.display().empty());
    ASSERT_TRUE(game.start());
    EXPECT_TRUE(game.dismissMessageBox("Error", 300.0)) << game.stdoutText();
    ASSERT_TRUE(game.waitForExit(300.0));
    EXPECT_EQ(game.exitStatus(), 1);
    // the limit is the driver's own; Mesa's software renderer takes 16384 or 8192
    EXPECT_NE(game.stdoutText().find("Stucco.bmp is 1x65536 pixels; the graphics driver takes "
                                     "textures up to "),
              std::string::npos)
        << game.stdoutText();
}

// ---- models: a box for what cannot be read, then the game plays on -------------------------

// a throw of each kind, the bird's-eye view and wireframe on, another throw, both off again,
// and the quit key: the hit test and the drawing meet whatever the models hold
void playALittleAndQuit(E2eGame& game)
{
    ASSERT_TRUE(game.running());
    EXPECT_TRUE(throwAndSeeCounterChange(game, kRollsLeftText)) << "the roll was not thrown";
    game.tapKey("F1");
    EXPECT_TRUE(throwAndSeeCounterChange(game, kEggsLeftText)) << "the egg was not thrown";
    game.tapKey("e");
    game.tapKey("m");
    // the counter changing proves frames were drawn in both modes
    EXPECT_TRUE(throwAndSeeCounterChange(game, kEggsLeftText)) << "no frames after the toggles";
    game.tapKey("F1");
    game.tapKey("m");
    EXPECT_TRUE(throwAndSeeCounterChange(game, kRollsLeftText));
    game.tapKey("e");
    ASSERT_TRUE(game.running()) << crashReport(game.stderrText());
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(120.0));
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
    EXPECT_EQ(crashReport(game.stderrText()), "");
}

class MissingModel : public ::testing::TestWithParam<const char*> {};

TEST_P(MissingModel, ShowsTheErrorBoxThenPlaysWithoutIt)
{
    const std::string name = GetParam();
    E2eGame game;
    ASSERT_TRUE(game.removeAsset(name));
    std::vector<std::string> boxes;
    ASSERT_TRUE(startThroughMessageBoxes(game, &boxes)) << game.stderrText();
    EXPECT_EQ(boxes, std::vector<std::string>{"Error"});
    const std::string err = game.stderrText();
    EXPECT_EQ(countOf(err, "Error: Unable to find the file: " + name + "!\n"), 1u) << err;
    EXPECT_EQ(countOf(err, "Unable to"), 1u) << err;
    EXPECT_EQ(withoutCarriageReturns(game.stdoutText()), tryingLinesUpTo(5));
    playALittleAndQuit(game);
}

INSTANTIATE_TEST_SUITE_P(EachInTurn, MissingModel, ::testing::ValuesIn(kModels),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             std::replace(n.begin(), n.end(), '.', '_');
                             return n;
                         });

// the chunks of a well-formed file, in file order, walked as the game's reader walks them
struct ChunkAt {
    size_t offset;
    uint16_t id;
};

void collectChunks(const Bytes& b, size_t begin, size_t end, std::vector<ChunkAt>& out)
{
    using namespace chunk3ds;
    size_t pos = begin;
    while (pos + 6 <= end) {
        const uint16_t id = getU16(b, pos);
        const uint32_t length = getU32(b, pos + 2);
        if (length < 6 || pos + length > end)
            return;
        out.push_back({pos, id});
        size_t body = pos + 6;
        const size_t stop = pos + length;
        switch (id) {
        case kPrimary:
        case kEditor:
        case kTriMesh:
        case kMaterial:
        case kTextureMap:
            collectChunks(b, body, stop, out);
            break;
        case kObject:
            while (body < stop && b[body] != 0)
                ++body;
            collectChunks(b, body + 1, stop, out);
            break;
        case kFaces:
            if (body + 2 <= stop)
                collectChunks(b, body + 2 + size_t(getU16(b, body)) * 8, stop, out);
            break;
        default:
            break;
        }
        pos = stop;
    }
}

std::vector<ChunkAt> chunksOf(const Bytes& b)
{
    std::vector<ChunkAt> chunks;
    collectChunks(b, 0, b.size(), chunks);
    return chunks;
}

// damages every model of the run directory in the same way
void damageEveryModel(E2eGame& game, const std::function<void(Bytes&, std::mt19937&)>& damage,
                      unsigned seed)
{
    std::mt19937 random(seed);
    for (const char* name : kModels) {
        Bytes model = readAsset(game, name);
        ASSERT_GT(chunksOf(model).size(), 5u) << name;
        damage(model, random);
        ASSERT_TRUE(game.writeAsset(name, model));
    }
}

void expectPlaysOn(E2eGame& game)
{
    std::vector<std::string> boxes;
    ASSERT_TRUE(startThroughMessageBoxes(game, &boxes))
        << "status " << game.exitStatus() << "\n" << game.stderrText();
    std::string shown;
    for (const std::string& b : boxes)
        shown += b + " ";
    std::printf("message boxes dismissed: %zu (%s)\n", boxes.size(), shown.c_str());
    playALittleAndQuit(game);
}

void truncateAtRandom(Bytes& b, std::mt19937& random) { b.resize(random() % b.size()); }

void lieAboutLengths(Bytes& b, std::mt19937& random)
{
    const std::vector<ChunkAt> chunks = chunksOf(b);
    for (const ChunkAt& c : chunks) {
        if (random() % 4 != 0)
            continue;
        const uint32_t length = getU32(b, c.offset + 2);
        const uint32_t lies[] = {0,          1,           5,           6,         length - 1,
                                 length + 1, length * 2 + 7, 0x7FFFFFFFu, 0xFFFFFFFFu};
        putU32(b, c.offset + 2, lies[random() % std::size(lies)]);
    }
}

void pointFacesOutOfRange(Bytes& b, std::mt19937& random)
{
    uint16_t vertexCount = 0;
    for (const ChunkAt& c : chunksOf(b)) {
        if (c.id == chunk3ds::kVertices)
            vertexCount = getU16(b, c.offset + 6);
        if (c.id != chunk3ds::kFaces)
            continue;
        const size_t count = getU16(b, c.offset + 6);
        for (size_t f = 0; f < count; ++f)
            for (size_t corner = 0; corner < 3; ++corner) {
                if (random() % 3 != 0)
                    continue;
                const uint16_t wrong[] = {vertexCount, uint16_t(vertexCount + 1 + random() % 50),
                                          0x7FFF, 0xFFFF};
                putU16(b, c.offset + 8 + f * 8 + corner * 2, wrong[random() % std::size(wrong)]);
            }
    }
}

void pureNoise(Bytes& b, std::mt19937& random)
{
    for (uint8_t& byte : b)
        byte = uint8_t(random());
}

// noise behind a true primary header, so the reader walks into it
void noiseBehindAPrimaryHeader(Bytes& b, std::mt19937& random)
{
    pureNoise(b, random);
    putU16(b, 0, chunk3ds::kPrimary);
    putU32(b, 2, uint32_t(b.size()));
}

TEST(DamagedModels, TruncatedAtRandomPoints)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        E2eGame game;
        damageEveryModel(game, truncateAtRandom, seed);
        expectPlaysOn(game);
    }
}

TEST(DamagedModels, LyingChunkLengths)
{
    for (unsigned seed : {11u, 12u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        E2eGame game;
        damageEveryModel(game, lieAboutLengths, seed);
        expectPlaysOn(game);
    }
}

TEST(DamagedModels, FaceIndicesOutOfRange)
{
    E2eGame game;
    damageEveryModel(game, pointFacesOutOfRange, 21);
    expectPlaysOn(game);
}

TEST(DamagedModels, PureNoiseShowsThePrimaryChunkBoxForEach)
{
    E2eGame game;
    damageEveryModel(game, pureNoise, 31);
    std::vector<std::string> boxes;
    ASSERT_TRUE(startThroughMessageBoxes(game, &boxes)) << game.stderrText();
    // one box after another at the same place: a Return meant for one may close the next
    // before it is seen, so the boxes are counted on standard error, where each leaves its text
    EXPECT_GE(boxes.size(), 1u);
    EXPECT_LE(boxes.size(), 9u);
    const std::string err = game.stderrText();
    for (const char* name : kModels)
        EXPECT_EQ(countOf(err, std::string("Error: Unable to load PRIMARY chuck from file: ") +
                                   name + "!\n"),
                  1u)
            << err;
    playALittleAndQuit(game);
}

TEST(DamagedModels, NoiseBehindAPrimaryHeader)
{
    for (unsigned seed : {41u, 42u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        E2eGame game;
        damageEveryModel(game, noiseBehindAPrimaryHeader, seed);
        expectPlaysOn(game);
    }
}

// ---- the throw sound ------------------------------------------------------------------------

// the sound is read at every throw, so one run meets it missing, as text, and cut short
TEST(ThrowSound, MissingOrNotAWaveThrowsStillWorkSilently)
{
    E2eGame game;
    Bytes wav = readAsset(game, "grunt.wav");
    ASSERT_GT(wav.size(), 44u);
    ASSERT_TRUE(game.removeAsset("grunt.wav"));
    ASSERT_TRUE(startThroughMessageBoxes(game, nullptr)) << game.stderrText();

    EXPECT_TRUE(throwAndSeeCounterChange(game, kRollsLeftText)) << "missing sound";
    const std::string text = "this is not a sound\n";
    ASSERT_TRUE(game.writeAsset("grunt.wav", Bytes(text.begin(), text.end())));
    EXPECT_TRUE(throwAndSeeCounterChange(game, kRollsLeftText)) << "text for a sound";
    wav.resize(40);  // the header cut inside its data chunk's header
    ASSERT_TRUE(game.writeAsset("grunt.wav", wav));
    game.tapKey("F1");
    EXPECT_TRUE(throwAndSeeCounterChange(game, kEggsLeftText)) << "a sound cut short";
    ASSERT_TRUE(game.writeAsset("grunt.wav", Bytes()));
    EXPECT_TRUE(throwAndSeeCounterChange(game, kEggsLeftText)) << "an empty file";

    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(120.0));
    EXPECT_EQ(game.exitStatus(), 0);
    EXPECT_EQ(withoutCarriageReturns(game.stdoutText()), tryingLinesUpTo(5)) << "not silent";
    EXPECT_EQ(crashReport(game.stderrText()), "");
    EXPECT_EQ(countOf(game.stderrText(), "grunt"), 0u) << game.stderrText();
}

// ---- the player's files: what cannot be read whole is named in a line and passed over -------

// a FIFO as settings.ini (which nothing will ever write) and the window's file a link to an
// endless device: the window opens as usual, each is named once, and q ends the game as always
TEST(PlayersFiles, AFifoOrADeviceIsNamedInALineAndTheGamePlaysOn)
{
    E2eGame game;
    ASSERT_FALSE(game.display().empty()) << "the virtual X server did not start";
    const std::string config = game.homeDir() + "/config/vendettix";
    const std::string state = game.homeDir() + "/state/vendettix";
    ASSERT_EQ(std::system(("mkdir -p '" + config + "' '" + state + "'").c_str()), 0);
    ASSERT_EQ(mkfifo((config + "/settings.ini").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", (state + "/window").c_str()), 0);
    ASSERT_TRUE(game.start());
    ASSERT_TRUE(game.waitForWindow()) << game.stderrText();
    const std::string err = game.stderrText();
    EXPECT_EQ(countOf(err, "settings.ini"), 1u) << err;
    EXPECT_EQ(countOf(err, config + "/settings.ini:0: is a FIFO, not a settings file\n"), 1u)
        << err;
    EXPECT_EQ(countOf(err, state + "/window: is a device, not the window's file"), 1u) << err;
    // the window opened at its first start's size
    EXPECT_EQ(game.window().width, 600);
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(120.0));
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
}

}  // namespace
