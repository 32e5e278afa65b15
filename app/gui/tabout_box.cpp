#include "app/gui/tabout_box.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/window_font.h"

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
  setFont(WindowFont());
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(true);
  ProgramPath = [] { return logger::ProgramFilePath(); };

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 8, 8, 10);
  column->setSpacing(DesignPixels(this, 11));

  // Raised inner and lowered outer bevel around the icon and the texts.
  auto* panel1 = new QFrame(this);
  panel1->setObjectName("Panel1");
  panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel1->setLineWidth(1);
  auto* outer = new QVBoxLayout(panel1);
  outer->setContentsMargins(1, 1, 1, 1);
  auto* inner = new QFrame(panel1);
  inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
  inner->setLineWidth(1);
  outer->addWidget(inner);
  column->addWidget(panel1);

  auto* grid = new QGridLayout(inner);
  grid->setContentsMargins(DesignPixels(this, 14), DesignPixels(this, 14), DesignPixels(this, 14),
                           DesignPixels(this, 14));
  grid->setHorizontalSpacing(DesignPixels(this, 8));
  grid->setVerticalSpacing(DesignPixels(this, 10));
  auto* icon = new QLabel(inner);
  icon->setObjectName("ProgramIcon");
  icon->setFixedSize(DesignPixels(this, 49), DesignPixels(this, 41));
  icon->setScaledContents(true);
  icon->setPixmap(ProgramIconPixmap());
  grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);

  auto label = [inner](const char* name, const QString& text) {
    auto* l = new QLabel(text, inner);
    l->setObjectName(name);
    return l;
  };
  grid->addWidget(label("ProductName", "Pellbrook Processing"), 0, 1, 1, 2);
  grid->addWidget(label("Version", "Version"), 1, 1);
  label1_ = label("Label1", "0.0.0.0");
  grid->addWidget(label1_, 1, 2);
  grid->setColumnStretch(2, 1);
  grid->setColumnMinimumWidth(1, DesignPixels(this, 40));
  grid->addWidget(label("Copyright", QString::fromUtf8("Copyright \u00A9 2026 Brindlemark. All rights reserved.")), 2,
                  0, 1, 3);

  okButton_ = new QPushButton("OK", this);
  okButton_->setObjectName("OKButton");
  okButton_->setDefault(true);
  okButton_->setMinimumSize(DesignPixels(this, 75), DesignPixels(this, 25));
  column->addWidget(okButton_, 0, Qt::AlignHCenter);
  FitToContents();
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::FitToContents() {
  // The designed client area, or more when a text needs it (a long program
  // path in place of the version).
  FitFixedForm(this, 298, 175);
}

void TAboutBox::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TAboutBox::FormShow() {
  // The program path stays when the file carries no readable version record.
  label1_->setText(QString::fromStdString(logger::AboutVersionText(ProgramPath())));
  FitToContents();
}

}  // namespace gui
