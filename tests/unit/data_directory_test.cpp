// SPDX-License-Identifier: MIT
// tests: where the game looks for its data, in which order, and what it takes for a data
// directory: the data set's manifest or every file of the set, never a stray file. No display.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/data_directory.h"

namespace fs = std::filesystem;

namespace {

// what a place holds
enum class Holds { Manifest, ManifestAlone, OtherManifest, ManifestFolder, StrayFile, StraySet,
                   WholeSet, WholeSetButOne, Nothing, AFile, NoSuchPlace };

const char* const kSet[] = {"house.3DS", "Stucco.bmp", "grunt.wav"};

void write(const fs::path& path, const std::string& text)
{
    std::ofstream(path) << text;
}

// a place of the kind under root/name
std::string makePlace(const fs::path& root, const std::string& name, Holds holds)
{
    fs::path place = root / name;
    if (holds == Holds::NoSuchPlace)
        return place.string();
    if (holds == Holds::AFile) {
        write(place, "house.3DS\n");
        return place.string();
    }
    fs::create_directories(place);
    const std::string header = std::string(kDataManifestHeader) + "\n";
    switch (holds) {
    case Holds::Manifest:
        for (const char* file : kSet)
            write(place / file, "x");
        write(place / kDataManifestName, header + "house.3DS\n");
        break;
    case Holds::ManifestAlone:  // a damaged set: the loaders will name what is missing
        write(place / kDataManifestName, header);
        break;
    case Holds::OtherManifest:
        write(place / kDataManifestName, "another-set 1\n");
        break;
    case Holds::ManifestFolder:
        fs::create_directories(place / kDataManifestName);
        break;
    case Holds::StrayFile:
        write(place / "grunt.wav", "RIFF");
        break;
    case Holds::StraySet:
        for (const char* file : kSet)
            write(place / file, "x");
        break;
    case Holds::WholeSet:  // a copy made without the manifest
        for (const char* file : kDataSetFiles)
            write(place / file, "x");
        break;
    case Holds::WholeSetButOne:
        for (const char* file : kDataSetFiles)
            write(place / file, "x");
        fs::remove(place / "egg.bmp");
        break;
    default:
        break;
    }
    return place.string();
}

class DataDirectoryTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vx-data-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        start = fs::current_path();
        const char* variable = std::getenv(kDataVariable);
        hadVariable = variable != nullptr;
        if (variable)
            savedVariable = variable;
    }
    void TearDown() override
    {
        fs::current_path(start);
        if (hadVariable)
            setenv(kDataVariable, savedVariable.c_str(), 1);
        else
            unsetenv(kDataVariable);
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path root, start;
    bool hadVariable = false;
    std::string savedVariable;
};

TEST_F(DataDirectoryTest, TheFirstPlaceWithTheManifestOrAnErrorForTheVariable)
{
    struct Case {
        const char* what;
        bool variableFirst;          // the first place is VENDETTIX_DATA
        std::vector<Holds> places;
        int chosen;                  // -1: none
        std::string problem;         // after "VENDETTIX_DATA is <path>, which "
    } cases[] = {
        {"a stray grunt.wav is passed over", false, {Holds::StrayFile, Holds::Manifest}, 1, ""},
        {"three files of the set without its manifest too", false,
         {Holds::StraySet, Holds::Manifest}, 1, ""},
        {"every file of the set without the manifest is the data", false,
         {Holds::WholeSet, Holds::Manifest}, 0, ""},
        {"but not with one missing", false, {Holds::WholeSetButOne, Holds::Manifest}, 1, ""},
        {"the variable at every file of the set", true, {Holds::WholeSet, Holds::Manifest}, 0, ""},
        {"the first of two", false, {Holds::Manifest, Holds::Manifest}, 0, ""},
        {"a damaged set is still the game's", false, {Holds::ManifestAlone, Holds::Manifest}, 0, ""},
        {"another set's manifest", false, {Holds::OtherManifest, Holds::Manifest}, 1, ""},
        {"a folder named as the manifest", false, {Holds::ManifestFolder, Holds::Manifest}, 1, ""},
        {"passed over to the last", false, {Holds::Nothing, Holds::AFile, Holds::NoSuchPlace,
                                            Holds::Manifest}, 3, ""},
        {"none", false, {Holds::StrayFile, Holds::Nothing, Holds::NoSuchPlace}, -1, ""},
        {"the variable's place", true, {Holds::ManifestAlone, Holds::Manifest}, 0, ""},
        {"the variable at a file", true, {Holds::AFile, Holds::Manifest}, -1,
         "is a file, not a directory"},
        {"the variable at an empty folder", true, {Holds::Nothing, Holds::Manifest}, -1,
         "is an empty directory"},
        {"the variable at nothing", true, {Holds::NoSuchPlace, Holds::Manifest}, -1,
         "does not exist"},
        {"the variable at stray files", true, {Holds::StraySet, Holds::Manifest}, -1,
         "holds no game data (no vendettix.manifest, and no windowFrames.3DS of the set)"},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::vector<DataPlace> places;
        for (size_t i = 0; i < c.places.size(); ++i) {
            std::string path = makePlace(root, std::to_string(n++), c.places[i]);
            places.push_back({path, i == 0 && c.variableFirst ? kDataVariable : "elsewhere"});
        }
        DataChoice choice = chooseDataPlace(places);
        int chosen = choice.place ? int(choice.place - places.data()) : -1;
        EXPECT_EQ(chosen, c.chosen) << c.what;
        if (c.problem.empty())
            EXPECT_EQ(choice.problem, "") << c.what;
        else
            EXPECT_EQ(choice.problem, "VENDETTIX_DATA is " + places[0].path + ", which " + c.problem)
                << c.what;
    }
}

TEST_F(DataDirectoryTest, LookupOrderStartsWithTheVariableThenTheWorkingDirectory)
{
    fs::path here = root / "here";
    fs::create_directories(here);
    fs::current_path(here);
    struct Case {
        const char* variable;  // nullptr: unset
        std::vector<std::string> why;
        std::string first;
    } cases[] = {
        // a test's executable has no run/ beside it, as an installed game has none
        {nullptr, {"the working directory", "beside the executable", "the installed data"},
         here.string()},
        {"", {"the working directory", "beside the executable", "the installed data"},
         here.string()},
        {"/a/b/../c/", {"VENDETTIX_DATA", "the working directory", "beside the executable",
                        "the installed data"}, "/a/c"},
    };
    for (const Case& c : cases) {
        if (c.variable)
            setenv(kDataVariable, c.variable, 1);
        else
            unsetenv(kDataVariable);
        std::vector<DataPlace> places = dataDirectoryPlaces();
        std::vector<std::string> why;
        for (const DataPlace& place : places)
            why.push_back(place.why);
        EXPECT_EQ(why, c.why) << (c.variable ? c.variable : "unset");
        ASSERT_FALSE(places.empty());
        EXPECT_EQ(places[0].path, c.first);
        // the installed layout is found from the executable
        size_t beside = places.size() - 2;
        EXPECT_EQ(fs::path(places[beside].path).filename(), "vendettix");
        EXPECT_EQ(fs::path(places[beside + 1].path).filename(), "vendettix");
    }
}

// an installed game has no build tree beside it, and its data beside the executable is the
// installed data: each place is named once
TEST_F(DataDirectoryTest, EachPlaceOnceAndTheBuildTreeOnlyWhereThereIsOne)
{
    unsetenv(kDataVariable);
    fs::current_path(root);
    const fs::path built = root / "build";
    fs::create_directories(built / "run");
    std::vector<DataPlace> places = dataDirectoryPlacesFor(built.string());
    const std::string installed = places.back().path;
    std::vector<std::string> why;
    for (const DataPlace& place : places)
        why.push_back(place.why);
    EXPECT_EQ(why, (std::vector<std::string>{"the working directory", "the build tree",
                                             "beside the executable", "the installed data"}));
    EXPECT_EQ(places[1].path, (built / "run").string());

    // the executable installed: its data beside it is the installed data
    const fs::path besideOf = fs::path(places[2].path);
    const fs::path bin = (fs::path(installed) / built.lexically_relative(besideOf)).lexically_normal();
    places = dataDirectoryPlacesFor(bin.string());
    why.clear();
    for (const DataPlace& place : places)
        why.push_back(place.why);
    EXPECT_EQ(why, (std::vector<std::string>{"the working directory", "beside the executable"}))
        << bin;
    EXPECT_EQ(places.back().path, installed);

    // started from inside the build tree's run/ with the variable pointing there too
    fs::current_path(built / "run");
    setenv(kDataVariable, (built / "run").c_str(), 1);
    places = dataDirectoryPlacesFor(built.string());
    ASSERT_EQ(places.size(), 3u);
    EXPECT_STREQ(places[0].why, kDataVariable);
    EXPECT_STREQ(places[1].why, "beside the executable");
}

// the asset generator's manifest names the set the game knows, file for file
TEST_F(DataDirectoryTest, TheGeneratedManifestNamesTheSetTheGameKnows)
{
    const char* run = std::getenv("VX_RUN_DIR");
    if (!run || !*run)
        GTEST_SKIP() << "no run directory";
    std::ifstream in(std::string(run) + "/" + kDataManifestName);
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line, kDataManifestHeader);
    std::vector<std::string> named;
    while (std::getline(in, line))
        named.push_back(line);
    EXPECT_EQ(named, std::vector<std::string>(std::begin(kDataSetFiles), std::end(kDataSetFiles)));
}

// the game's own entry: it plays from the variable's place, or says in one line what is wrong
TEST_F(DataDirectoryTest, EntersTheVariablesPlaceOrSaysWhatItPointsAt)
{
    std::string good = makePlace(root, "good", Holds::ManifestAlone);
    fs::current_path(makePlace(root, "stray", Holds::StrayFile));
    setenv(kDataVariable, good.c_str(), 1);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(enterDataDirectory());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(fs::current_path(), fs::path(good));

    std::string file = makePlace(root, "file", Holds::AFile);
    setenv(kDataVariable, file.c_str(), 1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(enterDataDirectory());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vendettix: VENDETTIX_DATA is " + file + ", which is a file, not a directory\n");
    EXPECT_EQ(fs::current_path(), fs::path(good)) << "nothing entered";

    // with no place holding the data, every place tried is named (on a machine where the game is
    // installed the installed data answers instead)
    unsetenv(kDataVariable);
    fs::current_path(makePlace(root, "stray again", Holds::StraySet));
    std::vector<DataPlace> places = dataDirectoryPlaces();
    if (chooseDataPlace(places).place)
        return;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(enterDataDirectory());
    std::string expected =
        "vendettix: cannot find the game's data (models, textures, sound); looked in:\n";
    for (const DataPlace& place : places)
        expected += "  " + place.path + " (" + place.why + ")\n";
    expected += "Set VENDETTIX_DATA to the directory that holds them.\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), expected);
}

}  // namespace
