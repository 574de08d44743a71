// SPDX-License-Identifier: MIT
// board: opening the store its address names, and the key of a log.
#include "board/store.h"

#include <cstdio>

#include "board/store_backends.h"

std::string boardLogKey(const std::string& log)
{
    uint64_t a = 14695981039346656037ull;
    uint64_t b = 0x84222325cbf29ce4ull;  // another start, and the bytes taken from the end
    for (size_t i = 0; i < log.size(); ++i) {
        a = (a ^ static_cast<unsigned char>(log[i])) * 1099511628211ull;
        b = (b ^ static_cast<unsigned char>(log[log.size() - 1 - i])) * 1099511628211ull;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(a),
                  static_cast<unsigned long long>(b));
    return text;
}

std::unique_ptr<BoardStore> openBoardStore(const std::string& database, std::string* error)
{
    if (database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0)
        return openPostgresStore(database, error);
    return openSqliteStore(database, error);
}
