// SPDX-License-Identifier: MIT
// The platform layer: the two clocks, the fire-and-forget sound and the message box that must
// never hang a run without a display.
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/regular_file.h"
#include "platform/sound.h"
#include "platform/user_files.h"
#include "tools/writers/image_writer.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string tempPath(const std::string& name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/vx-platform-" + std::to_string(getpid()) +
           "-" + name;
}

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool anyNonZero(const std::vector<uint8_t>& bytes)
{
    for (uint8_t b : bytes)
        if (b != 0)
            return true;
    return false;
}

std::vector<int16_t> tone(double seconds, int rate)
{
    std::vector<int16_t> samples(size_t(seconds * rate));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(12000 * std::sin(2 * M_PI * 440.0 * double(i) / rate));
    return samples;
}

}  // namespace

TEST(TickCounter, WrapsAsUnsigned32Bit)
{
    EXPECT_EQ(tickCountAfter(0), 0u);
    EXPECT_EQ(tickCountAfter(4294967295ull), 4294967295u);
    EXPECT_EQ(tickCountAfter(4294967296ull), 0u);
    EXPECT_EQ(tickCountAfter(4294967296ull + 1234), 1234u);
}

TEST(TickCounter, StampsReadPastTwoToThe31AsPositive)
{
    // a signed reading would turn negative here; the stamps must keep counting up
    EXPECT_FLOAT_EQ(tickToFloat(2147483648u), 2147483648.0f);
    EXPECT_FLOAT_EQ(tickToFloat(4294967295u), 4294967296.0f);
    EXPECT_GT(tickToFloat(2147483648u), tickToFloat(2147483647u - 1000));
}

TEST(TickCounter, CountsFromProcessStartSoFloatsKeepMillisecondResolution)
{
    uint32_t ticks = platformTickCount();
    // a test process is minutes old at most, far below 2^24 ms
    EXPECT_LT(ticks, 1u << 24);
    EXPECT_EQ(float(ticks) + 1.0f, float(ticks + 1));
}

TEST(Clocks, AreMonotonicAndAgree)
{
    double s0 = platformSeconds();
    int32_t c0 = platformProcessClockMs();
    uint32_t t0 = platformTickCount();
    platformSleepUntil(s0 + 0.03);
    EXPECT_GE(platformSeconds(), s0 + 0.03);
    EXPECT_GE(platformProcessClockMs() - c0, 29);
    EXPECT_GE(platformTickCount() - t0, 29u);
    // the process clock and the tick counter read the same clock
    EXPECT_NEAR(double(platformProcessClockMs()), double(platformTickCount()), 5.0);
}

TEST(Clocks, SleepUntilAPastMomentReturnsAtOnce)
{
    double before = platformSeconds();
    platformSleepUntil(before - 10.0);
    platformSleepUntil(0.0);
    EXPECT_LT(platformSeconds() - before, 0.5);
}

// One test, because the audio device opens once per process: the missing and the broken file
// must leave the device silent, and the real file must then reach it.
TEST(Sound, PlaysThroughTheDeviceAndIgnoresMissingOrBrokenFiles)
{
    std::string deviceFile = tempPath("audio.raw");
    std::string wav = tempPath("grunt.wav");
    std::string broken = tempPath("broken.wav");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", deviceFile.c_str(), 1);
    ASSERT_TRUE(saveBytes(wav, makeWav16(tone(5.0, 22050), 22050)));
    ASSERT_TRUE(saveBytes(broken, {'R', 'I', 'F', 'F', 1, 2, 3, 4, 'W', 'A', 'V', 'E', 0, 0}));

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    platformPlaySound(tempPath("no-such.wav").c_str(), 100);
    platformPlaySound(broken.c_str(), 100);
    platformPlaySound(nullptr, 100);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    // the device runs from the first call on; give it time to write some silence
    double wait = platformSeconds() + 30.0;
    while (readFile(deviceFile).size() < 8192 && platformSeconds() < wait)
        platformSleepUntil(platformSeconds() + 0.05);
    std::vector<uint8_t> silence = readFile(deviceFile);
    ASSERT_GE(silence.size(), 8192u) << "the disk audio device wrote nothing";
    // with the device open, Ctrl-C and kill still end the game rather than queue a quit event
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action;
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
    EXPECT_FALSE(anyNonZero(silence)) << "a missing or broken file made a sound";

    // a five-second sound: the call must come back long before it has played
    double start = platformSeconds();
    platformPlaySound(wav.c_str(), 100);
    EXPECT_LT(platformSeconds() - start, 4.0);

    bool heard = false;
    wait = platformSeconds() + 30.0;
    while (!heard && platformSeconds() < wait) {
        std::vector<uint8_t> written = readFile(deviceFile);
        // the device file may still be shorter than the silence read before
        heard = written.size() > silence.size() &&
                std::any_of(written.begin() + long(silence.size()), written.end(),
                            [](uint8_t b) { return b != 0; });
        if (!heard)
            platformSleepUntil(platformSeconds() + 0.05);
    }
    EXPECT_TRUE(heard) << "the samples never reached the device";

    std::remove(wav.c_str());
    std::remove(broken.c_str());
    std::remove(deviceFile.c_str());
}

TEST(MessageBox, WithoutADisplayWritesToStandardErrorAndReturnsAtOnce)
{
    const char* saved = std::getenv("DISPLAY");
    std::string savedDisplay = saved ? saved : "";
    for (const char* display : {"", ":987"}) {  // none set, and one that cannot be opened
        if (*display)
            setenv("DISPLAY", display, 1);
        else
            unsetenv("DISPLAY");
        testing::internal::CaptureStderr();
        double start = platformSeconds();
        platformMessageBox("Could not open house.3DS", "Error");
        double took = platformSeconds() - start;
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("Could not open house.3DS"), std::string::npos) << display;
        EXPECT_NE(err.find("Error"), std::string::npos) << display;
        EXPECT_LT(took, 5.0) << display;
    }
    if (saved)
        setenv("DISPLAY", savedDisplay.c_str(), 1);
}

// what the game reads of a file it is given or keeps: a regular file, or a link to one, up to
// its limit; anything else at once (a FIFO no one writes would hold the open for ever, a
// device would feed it for ever), and never half a file
TEST(UserFiles, OnlyARegularFileIsReadAndNoMoreThanItsLimit)
{
    const std::string root = tempPath("read");
    ASSERT_EQ(mkdir(root.c_str(), 0700), 0);
    std::ofstream(root + "/ten") << "0123456789";
    std::ofstream(root + "/empty");
    ASSERT_EQ(mkfifo((root + "/fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink("ten", (root + "/to-ten").c_str()), 0);
    ASSERT_EQ(symlink("/dev/zero", (root + "/to-zero").c_str()), 0);
    ASSERT_EQ(symlink("fifo", (root + "/to-fifo").c_str()), 0);
    const struct {
        const char* name;
        size_t limit;
        FileRead result;
        const char* text;
        const char* why;
    } rows[] = {
        {"ten", 10, FileRead::Read, "0123456789", ""},
        {"ten", 9, FileRead::TooLarge, "", "is larger than 9 bytes, too large for a test file"},
        {"to-ten", 10, FileRead::Read, "0123456789", ""},
        {"empty", 0, FileRead::Read, "", ""},
        {"none", 10, FileRead::Missing, "", "cannot read: No such file or directory"},
        {"fifo", 10, FileRead::Refused, "", "is a FIFO, not a test file"},
        {"to-fifo", 10, FileRead::Refused, "", "is a FIFO, not a test file"},
        {"to-zero", 10, FileRead::Refused, "", "is a device, not a test file"},
        {".", 10, FileRead::Refused, "", "is a directory, not a test file"},
    };
    for (const auto& row : rows) {
        std::string text = "left over", why;
        EXPECT_EQ(int(readRegularFile(root + "/" + row.name, row.limit, "a test file", &text, &why)),
                  int(row.result))
            << row.name << " " << row.limit;
        EXPECT_EQ(text, row.text) << row.name;
        EXPECT_EQ(why, row.why) << row.name;
    }
    std::system(("rm -rf '" + root + "'").c_str());
}

TEST(UserFiles, FolderFollowsTheXdgVariableThenHome)
{
    struct Case {
        const char* xdg;   // XDG_CONFIG_HOME, nullptr for unset
        const char* home;  // HOME, nullptr for unset
        const char* expected;
    } cases[] = {
        {"/x/config", "/h", "/x/config/vendettix"},
        {"", "/h", "/h/.config/vendettix"},            // empty: as if unset
        {"relative/cfg", "/h", "/h/.config/vendettix"},  // not absolute: ignored
        {nullptr, "/h", "/h/.config/vendettix"},
        {nullptr, nullptr, ""},
        {nullptr, "not/absolute", ""},
    };
    std::string savedXdg = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    for (const Case& c : cases) {
        c.xdg ? setenv("XDG_CONFIG_HOME", c.xdg, 1) : unsetenv("XDG_CONFIG_HOME");
        c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
        EXPECT_EQ(userFolderPath(UserFolder::Config), c.expected)
            << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
    }
    setenv("XDG_DATA_HOME", "/d", 1);
    setenv("XDG_STATE_HOME", "/s", 1);
    EXPECT_EQ(userFolderPath(UserFolder::Data), "/d/vendettix");
    EXPECT_EQ(userFolderPath(UserFolder::State), "/s/vendettix");
    setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    setenv("HOME", savedHome.c_str(), 1);
}

TEST(UserFiles, ReplacesWholeOrNotAtAllAndKeepsDamagedFilesAside)
{
    std::string root = tempPath("xdg");
    setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
    std::string folder, error;
    ASSERT_TRUE(makeUserFolder(UserFolder::State, folder, error)) << error;
    ASSERT_EQ(folder, root + "/state/vendettix");
    std::string file = folder + "/window";

    ASSERT_TRUE(writeFileAtomically(file, "first\n", error)) << error;
    ASSERT_TRUE(writeFileAtomically(file, "second\n", error)) << error;
    std::vector<uint8_t> bytes = readFile(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "second\n");

    // a folder that cannot be written: the old file stays, no temporary is left, the reason names it
    chmod(folder.c_str(), 0500);
    bool wrote = writeFileAtomically(file, "third\n", error);
    chmod(folder.c_str(), 0700);
    if (geteuid() != 0) {  // root writes anywhere
        EXPECT_FALSE(wrote);
        EXPECT_NE(error.find(folder), std::string::npos) << error;
        bytes = readFile(file);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "second\n");
    }
    EXPECT_FALSE(writeFileAtomically(root + "/no/such/folder/f", "x", error));
    ASSERT_TRUE(writeFileAtomically(file, "second\n", error)) << error;

    // a file in the way of a folder is an error, not a crash or a silent success
    setenv("XDG_STATE_HOME", file.c_str(), 1);
    EXPECT_FALSE(makeUserFolder(UserFolder::State, folder, error));
    EXPECT_NE(error.find(file), std::string::npos) << error;

    // two damaged copies in the same second get two names; neither is overwritten
    std::string first, second;
    ASSERT_TRUE(keepDamagedFile(file, first, error)) << error;
    ASSERT_TRUE(writeFileAtomically(file, "again\n", error)) << error;
    ASSERT_TRUE(keepDamagedFile(file, second, error)) << error;
    EXPECT_NE(first, second);
    EXPECT_NE(first.find("/window.damaged-"), std::string::npos) << first;
    bytes = readFile(first);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "second\n");
    bytes = readFile(second);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "again\n");
    EXPECT_NE(access(file.c_str(), F_OK), 0);

    // a link is written through to the file it names, and stays a link; a link to what is not a
    // regular file (a FIFO of the test's own here: never a system device, which a wrong write
    // would replace for the whole machine) is itself replaced, the FIFO left alone
    const std::string kept = root + "/kept";
    ASSERT_EQ(symlink("../../kept", file.c_str()), 0);
    ASSERT_TRUE(writeFileAtomically(file, "through\n", error)) << error;
    bytes = readFile(kept);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "through\n");
    struct stat info {};
    ASSERT_EQ(lstat(file.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    std::remove(file.c_str());
    const std::string fifo = root + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink(fifo.c_str(), file.c_str()), 0);
    ASSERT_TRUE(writeFileAtomically(file, "instead\n", error)) << error;
    ASSERT_EQ(lstat(file.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    std::system(("rm -rf '" + root + "'").c_str());
}
