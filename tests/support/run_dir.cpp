// SPDX-License-Identifier: MIT
// tests and benches: finding the generated assets.
#include "tests/support/run_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

void enterRunDirectory()
{
    const char* run = std::getenv("VX_RUN_DIR");
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string fallback;
    if (n > 0) {
        exe[n] = 0;
        fallback = std::string(exe).substr(0, std::string(exe).rfind('/')) + "/../run";
    }
    if (!(run && *run && chdir(run) == 0) && !fallback.empty())
        (void)chdir(fallback.c_str());
}
