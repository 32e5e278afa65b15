#include "app/gui/status_panel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace gui {

// One section: its text in one line, shortened in the middle with an
// ellipsis when it does not fit (a long by-id device name), the full text
// in its tool tip.
class StatusSection final : public QWidget {
 public:
  // `widestChars`: the most it asks for, in average characters (0: its
  // whole text); `yields`: it gives up its room first when the line is short.
  StatusSection(const char* name, int widestChars, bool yields, QWidget* parent)
      : QWidget(parent), widestChars_(widestChars) {
    setObjectName(name);
    setSizePolicy(yields ? QSizePolicy::Ignored : QSizePolicy::Preferred, QSizePolicy::Fixed);
  }

  void SetText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setToolTip(text);
    updateGeometry();
    update();
  }
  const QString& Text() const { return text_; }

  QSize sizeHint() const override {
    // Rounded up: the eliding below measures in fractions of a pixel.
    int width = static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(text_))) + 1;
    if (widestChars_ > 0) width = std::min(width, widestChars_ * fontMetrics().averageCharWidth());
    return {width + 2 * kPadding, fontMetrics().height()};
  }
  QSize minimumSizeHint() const override { return {fontMetrics().averageCharWidth() * 4, fontMetrics().height()}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QRect area = rect().adjusted(kPadding, 0, -kPadding, 0);
    painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(text_, Qt::ElideMiddle, area.width()));
  }

 private:
  static constexpr int kPadding = 4;
  int widestChars_;
  QString text_;
};

namespace {
QFrame* Divider(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
  return line;
}
}  // namespace

StatusPanel::StatusPanel(logger::StatusLine& line, QWidget* parent) : QFrame(parent), line_(line) {
  setObjectName("Panel2");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(2);
  // The port keeps its room (up to a long by-id name's worth); the activity
  // takes what is left and shortens first.
  port_ = new StatusSection("PortSection", 40, false, this);
  middle_ = new StatusSection("ActivitySection", 0, true, this);
  // The summary holds the log's figures: range, mean and the alarm times.
  summary_ = new StatusSection("SummarySection", 56, false, this);
  row->addWidget(port_, 0);
  row->addWidget(Divider(this));
  row->addWidget(middle_, 1);
  row->addWidget(Divider(this));
  row->addWidget(summary_, 0);
  FitHeight();
  line_.OnChanged = [this] { Refresh(); };
  Refresh();
}

QString StatusPanel::PortText() const { return port_->Text(); }
QString StatusPanel::MiddleText() const { return middle_->Text(); }
QString StatusPanel::SummaryText() const { return summary_->Text(); }

void StatusPanel::Refresh() {
  port_->SetText(QString::fromStdString(line_.Port()));
  middle_->SetText(QString::fromStdString(line_.Middle()));
  summary_->SetText(QString::fromStdString(line_.Summary()));
}

void StatusPanel::FitHeight() {
  // 20 pixels as designed, taller when the font is.
  setFixedHeight(std::max(20, fontMetrics().height() + 6));
}

void StatusPanel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) FitHeight();
  QFrame::changeEvent(event);
}

}  // namespace gui
