#include "app/gui/tsettings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <exception>

namespace gui {

namespace {
const char* const kDescriptionHint = "Type in your own description (32 chars max)";
const char* const kInitialDescription = "12345678901234567890123456789012";

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QLineEdit* AddEdit(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(name);
  edit->setGeometry(geometry);
  return edit;
}
}  // namespace

TSettings::TSettings(platform::UserMessages& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName("Settings");
  setWindowTitle("Settings");
  // Fixed single border, no title-bar buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(287, 157);
  setModal(true);

  AddLabel(this, "Label7", "NV ram data", 8, 6);
  nvramEdit_ = AddEdit(this, "NVramEdit", kInitialDescription, QRect(8, 20, 271, 21));
  nvramEdit_->setMaxLength(logger::kDescriptionLength);
  nvramEdit_->setToolTip(kDescriptionHint);

  AddLabel(this, "Label1", "Time between samples (1-255 minutes)", 8, 48);
  sampleInterval_ = AddEdit(this, "SampleInterval", "1", QRect(216, 45, 63, 21));
  AddLabel(this, "Label4", "Start Delay (0-65535 minutes)", 8, 72);
  startDelay_ = AddEdit(this, "StartDelay", "0", QRect(216, 69, 63, 21));

  immediateStart_ = new QRadioButton("Immediate Start", this);
  immediateStart_->setObjectName("ImmediateStart");
  immediateStart_->setGeometry(8, 94, 120, 17);
  immediateStart_->setChecked(true);
  buttonStart_ = new QRadioButton("Button Start", this);
  buttonStart_->setObjectName("RadioButton2");
  buttonStart_->setGeometry(144, 94, 120, 17);

  AddLabel(this, "Label2", QString::fromUtf8("Alarms (-40 to 84\u00B0C)  Low"), 8, 118);
  lowAlarm_ = AddEdit(this, "LowAlarm", "-40", QRect(132, 115, 41, 21));
  AddLabel(this, "Label5", QString::fromUtf8("\u00B0C"), 175, 118);
  AddLabel(this, "Label3", "High", 196, 118);
  highAlarm_ = AddEdit(this, "HighAlarm", "84", QRect(222, 115, 41, 21));
  AddLabel(this, "Label6", QString::fromUtf8("\u00B0C"), 265, 118);

  okButton_ = new QPushButton("&OK", this);
  okButton_->setObjectName("OKButton");
  okButton_->setGeometry(64, 136, 75, 21);
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton("&Cancel", this);
  cancelButton_->setObjectName("CancelButton");
  cancelButton_->setGeometry(148, 136, 75, 21);
  connect(okButton_, &QPushButton::clicked, this, &TSettings::OKButtonClick);
  connect(cancelButton_, &QPushButton::clicked, this, &TSettings::CancelButtonClick);
}

void TSettings::Load(const logger::SettingsFields& fields) {
  nvramEdit_->setText(QString::fromStdString(fields.NVramEdit));
  sampleInterval_->setText(QString::fromStdString(fields.SampleInterval));
  startDelay_->setText(QString::fromStdString(fields.StartDelay));
  lowAlarm_->setText(QString::fromStdString(fields.LowAlarm));
  highAlarm_->setText(QString::fromStdString(fields.HighAlarm));
}

logger::SettingsFields TSettings::Fields() const {
  logger::SettingsFields fields;
  fields.NVramEdit = nvramEdit_->text().toStdString();
  fields.SampleInterval = sampleInterval_->text().toStdString();
  fields.StartDelay = startDelay_->text().toStdString();
  fields.LowAlarm = lowAlarm_->text().toStdString();
  fields.HighAlarm = highAlarm_->text().toStdString();
  fields.ImmediateStart = immediateStart_->isChecked();
  return fields;
}

bool TSettings::Execute(logger::SettingsFields& fields) {
  // The start mode is the user's, never set by the program.
  Load(fields);
  bool ok = exec() == QDialog::Accepted;
  fields = Fields();
  return ok;
}

void TSettings::OKButtonClick() {
  logger::SettingsFields fields = Fields();
  bool valid = false;
  try {
    valid = logger::ValidateSettings(fields);
  } catch (const std::exception& e) {
    // Replacements made before the bad field stay; the dialog stays open.
    Load(fields);
    messages_.ShowMessage(platform::MessageKind::Error, logger::LoggerApp::kApplicationTitle, e.what());
    return;
  }
  Load(fields);
  if (valid) accept();
}

}  // namespace gui
