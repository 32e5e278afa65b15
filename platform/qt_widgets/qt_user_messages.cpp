#include "platform/qt_widgets/qt_user_messages.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

void QtUserMessages::ShowMessage(MessageKind kind, const std::string& title, const std::string& text) {
  QMessageBox::Icon icon = kind == MessageKind::Warning ? QMessageBox::Warning
                           : kind == MessageKind::Error ? QMessageBox::Critical
                                                        : QMessageBox::Information;
  QMessageBox box(icon, QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok, parent_);
  box.exec();
}

bool QtUserMessages::AskYesNo(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QtBusyCursor::~QtBusyCursor() { SetHourglass(false); }

void QtBusyCursor::SetHourglass(bool on) {
  if (on == on_) return;
  on_ = on;
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace platform
