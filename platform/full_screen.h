// SPDX-License-Identifier: MIT
// platform: the full-screen switch the bindings ask for; the shell routes it to the window
// toolkit.
#pragma once

void requestFullScreenToggle();
// the shell installs the toolkit's switch here; without one a request does nothing
void setFullScreenHandler(void (*handler)());
