#include "app/answer_timeout.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace logger {

std::optional<int> ParseTimeoutSeconds(const std::string& text) {
  if (text.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  double seconds = std::strtod(text.c_str(), &end);
  if (errno != 0 || end == text.c_str() || *end != '\0' || !std::isfinite(seconds)) return std::nullopt;
  // Below a millisecond the wait would end before any answer could arrive,
  // and would round to "no time-out at all".
  if (seconds < 0.001 || seconds > 86400) return std::nullopt;
  return static_cast<int>(std::lround(seconds * 1000));
}

std::string TimeoutUsageError(const std::string& option, const std::string& given) {
  return option + " takes a number of seconds from 0.001 to 86400, not '" + given + "'";
}

std::string SecondsText(int milliseconds) {
  std::string text = std::to_string(milliseconds / 1000);
  int fraction = milliseconds % 1000;
  if (fraction != 0) {
    std::string digits = std::to_string(1000 + fraction).substr(1);
    while (digits.back() == '0') digits.pop_back();
    text += '.';
    text += digits;
  }
  return text + " s";
}

}  // namespace logger
