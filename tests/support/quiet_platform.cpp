// tests: the sound and the message box for tests of the rules, which link no display library
// (the real ones are SDL's): nothing plays, the text goes to standard error as the real box's does.
#include <cstdio>

#include "platform/message_box.h"
#include "platform/sound.h"

void platformPlaySound(const char*) {}

void platformMessageBox(const char* text, const char* title)
{
    std::fprintf(stderr, "%s: %s\n", title, text);
}
