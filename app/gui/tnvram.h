#pragma once

#include <QDialog>

#include "app/logger_configuration.h"
#include "platform/user_messages.h"

class QLineEdit;
class QPushButton;

namespace gui {

// Logger, Set NV ram's dialog: just the description.
class TNVram final : public QDialog, public logger::NVramDialogView {
  Q_OBJECT

 public:
  TNVram(platform::UserMessages& messages, QWidget* parent = nullptr);

  bool Execute(std::string& text) override;

  QLineEdit* NVramEdit() const { return nvramEdit_; }
  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

  // OK closes unless the text is one the recorder cannot hold.
  void OKButtonClick();

 private:
  platform::UserMessages& messages_;
  QLineEdit* nvramEdit_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace gui
