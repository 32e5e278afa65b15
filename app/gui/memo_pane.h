#pragma once

#include <QPlainTextEdit>

#include "app/report_pane.h"

namespace gui {

// Memo1: the report pane on the right of the main window. The lines are kept
// as written; the widget's text is refreshed once when the event loop next
// runs, so a report of 2048 lines costs one layout and one repaint.
class MemoPane final : public QPlainTextEdit, public logger::ReportPane {
  Q_OBJECT

 public:
  explicit MemoPane(QWidget* parent = nullptr);

  void Clear() override;
  void AddLine(const std::string& line) override;
  const std::vector<std::string>& Lines() const override { return lines_; }
  void SetEnabled(bool enabled) override;
  void ScrollToTop() override;

  // Brings the widget's text up to date now (normally done by the event loop).
  void Flush();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void ScheduleFlush();

  std::vector<std::string> lines_;
  bool dirty_ = false;
  bool flushScheduled_ = false;
  bool scrollToTopPending_ = false;
};

}  // namespace gui
