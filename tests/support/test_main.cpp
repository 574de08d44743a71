// SPDX-License-Identifier: MIT
// tests: the test programs' main. As GoogleTest's own, but a run in which tests skipped
// themselves and none failed ends with VX_SKIP_STATUS, which ctest reports as skipped: a test
// that did not run must not pass for one that did.
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    if (status == 0 && run.skipped_test_count() > 0)
        return VX_SKIP_STATUS;
    return status;
}
