// SPDX-License-Identifier: MIT
// tests: the test programs' main. As GoogleTest's own, but a run in which tests skipped
// themselves and none failed ends with VX_SKIP_STATUS, which ctest reports as skipped: a test
// that did not run must not pass for one that did. A test program started by hand, outside
// CTest (which gives every test XDG folders of its own), gets fresh ones in the temporary
// folder, so no test reads or writes the player's real files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

static void keepOutOfTheRealHome()
{
    if (std::getenv("XDG_CONFIG_HOME") && std::getenv("XDG_DATA_HOME") &&
        std::getenv("XDG_STATE_HOME"))
        return;
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/vx-test-home-XXXXXX";
    if (!mkdtemp(folder.data()))
        return;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
        setenv(name, (folder + "/" + name).c_str(), 1);
}

int main(int argc, char** argv)
{
    keepOutOfTheRealHome();
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    if (status == 0 && run.skipped_test_count() > 0)
        return VX_SKIP_STATUS;
    return status;
}
