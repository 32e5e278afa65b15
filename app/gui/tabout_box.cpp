#include "app/gui/tabout_box.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "app/version_info.h"

namespace gui {

QPixmap ProgramIconPixmap() {
  // A thermometer in the 16 standard colours: a red column in a white tube
  // with a red bulb and a scale.
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRect(12, 2, 8, 22), 3, 3);
  p.setBrush(Qt::red);
  p.drawEllipse(QRect(9, 20, 14, 11));
  p.setPen(Qt::NoPen);
  p.fillRect(QRect(14, 10, 4, 12), Qt::red);
  p.setPen(QPen(Qt::darkBlue, 1));
  for (int y = 5; y <= 20; y += 3) p.drawLine(21, y, 24, y);
  p.end();
  return QPixmap::fromImage(image);
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle("About");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(298, 175);
  setModal(true);
  ProgramPath = [] { return logger::ProgramFilePath(); };

  auto* panel1 = new QFrame(this);
  panel1->setObjectName("Panel1");
  panel1->setGeometry(8, 8, 281, 121);
  // Raised inner and lowered outer bevel.
  panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel1->setLineWidth(1);
  auto* inner = new QFrame(panel1);
  inner->setGeometry(1, 1, 279, 119);
  inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
  inner->setLineWidth(1);

  auto* icon = new QLabel(panel1);
  icon->setObjectName("ProgramIcon");
  icon->setGeometry(16, 16, 49, 41);
  icon->setScaledContents(true);
  icon->setPixmap(ProgramIconPixmap());

  auto place = [panel1](const char* name, int x, int y, const QString& text) {
    auto* label = new QLabel(text, panel1);
    label->setObjectName(name);
    label->move(x, y);
    label->adjustSize();
    return label;
  };
  place("ProductName", 88, 16, "Pellbrook Processing");
  place("Version", 88, 40, "Version");
  label1_ = place("Label1", 136, 40, "0.0.0.0");
  place("Copyright", 7, 80, QString::fromUtf8("Copyright \u00A9 2026 Brindlemark. All rights reserved."));

  okButton_ = new QPushButton("OK", this);
  okButton_->setObjectName("OKButton");
  okButton_->setGeometry(111, 140, 75, 25);
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TAboutBox::FormShow() {
  // The program path stays when the file carries no readable version record.
  label1_->setText(QString::fromStdString(logger::AboutVersionText(ProgramPath())));
  label1_->adjustSize();
}

}  // namespace gui
