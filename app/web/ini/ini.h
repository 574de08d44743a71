// SPDX-License-Identifier: MIT
// The page's INI reader: the settings file's syntax with the interface and the behaviour of the
// desktop's INI library (Debian's libinih, as built there), written for the web build, where that
// library's source is not to be had. tests/unit/web_ini_test.cpp holds the two to the same
// callbacks on every line form the settings file can hold.
//
// A line at a time (at most 199 characters): a UTF-8 byte order mark at the start is skipped;
// blank lines and lines starting with ; or # are comments; [section]; name = value or
// name : value, both trimmed, the value cut at a ; that follows a space; a line with leading
// space after a setting continues that setting (the handler gets the whole line, trimmed, as
// another value of the same name). The handler returns nonzero to go on.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef int (*ini_handler)(void* user, const char* section, const char* name, const char* value);
typedef char* (*ini_reader)(char* str, int num, void* stream);

// the number of the first line that was malformed or whose handler returned 0; 0 when none.
// Reading goes on past a bad line.
int ini_parse_stream(ini_reader reader, void* stream, ini_handler handler, void* user);

#ifdef __cplusplus
}
#endif
