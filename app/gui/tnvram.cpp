#include "app/gui/tnvram.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace gui {

TNVram::TNVram(platform::UserMessages& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName("NVram");
  setWindowTitle("Set NV ram data");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(287, 81);
  setModal(true);

  auto* label = new QLabel("NV ram data", this);
  label->setObjectName("Label7");
  label->move(8, 6);
  label->adjustSize();
  nvramEdit_ = new QLineEdit("12345678901234567890123456789012", this);
  nvramEdit_->setObjectName("NVramEdit");
  nvramEdit_->setGeometry(8, 20, 271, 21);
  nvramEdit_->setMaxLength(logger::kDescriptionLength);
  nvramEdit_->setToolTip("Type in your own description (32 chars max)");

  okButton_ = new QPushButton("&OK", this);
  okButton_->setObjectName("OKButton");
  okButton_->setGeometry(64, 52, 75, 21);
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton("&Cancel", this);
  cancelButton_->setObjectName("CancelButton");
  cancelButton_->setGeometry(148, 52, 75, 21);
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
