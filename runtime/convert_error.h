#pragma once

#include <stdexcept>
#include <string>

namespace runtime {

// A value that does not convert, or a date or time that does not exist. The
// message is the text the user sees ("'1A' is not a valid integer value").
class ConvertError : public std::runtime_error {
 public:
  explicit ConvertError(const std::string& message) : std::runtime_error(message) {}
  ~ConvertError() override;
};

}  // namespace runtime
