#pragma once

#include "platform/busy_cursor.h"
#include "platform/user_messages.h"

class QWidget;

namespace platform {

// Modal message boxes with one OK button, and questions, parented to the
// main window.
class QtUserMessages final : public UserMessages {
 public:
  explicit QtUserMessages(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void ShowMessage(MessageKind kind, const std::string& title, const std::string& text) override;
  bool AskYesNo(const std::string& title, const std::string& text) override;

 private:
  QWidget* parent_;
};

// The hourglass as Qt's application-wide override cursor; repeated calls
// with the same state do not stack.
class QtBusyCursor final : public BusyCursor {
 public:
  ~QtBusyCursor() override;
  void SetHourglass(bool on) override;
  bool Hourglass() const { return on_; }

 private:
  bool on_ = false;
};

}  // namespace platform
