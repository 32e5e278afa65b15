#pragma once

#include "app/logger_app.h"
#include "app/report_pane.h"

namespace logger {

// The two download commands of the Logger menu, shared by the window and the
// console program. Each runs as one device command of `app`.
class DownloadWorkflows {
 public:
  DownloadWorkflows(LoggerApp& app, ReportPane& pane) : app_(app), pane_(pane) {}

  // Logger, Read All: every region in turn, the window kept alive between
  // the stages. False when refused because another command is waiting.
  bool ReadAll1Click();
  // Logger, Read Just Page 0: page 2 (for the caption), then page 0.
  bool ReadJustPage01Click();

 private:
  LoggerApp& app_;
  ReportPane& pane_;
};

}  // namespace logger
