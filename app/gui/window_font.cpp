#include "app/gui/window_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLayout>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace gui {

namespace {
const char* const kFamily = "Liberation Sans";
// 11 pixels at 96 dots per inch, in points, so the text follows the user's
// font resolution instead of staying 11 device pixels on a 144 dpi screen.
constexpr double kPointSize = 11.0 * 72.0 / 96.0;
}  // namespace

QFont WindowFont() {
  QFont font(kFamily);
  font.setPointSizeF(kPointSize);
  font.setStyleHint(QFont::SansSerif);
  static bool warned = false;
  if (!warned && !QFontDatabase::families().contains(kFamily)) {
    warned = true;
    std::cerr << "quorvel: the font " << kFamily << " is not installed (Debian package fonts-liberation); using "
              << QFontInfo(font).family().toStdString() << " instead\n";
  }
  return font;
}

int DesignPixels(const QWidget* widget, int pixels) {
  // The design's font is 11 pixels high; QFontInfo tells what was matched.
  double fontPixels = QFontInfo(widget->font()).pixelSize();
  if (fontPixels <= 0) fontPixels = 11;
  return static_cast<int>(std::lround(pixels * std::max(1.0, fontPixels / 11.0)));
}

}  // namespace gui

namespace gui {

int DescriptionBoxWidth(const QWidget* edit) {
  int frame = 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
  int text = edit->fontMetrics().horizontalAdvance(QString(32, QLatin1Char('N')));
  return std::max(DesignPixels(edit, 271), text + frame + 8);
}

void FitFixedForm(QWidget* form, int designWidth, int designHeight) {
  QLayout* layout = form->layout();
  layout->invalidate();
  layout->activate();
  form->setFixedSize(
      layout->sizeHint().expandedTo(QSize(DesignPixels(form, designWidth), DesignPixels(form, designHeight))));
  // A hidden form and its panels get no resize events; place every control
  // for the new size now, outer layouts first.
  layout->setGeometry(form->contentsRect());
  for (QWidget* child : form->findChildren<QWidget*>()) {
    if (child->layout() != nullptr) child->layout()->setGeometry(child->contentsRect());
  }
}

}  // namespace gui
