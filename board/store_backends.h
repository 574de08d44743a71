// SPDX-License-Identifier: MIT
// board: the two kinds of store, behind openBoardStore.
#pragma once
#include <memory>
#include <string>

#include "board/store.h"

std::unique_ptr<BoardStore> openSqliteStore(const std::string& path, std::string* error);
std::unique_ptr<BoardStore> openPostgresStore(const std::string& url, std::string* error);
