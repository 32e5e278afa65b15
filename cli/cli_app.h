#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "app/chart_display.h"
#include "app/logger_chart.h"
#include "app/data_files.h"
#include "app/download_archive.h"
#include "app/download_workflows.h"
#include "app/logger_app.h"
#include "app/logger_reports.h"
#include "cli/cli_dialogs.h"
#include "cli/cli_options.h"
#include "cli/output_options.h"
#include "platform/posix/poll_event_pump.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/system_time_zone.h"

namespace cli {

// Messages go to standard error, one per line group.
class StderrMessages final : public platform::UserMessages {
 public:
  explicit StderrMessages(std::ostream& err) : err_(err) {}
  void ShowMessage(platform::MessageKind kind, const std::string& title, const std::string& text) override;
  int Count() const { return count_; }

 private:
  std::ostream& err_;
  int count_ = 0;
};

// The window's workflow code without a window: the same LoggerApp over the
// system serial port, a pump that only honours time and Ctrl+C, messages on
// standard error.
class CliApp {
 public:
  CliApp(const CliOptions& options, std::ostream& out, std::ostream& err);

  int Run();

 private:
  int RunPorts();
  int RunReadRaw();
  int RunReadAll();
  int RunDownloads();
  int RunReadPage0();
  int RunSetup();
  int RunSetClock();
  int RunSetDescription();
  int RunOpen();
  int RunExport(const char* usage);
  int RunPrint(const char* usage);
  // Takes the CSV and unit options out of the arguments of the commands
  // that take them; false (with the message shown) when they are refused.
  bool TakeCommandOutputOptions();
  // The temperature log as a CSV file under --csv OUT.
  void ExportCsv();
  // Runs a configuration command with the given dialog answers.
  int RunConfiguration(logger::SettingsDialogView& settings, logger::NVramDialogView& nvram,
                       bool (logger::LoggerConfiguration::*command)());
  bool NoArguments(const char* usage);
  // Opens --port; false (with the message shown) when it is missing or
  // cannot be opened, and `status` then holds the exit status.
  bool OpenRecorderPort(int& status);
  // Runs a command whose reports are drawn but not printed; its exit status.
  int RunQuietly(const std::function<void()>& body);
  // Reads the template file for the chart display `kind`; false with the
  // reason on standard error when it is refused.
  bool TakeTemplate(const std::string& path, logger::ChartKind kind);
  // The exit status for how the last device command ended.
  int StatusOfLastCommand() const;

  CliOptions options_;  // a copy: the output options are taken out of its arguments
  OutputOptions output_;
  std::ostream& out_;
  std::ostream& err_;
  platform::PollEventPump pump_;
  platform::SystemClock clock_;
  StderrMessages messages_;
  platform::NoCursor cursor_;
  std::unique_ptr<logger::LoggerApp> app_;
  PrintingPane pane_;
  logger::LoggerChart chart_;
  std::unique_ptr<logger::LoggerReports> reports_;
  std::unique_ptr<logger::DownloadWorkflows> downloads_;
  platform::PosixFileSystem fileSystem_;
  platform::SystemTimeZone timeZone_;
  CancellingFileDialogs noDialogs_;
  std::unique_ptr<logger::LoggerFiles> files_;
  std::unique_ptr<logger::DownloadArchive> archive_;
};

}  // namespace cli
