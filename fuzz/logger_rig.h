#pragma once

// The logger application as the console program builds it, with the
// operating system replaced by the fuzz stand-ins: a port given by the
// target, the stepping clock, files in memory, reports into a line list and
// the chart's points kept in memory.

#include <memory>
#include <optional>
#include <string>

#include "app/chart_display.h"
#include "app/data_files.h"
#include "app/download_archive.h"
#include "app/download_workflows.h"
#include "app/logger_app.h"
#include "app/logger_configuration.h"
#include "app/logger_reports.h"
#include "app/report_pane.h"
#include "fuzz/fuzz_support.h"
#include "platform/serial_port.h"

namespace fuzzsupport {

// A port that cannot be opened: for targets that never talk to a recorder.
class AbsentPort final : public platform::SerialPort {
 public:
  platform::IoError Open(const std::string&) override { return {platform::IoStatus::NotFound, 2}; }
  void Close() override {}
  bool IsOpen() const override { return false; }
  platform::IoError Write(std::string_view, std::size_t& written) override {
    written = 0;
    return {platform::IoStatus::NotOpen, 0};
  }
  platform::IoError QueuedCount(std::size_t& count) override {
    count = 0;
    return {platform::IoStatus::NotOpen, 0};
  }
  platform::IoError Read(std::size_t, std::string& bytes) override {
    bytes.clear();
    return {platform::IoStatus::NotOpen, 0};
  }
  int WakeDescriptor() const override { return -1; }
  void ConsumeWakeups() override {}
};

class NoFileDialogs final : public logger::FileDialogView {
 public:
  std::optional<std::string> SaveDialog1Execute() override { return std::nullopt; }
  std::optional<std::string> OpenDialog1Execute(const std::string&) override { return std::nullopt; }
};

struct LoggerRig {
  explicit LoggerRig(std::unique_ptr<platform::SerialPort> port = std::make_unique<AbsentPort>())
      : pump(clock),
        app(std::move(port), logger::PortPaths{"/fuzz/comm1", "/fuzz/comm2"},
            logger::LoggerApp::Services{pump, clock, messages, cursor}),
        reports(app.State(), pane, chart, clock),
        files(app, reports, chart, fileSystem, dialogs),
        downloads(app, reports),
        archive(fileSystem, clock, "/archive") {
    logger::FillDayNames(app.State());
    downloads.SetArchive(&archive);
  }

  StepClock clock;
  StepPump pump;
  KeptMessages messages;
  platform::NoCursor cursor;
  MemoryFiles fileSystem;
  NoFileDialogs dialogs;
  logger::LineListPane pane;
  logger::ChartSeriesMemory chart;
  logger::LoggerApp app;
  logger::LoggerReports reports;
  logger::LoggerFiles files;
  logger::DownloadWorkflows downloads;
  logger::DownloadArchive archive;
};

// Every line of the pane is one line of valid UTF-8: a store value must
// never split a report line or put bytes into it the window cannot show.
void CheckPaneLines(const logger::ReportPane& pane, const char* report);

}  // namespace fuzzsupport
