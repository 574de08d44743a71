// SPDX-License-Identifier: MIT
// The page's INI reader (app/web/ini) against the desktop's INI library: the same text gives the
// same calls of the handler, in the same order, and the same first bad line.
#include <gtest/gtest.h>

#include <ini.h>

#include <algorithm>
#include <cstring>
#include <string>

// the page's reader, built here under a name of its own beside the library
extern "C" int web_ini_parse_stream(ini_reader reader, void* stream, ini_handler handler,
                                    void* user);

namespace {

struct Stream {
    std::string text;
    size_t at = 0;
};

// as fgets: up to size - 1 characters, through the newline
char* readPiece(char* buffer, int size, void* stream)
{
    Stream& s = *static_cast<Stream*>(stream);
    if (s.at >= s.text.size())
        return nullptr;
    size_t end = s.text.find('\n', s.at);
    end = end == std::string::npos ? s.text.size() : end + 1;
    const size_t length = std::min(end - s.at, size_t(size - 1));
    std::memcpy(buffer, s.text.data() + s.at, length);
    buffer[length] = '\0';
    s.at += length;
    return buffer;
}

// every call as "[section] name=value"; a setting named "refuse" is refused
int record(void* user, const char* section, const char* name, const char* value)
{
    static_cast<std::string*>(user)->append(std::string("[") + section + "] " + name + "=" +
                                            value + "\n");
    return std::strcmp(name, "refuse") != 0;
}

std::string readWith(decltype(&web_ini_parse_stream) parse, const std::string& text)
{
    Stream stream{text};
    std::string calls;
    const int bad = parse(readPiece, &stream, record, &calls);
    return calls + "bad line " + std::to_string(bad);
}

TEST(WebIni, ReadsAsTheDesktopLibraryDoes)
{
    const std::string longName(60, 'n');
    const std::string longSection(60, 's');
    const char* texts[] = {
        "",
        "; a comment\n# another\n\n   \n\t\n",
        "\xEF\xBB\xBF[look]\nsensitivity = 1.5\n",
        "a=1\n\xEF\xBB\xBF" "b=2\n",
        "[sound]\nvolume=80\nmute : true\n",
        "[ spaced ]\n  [indented]\nx=1\n",
        "[unclosed\nx=1\n[a ;b]\ny=2\n[a;b]\nz=3\n",
        "x = value ; comment\ny = value;not a comment\nz=;w\nv =\t ;\n",
        "[keys]\nthrow = Space\n  continued ; with a comment\n\tand tabs\n",
        "  indented first = 1\n",
        "no delimiter here\nk=v\nanother bad line\n",
        "=no name\n: colon first\nname:with=both\nname=with:both\n",
        "refuse=1\nk=v\nrefuse=2\n",
        "bad\nrefuse=1\n",
        "a=1\r\nb = 2 \r\n[s]\r\n  c\r\n",
        "a=1\n# comment between\n  goes on\n",
        "[s]\n  not a continuation\n",
        "trailing = no newline",
    };
    for (const char* text : texts)
        EXPECT_EQ(readWith(web_ini_parse_stream, text), readWith(ini_parse_stream, text))
            << "text: " << text;
    // names and sections past the library's buffers, a line past its line buffer
    const std::string longer[] = {
        longName + "=1\n  more\n",
        "[" + longSection + "]\nx=1\n",
        "k=" + std::string(250, 'v') + "\nj=1\n",
        std::string(230, ' ') + "x=1\n",
    };
    for (const std::string& text : longer)
        EXPECT_EQ(readWith(web_ini_parse_stream, text), readWith(ini_parse_stream, text))
            << "text: " << text;
}

}  // namespace
