// SPDX-License-Identifier: MIT
// board: the store in PostgreSQL (not yet).
#include "board/store_backends.h"

std::unique_ptr<BoardStore> openPostgresStore(const std::string& url, std::string* error)
{
    *error = url + ": PostgreSQL is not supported yet";
    return nullptr;
}
