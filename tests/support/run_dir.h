// SPDX-License-Identifier: MIT
// tests and benches: finding the generated assets, which the game reads from its working directory.
#pragma once

// changes into $VX_RUN_DIR, or else into the build's run directory beside this program's folder
void enterRunDirectory();
