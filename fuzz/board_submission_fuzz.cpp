// SPDX-License-Identifier: MIT
// fuzz: what the score board does with a request's body before anything is kept or replayed:
// the JSON and the player's name, then the log through the reader and the length check.
#include <cstddef>
#include <cstdint>
#include <string>

#include "board/submission.h"
#include "board/verify.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string body(reinterpret_cast<const char*>(data), size);
    Submission submission;
    std::string error;
    if (!parseSubmission(body, &submission, &error)) {
        if (error.empty())
            __builtin_trap();  // a refusal always says why
        return 0;
    }
    if (submission.player.empty() || submission.player.size() > kLongestPlayerName)
        __builtin_trap();
    Verdict verdict;
    if (!readSubmittedLog(submission.log, &verdict) && verdict.reason.empty())
        __builtin_trap();
    return 0;
}
