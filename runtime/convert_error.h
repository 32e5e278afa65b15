#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace runtime {

// An error whose message the user sees. The message is kept as a string of
// its own: what() is a C string and would end it at the first NUL byte of
// text quoted from a file.
class TextError : public std::runtime_error {
 public:
  explicit TextError(const std::string& message) : std::runtime_error(message), message_(message) {}
  ~TextError() override;
  const std::string& Message() const { return message_; }

 private:
  std::string message_;
};

// A value that does not convert, or a date or time that does not exist. The
// message is the text the user sees ("'1A' is not a valid integer value").
class ConvertError : public TextError {
 public:
  explicit ConvertError(const std::string& message) : TextError(message) {}
  ~ConvertError() override;
};

// The whole message of any error: a TextError's own string, else what().
std::string ErrorText(const std::exception& error);

}  // namespace runtime
