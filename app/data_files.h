#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "app/logger_app.h"
#include "app/logger_reports.h"
#include "platform/file_system.h"

namespace logger {

// A file that could not be read or written. The message is what the user
// sees: "File not found", "File access denied", "Disk full" or "I/O error %d".
class FileError : public std::runtime_error {
 public:
  explicit FileError(const std::string& message) : std::runtime_error(message) {}
  ~FileError() override;
};

std::string FileErrorMessage(const platform::IoError& error);

// File, Save and File, Open's dialogs: the chosen name, or nullopt on Cancel.
class FileDialogView {
 public:
  virtual ~FileDialogView() = default;
  // "Save All Data to a File", initial name "Data1.log", asking before
  // replacing the chosen file.
  virtual std::optional<std::string> SaveDialog1Execute() = 0;
  // Initial name: what the dialog remembers (`fileName`, "Data.txt" at start).
  virtual std::optional<std::string> OpenDialog1Execute(const std::string& fileName) = 0;
};

// The chosen name with its extension replaced by ".dat" (appended when it
// has none): "Data1.log" -> "Data1.dat".
std::string DataFileName(const std::string& chosen);

// Save writes a readable report and a data file of the whole store; Open
// reads a data file back into the store and redraws page 0, the listing and
// the chart.
class LoggerFiles {
 public:
  static constexpr std::size_t kMaxDataFileBytes = 1 << 20;

  LoggerFiles(LoggerApp& app, LoggerReports& reports, ChartDisplay& chart, platform::FileSystem& files,
              FileDialogView& dialogs);

  void Save1Click();
  // Open replaces the store, so it is refused while a command waits.
  bool Open1Click();

  // Save and Open without their dialogs (the console program names the file).
  void SaveAs(const std::string& chosen);
  void OpenFile(const std::string& path);

  void WriteReportFile(const std::string& path);
  // The temperature listing from the line series' points, in the unit they
  // are shown in.
  std::string TemperatureListing() const;
  void WriteDataFile(const std::string& path);
  // The 3000 entries of a data file; throws the invalid-integer error for the
  // first bad line (a missing line reads as empty) and FileError when the
  // file cannot be read. Nothing is stored.
  LoggerStore ReadDataFile(const std::string& path);

 private:
  std::string Listing(const ChartDisplay& series) const;

  LoggerApp& app_;
  LoggerReports& reports_;
  ChartDisplay& chart_;
  platform::FileSystem& files_;
  FileDialogView& dialogs_;
};

}  // namespace logger
