#pragma once

#include <functional>
#include <string>

#include "app/download_archive.h"
#include "app/logger_app.h"
#include "app/logger_reports.h"

namespace logger {

// The two download commands of the Logger menu, shared by the window and the
// console program. Each runs as one device command of `app`.
class DownloadWorkflows {
 public:
  DownloadWorkflows(LoggerApp& app, LoggerReports& reports) : app_(app), reports_(reports) {}

  // Logger, Read All: every region in turn, the window kept alive between
  // the stages. False when refused because another command is waiting. A
  // download that completes is kept in the archive, when one is attached
  // and enabled.
  bool ReadAll1Click();

  // Where completed downloads are kept; null keeps none. Not owned.
  void SetArchive(DownloadArchive* archive) { archive_ = archive; }
  // The report file the last completed download was kept as; empty when it
  // was not kept.
  const std::string& LastArchived() const { return lastArchived_; }
  // Told when a download could not be kept, with the reason (the status
  // line says it too); the programs put it on standard error.
  std::function<void(const std::string& problem)> OnArchiveProblem;
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
  void ArchiveCompletedDownload();

  LoggerApp& app_;
  LoggerReports& reports_;
  DownloadArchive* archive_ = nullptr;
  std::string lastArchived_;
};

}  // namespace logger
