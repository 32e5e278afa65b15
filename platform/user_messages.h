#pragma once

#include <string>

namespace platform {

enum class MessageKind { Information, Warning, Error };

// Modal message boxes with a single OK button, and yes-or-no questions. The window shows them; a
// console program prints them to standard error; tests record them.
class UserMessages {
 public:
  virtual ~UserMessages() = default;
  virtual void ShowMessage(MessageKind kind, const std::string& title, const std::string& text) = 0;
  // A question with the buttons Yes and No, No being the default; true for
  // Yes. Where nobody can answer (a console program), the answer is No.
  virtual bool AskYesNo(const std::string& title, const std::string& text) {
    (void)title;
    (void)text;
    return false;
  }
};

}  // namespace platform
