#include "app/gui/tsettings.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "app/gui/form_buttons.h"
#include "app/gui/window_font.h"
#include "runtime/convert_error.h"

namespace gui {

namespace {
const char* const kDescriptionHint = "Type in your own description (32 chars max)";
const char* const kInitialDescription = "12345678901234567890123456789012";

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

// A box as wide as the design asks (scaled with the font) and never
// narrower than the widest text it is meant to hold.
QLineEdit* AddEdit(QWidget* parent, const char* name, const QString& text, int designWidth, const QString& widest) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(name);
  int frame = 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
  int needed = edit->fontMetrics().horizontalAdvance(widest) + frame + 8;
  edit->setMinimumWidth(std::max(DesignPixels(edit, designWidth), needed));
  return edit;
}
}  // namespace

TSettings::TSettings(platform::UserMessages& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName("Settings");
  setWindowTitle("Settings");
  setFont(WindowFont());
  // Fixed single border, no title-bar buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);

  // Top to bottom as designed: the description, the two times, the start
  // mode, the alarms, the buttons. Sizes come from the texts.
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 6, 8, 8);
  column->setSpacing(4);

  column->addWidget(AddLabel(this, "Label7", "NV ram data"));
  nvramEdit_ = AddEdit(this, "NVramEdit", kInitialDescription, 271, kInitialDescription);
  nvramEdit_->setMinimumWidth(DescriptionBoxWidth(nvramEdit_));
  nvramEdit_->setMaxLength(logger::kDescriptionLength);
  nvramEdit_->setToolTip(kDescriptionHint);
  column->addWidget(nvramEdit_);

  auto* times = new QGridLayout;
  times->setHorizontalSpacing(8);
  times->setVerticalSpacing(3);
  times->addWidget(AddLabel(this, "Label1", "Time between samples (1-255 minutes)"), 0, 0);
  sampleInterval_ = AddEdit(this, "SampleInterval", "1", 63, "65535");
  times->addWidget(sampleInterval_, 0, 1, Qt::AlignRight);
  times->addWidget(AddLabel(this, "Label4", "Start Delay (0-65535 minutes)"), 1, 0);
  startDelay_ = AddEdit(this, "StartDelay", "0", 63, "65535");
  times->addWidget(startDelay_, 1, 1, Qt::AlignRight);
  times->setColumnStretch(0, 1);
  column->addLayout(times);

  auto* start = new QHBoxLayout;
  immediateStart_ = new QRadioButton("Immediate Start", this);
  immediateStart_->setObjectName("ImmediateStart");
  immediateStart_->setChecked(true);
  buttonStart_ = new QRadioButton("Button Start", this);
  buttonStart_->setObjectName("RadioButton2");
  start->addWidget(immediateStart_);
  start->addSpacing(DesignPixels(this, 16));
  start->addWidget(buttonStart_);
  start->addStretch(1);
  column->addLayout(start);

  auto* alarms = new QHBoxLayout;
  alarms->setSpacing(3);
  alarms->addWidget(AddLabel(this, "Label2", QString::fromUtf8("Alarms (-40 to 84\u00B0C)  Low")));
  lowAlarm_ = AddEdit(this, "LowAlarm", "-40", 41, "-40.0");
  alarms->addWidget(lowAlarm_);
  alarms->addWidget(AddLabel(this, "Label5", QString::fromUtf8("\u00B0C")));
  alarms->addSpacing(DesignPixels(this, 8));
  alarms->addWidget(AddLabel(this, "Label3", "High"));
  highAlarm_ = AddEdit(this, "HighAlarm", "84", 41, "-40.0");
  alarms->addWidget(highAlarm_);
  alarms->addWidget(AddLabel(this, "Label6", QString::fromUtf8("\u00B0C")));
  alarms->addStretch(1);
  column->addLayout(alarms);

  const FormButtons buttons = MakeFormButtons(this);
  okButton_ = buttons.ok;
  cancelButton_ = buttons.cancel;
  column->addSpacing(2);
  column->addLayout(ButtonRow(this, buttons, ButtonPlacement::Centred));

  // The designed client area, or more when the texts need it.
  FitFixedForm(this, 287, 157);
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
    messages_.ShowMessage(platform::MessageKind::Error, logger::LoggerApp::kApplicationTitle, runtime::ErrorText(e));
    return;
  }
  Load(fields);
  if (valid) accept();
}

}  // namespace gui
