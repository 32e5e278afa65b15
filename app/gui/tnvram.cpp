#include "app/gui/tnvram.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/form_buttons.h"
#include "app/gui/window_font.h"

namespace gui {

TNVram::TNVram(platform::UserMessages& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName("NVram");
  setWindowTitle("Set NV ram data");
  setFont(WindowFont());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 6, 8, 8);
  column->setSpacing(4);
  auto* label = new QLabel("NV ram data", this);
  label->setObjectName("Label7");
  column->addWidget(label);
  const QString initial = "12345678901234567890123456789012";
  nvramEdit_ = new QLineEdit(initial, this);
  nvramEdit_->setObjectName("NVramEdit");
  nvramEdit_->setMaxLength(logger::kDescriptionLength);
  nvramEdit_->setToolTip("Type in your own description (32 chars max)");
  nvramEdit_->setMinimumWidth(DescriptionBoxWidth(nvramEdit_));
  column->addWidget(nvramEdit_);

  const FormButtons buttons = MakeFormButtons(this);
  okButton_ = buttons.ok;
  cancelButton_ = buttons.cancel;
  column->addSpacing(4);
  column->addLayout(ButtonRow(this, buttons, ButtonPlacement::Centred));

  FitFixedForm(this, 287, 81);
  connect(okButton_, &QPushButton::clicked, this, &TNVram::OKButtonClick);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

bool TNVram::Execute(std::string& text) {
  nvramEdit_->setText(QString::fromStdString(text));
  // Centred on the main window.
  if (QWidget* owner = parentWidget()) move(owner->geometry().center() - rect().center());
  bool ok = exec() == QDialog::Accepted;
  text = nvramEdit_->text().toStdString();
  return ok;
}

void TNVram::OKButtonClick() {
  if (auto problem = logger::DescriptionProblem(nvramEdit_->text().toStdString())) {
    messages_.ShowMessage(platform::MessageKind::Error, logger::LoggerApp::kApplicationTitle, *problem);
    return;
  }
  accept();
}

}  // namespace gui
