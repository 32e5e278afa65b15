#pragma once

#include "app/logger_app.h"
#include "app/logger_reports.h"

namespace logger {

// The two download commands of the Logger menu, shared by the window and the
// console program. Each runs as one device command of `app`.
class DownloadWorkflows {
 public:
  DownloadWorkflows(LoggerApp& app, LoggerReports& reports) : app_(app), reports_(reports) {}

  // Logger, Read All: every region in turn, the window kept alive between
  // the stages. False when refused because another command is waiting.
  bool ReadAll1Click();
  // Logger, Read Just Page 0: page 2 (for the caption), then page 0.
  bool ReadJustPage01Click();

  // The Logger menu's report items: they render what the store holds and
  // send nothing, so they also run while a download waits.
  void Page01Click();
  void Page11Click();
  void SerialNumber1Click();
  void Alarm1Click();
  void Histogram1Click();
  void Temperature1Click();

 private:
  LoggerApp& app_;
  LoggerReports& reports_;
};

}  // namespace logger
