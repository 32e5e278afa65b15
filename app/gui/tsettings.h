#pragma once

#include <QDialog>

#include "app/logger_configuration.h"
#include "platform/user_messages.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace gui {

// Logger, Setup's dialog. Created once; its boxes keep their values between
// uses and the start mode keeps the user's last choice.
class TSettings final : public QDialog, public logger::SettingsDialogView {
  Q_OBJECT

 public:
  TSettings(platform::UserMessages& messages, QWidget* parent = nullptr);

  bool Execute(logger::SettingsFields& fields) override;

  QLineEdit* NVramEdit() const { return nvramEdit_; }
  QLineEdit* SampleInterval() const { return sampleInterval_; }
  QLineEdit* StartDelay() const { return startDelay_; }
  QLineEdit* LowAlarm() const { return lowAlarm_; }
  QLineEdit* HighAlarm() const { return highAlarm_; }
  QRadioButton* ImmediateStart() const { return immediateStart_; }
  QRadioButton* RadioButton2() const { return buttonStart_; }
  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

  // OK: validates; closes only when all four values are in range.
  void OKButtonClick();
  void CancelButtonClick() { reject(); }

 private:
  void Load(const logger::SettingsFields& fields);
  logger::SettingsFields Fields() const;

  platform::UserMessages& messages_;
  QLineEdit* nvramEdit_;
  QLineEdit* sampleInterval_;
  QLineEdit* startDelay_;
  QLineEdit* lowAlarm_;
  QLineEdit* highAlarm_;
  QRadioButton* immediateStart_;
  QRadioButton* buttonStart_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace gui
