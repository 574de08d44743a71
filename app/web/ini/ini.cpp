// SPDX-License-Identifier: MIT
// The page's INI reader (ini.h says what it reads and why it is here).
#include "ini.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

constexpr int kLineBuffer = 200;     // a line and its newline, as the reader is asked for
constexpr size_t kLongestName = 49;  // a section's or a continued setting's name is cut there

bool isSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

char* skipSpace(char* s)
{
    while (*s && isSpace(*s))
        ++s;
    return s;
}

// cuts the trailing space off in place
char* trimEnd(char* s)
{
    char* end = s + std::strlen(s);
    while (end > s && isSpace(end[-1]))
        *--end = '\0';
    return s;
}

// the first of the stop characters, or of a ; that follows a space (a comment), or the end
char* findStopOrComment(char* s, const char* stops)
{
    bool afterSpace = false;
    for (; *s; ++s) {
        if (stops && std::strchr(stops, *s))
            break;
        if (afterSpace && *s == ';')
            break;
        afterSpace = isSpace(*s);
    }
    return s;
}

}  // namespace

extern "C" int ini_parse_stream(ini_reader reader, void* stream, ini_handler handler, void* user)
{
    char line[kLineBuffer];
    std::string section, lastName;
    int lineNumber = 0;
    int firstError = 0;
    auto fault = [&] {
        if (firstError == 0)
            firstError = lineNumber;
    };
    while (reader(line, kLineBuffer, stream)) {
        ++lineNumber;
        char* start = line;
        if (lineNumber == 1 && std::strncmp(start, "\xEF\xBB\xBF", 3) == 0)
            start += 3;
        start = skipSpace(trimEnd(start));
        if (*start == '\0' || *start == ';' || *start == '#')
            continue;
        if (!lastName.empty() && start > line) {
            // an indented line goes on with the setting above, comment and all
            if (!handler(user, section.c_str(), lastName.c_str(), start))
                fault();
        } else if (*start == '[') {
            char* end = findStopOrComment(start + 1, "]");
            if (*end != ']') {
                fault();
                continue;
            }
            *end = '\0';
            section.assign(start + 1, std::min(std::strlen(start + 1), kLongestName));
            lastName.clear();
        } else {
            char* end = findStopOrComment(start, "=:");
            if (*end != '=' && *end != ':') {
                fault();
                continue;
            }
            *end = '\0';
            const char* name = trimEnd(start);
            char* value = end + 1;
            *findStopOrComment(value, nullptr) = '\0';
            value = trimEnd(skipSpace(value));
            lastName.assign(name, std::min(std::strlen(name), kLongestName));
            if (!handler(user, section.c_str(), name, value))
                fault();
        }
    }
    return firstError;
}
