#pragma once

#include <optional>
#include <string>

namespace logger {

// How long a command waits for each answer of the recorder before it gives
// up, in both programs.
constexpr int kDefaultAnswerTimeoutMs = 10000;

// A time-out given in seconds ("10", "2.5", "0.3") as milliseconds; nullopt
// for anything that is not a number from 0.001 (one millisecond) to 86400.
std::optional<int> ParseTimeoutSeconds(const std::string& text);

// The text --timeout options refuse with.
std::string TimeoutUsageError(const std::string& option, const std::string& given);

// Milliseconds as seconds for messages: "10 s", "2.5 s", "0.3 s".
std::string SecondsText(int milliseconds);

}  // namespace logger
