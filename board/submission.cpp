// SPDX-License-Identifier: MIT
// board: the body of a submission and the player's name.
#include "board/submission.h"

#include <nlohmann/json.hpp>

bool checkPlayerName(const std::string& name, std::string* trimmed, std::string* error)
{
    const size_t first = name.find_first_not_of(' ');
    const size_t last = name.find_last_not_of(' ');
    *trimmed = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    if (trimmed->empty()) {
        *error = "the player's name is empty";
        return false;
    }
    if (trimmed->size() > kLongestPlayerName) {
        *error = "the player's name is longer than 24 characters";
        return false;
    }
    for (const char c : *trimmed) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == ' ' || c == '-' || c == '_' ||
                             c == '.' || c == '\'';
        if (!allowed) {
            *error = "the player's name may hold only letters, digits, spaces and -_.'";
            return false;
        }
    }
    return true;
}

bool parseSubmission(const std::string& body, Submission* submission, std::string* error)
{
    const nlohmann::json json = nlohmann::json::parse(body, nullptr, false);
    if (json.is_discarded()) {
        *error = "the body is not JSON";
        return false;
    }
    if (!json.is_object()) {
        *error = "the body is not a JSON object";
        return false;
    }
    const auto player = json.find("player");
    const auto log = json.find("log");
    if (player == json.end() || !player->is_string()) {
        *error = "\"player\" is missing or not a string";
        return false;
    }
    if (log == json.end() || !log->is_string()) {
        *error = "\"log\" is missing or not a string";
        return false;
    }
    if (log->get_ref<const std::string&>().empty()) {
        *error = "\"log\" is empty";
        return false;
    }
    if (log->get_ref<const std::string&>().find('\0') != std::string::npos) {
        *error = "\"log\" holds a NUL character";
        return false;
    }
    if (!checkPlayerName(player->get_ref<const std::string&>(), &submission->player, error))
        return false;
    submission->log = log->get<std::string>();
    return true;
}

std::string escapeHtml(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}
