// SPDX-License-Identifier: MIT
// board: what a client sends, checked before anything is kept.
#pragma once
#include <cstddef>
#include <string>

constexpr size_t kLargestSubmissionBytes = 2 * 1024 * 1024;
constexpr size_t kLongestPlayerName = 24;

struct Submission {
    std::string player;  // trimmed
    std::string log;
};

// A body of {"player": NAME, "log": TEXT}. false with *error saying what is wrong when it is
// not JSON, not such an object, or the name is not a player's name.
bool parseSubmission(const std::string& body, Submission* submission, std::string* error);

// 1-24 characters once trimmed of spaces: letters, digits, spaces and -_.'
// false with *error when the name is not one; *trimmed gets the trimmed name
bool checkPlayerName(const std::string& name, std::string* trimmed, std::string* error);

// the text with & < > " ' written as HTML's character references
std::string escapeHtml(const std::string& text);
