#include "app/gui/memo_pane.h"

#include <QScrollBar>
#include <QTimer>

namespace gui {

MemoPane::MemoPane(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("Memo1");
  setReadOnly(true);  // reports are output; Save redraws them anyway
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setUndoRedoEnabled(false);
  // Tab stops every eight average characters, as a classic edit control
  // has them; Qt's default (80 px) would wrap every listing line.
  setTabStopDistance(8 * fontMetrics().averageCharWidth());
}

void MemoPane::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) setTabStopDistance(8 * fontMetrics().averageCharWidth());
  QPlainTextEdit::changeEvent(event);
}

void MemoPane::Clear() {
  lines_.clear();
  // A new report is read from its top, whatever the last one scrolled to.
  scrollToTopPending_ = true;
  ScheduleFlush();
}

void MemoPane::AddLine(const std::string& line) {
  lines_.push_back(line);
  ScheduleFlush();
}

void MemoPane::SetEnabled(bool enabled) {
  if (enabled) Flush();  // the filled report appears as the pane comes back
  setEnabled(enabled);
}

void MemoPane::ScrollToTop() {
  scrollToTopPending_ = true;
  ScheduleFlush();
}

void MemoPane::ScheduleFlush() {
  dirty_ = true;
  if (flushScheduled_) return;
  flushScheduled_ = true;
  QTimer::singleShot(0, this, [this] { Flush(); });
}

void MemoPane::Flush() {
  flushScheduled_ = false;
  if (dirty_) {
    dirty_ = false;
    QString text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (i > 0) text += QLatin1Char('\n');
      text += QString::fromStdString(lines_[i]);
    }
    setPlainText(text);
  }
  if (scrollToTopPending_) {
    scrollToTopPending_ = false;
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
  }
}

}  // namespace gui
