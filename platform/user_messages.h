#pragma once

#include <string>

namespace platform {

enum class MessageKind { Information, Warning, Error };

// Modal message boxes with a single OK button. The window shows them; a
// console program prints them to standard error; tests record them.
class UserMessages {
 public:
  virtual ~UserMessages() = default;
  virtual void ShowMessage(MessageKind kind, const std::string& title, const std::string& text) = 0;
};

}  // namespace platform
