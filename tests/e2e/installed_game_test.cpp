// SPDX-License-Identifier: MIT
// The installed game, started as a desktop launcher starts it: from a directory without its data.
// The build tree is installed into a fresh prefix, in the layout the build was configured for (bin/
// and share/vendettix, or the Debian package's games/ and share/games/vendettix); the game must
// find its data from its own place.
#include "tests/support/e2e_harness.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Answer {
    int status = -1;
    std::string out, err;
};

// runs the game from / with no display and no VENDETTIX_DATA, so nothing but its own place can help it
Answer runFromRoot(const fs::path& game, const std::string& args, const fs::path& scratch)
{
    fs::path out = scratch / "out", err = scratch / "err";
    std::string command = "cd / && env -u DISPLAY -u VENDETTIX_DATA '" + game.string() + "' " + args +
                          " >'" + out.string() + "' 2>'" + err.string() + "'";
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(out), readText(err)};
}

class InstalledGame : public testing::Test {
protected:
    void SetUp() override
    {
        const char* cmake = std::getenv("VX_CMAKE");
        const char* build = std::getenv("VX_BINARY_DIR");
        const char* bindir = std::getenv("VX_INSTALL_BINDIR");
        const char* datadir = std::getenv("VX_INSTALL_DATADIR");
        ASSERT_TRUE(cmake && build && bindir && datadir)
            << "VX_CMAKE, VX_BINARY_DIR and VX_INSTALL_BINDIR and _DATADIR name the build";
        std::string pattern = (fs::temp_directory_path() / "vx-installed-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        scratch = pattern;
        prefix = scratch / "prefix";
        std::string install = std::string("'") + cmake + "' --install '" + build + "' --prefix '" +
                              prefix.string() + "' >'" + (scratch / "install.log").string() +
                              "' 2>&1";
        ASSERT_EQ(std::system(install.c_str()), 0) << readText(scratch / "install.log");
        bin = prefix / bindir;
        data = prefix / datadir;
        game = bin / "vendettix";
    }
    void TearDown() override
    {
        std::error_code ec;
        if (!scratch.empty())
            fs::remove_all(scratch, ec);
    }
    fs::path scratch, prefix, bin, data, game;
};

TEST_F(InstalledGame, AnswersItsCommandLineWithoutAWindow)
{
    Answer version = runFromRoot(game, "--version", scratch);
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, "Vendettix 1.0.0\n");

    Answer help = runFromRoot(game, "--help", scratch);
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("--fullscreen"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("hide left"), std::string::npos) << help.out;

    Answer bad = runFromRoot(game, "--no-such-option", scratch);
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.out.empty()) << bad.out;
    EXPECT_NE(bad.err.find("Usage: vendettix"), std::string::npos) << bad.err;
}

TEST_F(InstalledGame, WithItsDataMovedAwayNamesThePlacesTriedAndFails)
{
    ASSERT_TRUE(fs::is_regular_file(data / "Stucco.bmp"));
    fs::rename(data, prefix / "share" / "elsewhere");
    Answer answer = runFromRoot(game, "", scratch);
    EXPECT_EQ(answer.status, 1);
    EXPECT_TRUE(answer.out.empty()) << answer.out;
    EXPECT_NE(answer.err.find("  / (the working directory)"), std::string::npos) << answer.err;
    // an installed game has no build tree beside it, and names none; each place comes once
    EXPECT_EQ(answer.err.find((bin / "run").string()), std::string::npos) << answer.err;
    EXPECT_EQ(answer.err.find(data.string()), answer.err.rfind(data.string())) << answer.err;
    EXPECT_NE(answer.err.find(data.string() + " (beside the executable)"), std::string::npos)
        << answer.err;
}

TEST_F(InstalledGame, PlaysFromAnotherDirectoryAndNamesItsWindow)
{
    E2eGame play;
    ASSERT_FALSE(play.display().empty()) << "the virtual X server did not start";
    // the harness's run directory becomes a directory without the data, a stray file of the set
    // left in it (a working directory holding only that once broke the installed game)
    for (const fs::directory_entry& entry : fs::directory_iterator(play.runDir()))
        if (entry.path().filename() != "grunt.wav")
            fs::remove(entry.path());
    setenv("VX_GAME", game.c_str(), 1);
    ASSERT_TRUE(play.start()) << "cannot start " << game;
    ASSERT_TRUE(play.waitForWindow()) << "no window; the game said:\n" << play.stderrText();
    std::string id = std::to_string(play.window().id);

    CommandResult windowClass = play.runX({"xprop", "-id", id, "WM_CLASS"});
    EXPECT_NE(windowClass.output.find("\"vendettix\", \"Vendettix\""), std::string::npos)
        << windowClass.output;
    CommandResult icon = play.runX({"xprop", "-id", id, "_NET_WM_ICON"});
    EXPECT_NE(icon.output.find("Icon (64 x 64)"), std::string::npos) << icon.output.substr(0, 200);

    Screenshot shot;
    EXPECT_TRUE(play.waitForScreenshot([](const Screenshot& s) { return s.litPixels() > 1000; },
                                       120.0, &shot))
        << shot.save("installed-first-frame");
    play.tapKey("q");
    ASSERT_TRUE(play.waitForExit());
    EXPECT_EQ(play.exitStatus(), 0) << play.stderrText();
}

}  // namespace
