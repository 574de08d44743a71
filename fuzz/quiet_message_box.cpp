// SPDX-License-Identifier: MIT
// fuzz: the model loader's message box, silent, so a run never waits and never floods the log.
#include "platform/services.h"

#include <cstring>

void showMessageBox(const char* text, const char* title)
{
    // touch both strings the way a real box would
    volatile size_t length = std::strlen(text) + std::strlen(title);
    (void)length;
}
