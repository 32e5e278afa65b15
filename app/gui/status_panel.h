#pragma once

#include <QFrame>

#include "app/status_line.h"

namespace gui {

class StatusSection;

// Panel2, the strip across the top of the window, as the status line: the
// port and its device, the current activity or the last notice, and a
// summary section. It shows what a logger::StatusLine holds and follows its
// changes.
class StatusPanel final : public QFrame {
  Q_OBJECT

 public:
  StatusPanel(logger::StatusLine& line, QWidget* parent = nullptr);

  // The full text of each section (a long one is shown shortened).
  QString PortText() const;
  QString MiddleText() const;
  QString SummaryText() const;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void Refresh();
  void FitHeight();

  logger::StatusLine& line_;
  StatusSection* port_;
  StatusSection* middle_;
  StatusSection* summary_;
};

}  // namespace gui
