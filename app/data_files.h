#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/logger_app.h"
#include "app/logger_reports.h"
#include "platform/file_system.h"
#include "runtime/convert_error.h"

namespace logger {

// A file that could not be read or written. The message is what the user
// sees: the file's name, then "File not found", "File access denied", "Disk
// full" or "I/O error %d", and what else is known.
class FileError : public runtime::TextError {
 public:
  explicit FileError(const std::string& message) : runtime::TextError(message) {}
  ~FileError() override;
};

// The system's error in the user's words: "File not found", "File access
// denied", "Disk full" or "I/O error %d".
std::string FileErrorMessage(const platform::IoError& error);
// The same about one file: "old.log: File access denied (read-only)",
// "pipe.dat: File access denied (a named pipe, not a file)". `facts` is what
// the path named when the error happened.
std::string FileErrorMessage(const std::string& path, const platform::IoError& error,
                             const platform::FileFacts& facts);

// File, Save and File, Open's dialogs: the chosen name, or nullopt on Cancel.
class FileDialogView {
 public:
  virtual ~FileDialogView() = default;
  // "Save All Data to a File", initial name "Data1.log". The dialog itself
  // does not ask about replacing: Save asks about both files it writes.
  virtual std::optional<std::string> SaveDialog1Execute() = 0;
  // Initial name: what the dialog remembers (`fileName`, "Data.txt" at start).
  virtual std::optional<std::string> OpenDialog1Execute(const std::string& fileName) = 0;
};

// The chosen name with its extension replaced by ".dat" (appended when it
// has none): "Data1.log" -> "Data1.dat".
std::string DataFileName(const std::string& chosen);

// The whole report file's text, in degrees Celsius whatever the window
// shows: every report of `state`'s store (whose start time and step it
// derives), then the temperature listing.
std::string ReportFileText(LoggerState& state, const platform::Clock& clock);
// The temperature listing, the report file's last section: one line per
// point of the line series.
std::string TemperatureListingText(const ChartDisplay& chart, const LoggerState& state);
// The data file's text: the 3000 entries, one a line.
std::string DataFileText(const LoggerStore& store);
// The store a data file's bytes hold; throws the invalid-integer error,
// naming `path` and the line, for the first line that is not a number (a
// missing line reads as empty).
LoggerStore ParseDataFile(const std::string& path, const std::string& bytes);

// Save writes a readable report and a data file of the whole store; Open
// reads a data file back into the store and redraws page 0, the listing and
// the chart.
class LoggerFiles {
 public:
  static constexpr std::size_t kMaxDataFileBytes = 1 << 20;
  static constexpr const char* kSaveTitle = "Save All Data to a File";

  LoggerFiles(LoggerApp& app, LoggerReports& reports, ChartDisplay& chart, platform::FileSystem& files,
              FileDialogView& dialogs);

  // Save reads the store while a command may be changing it, so it is
  // refused (false) while one waits. After a download that did not complete
  // it asks first; before replacing files it asks about each that exists.
  bool Save1Click();
  // Open replaces the store, so it is refused while a command waits.
  bool Open1Click();
  // Open of a file chosen elsewhere (a download kept in the archive).
  bool OpenDataFile(const std::string& path);

  // Save and Open without their dialogs and questions (the console program
  // names the file).
  void SaveAs(const std::string& chosen);
  void OpenFile(const std::string& path);

  void WriteReportFile(const std::string& path);
  // The temperature listing from the line series' points, in the unit they
  // are shown in.
  std::string TemperatureListing() const;
  void WriteDataFile(const std::string& path);
  // The 3000 entries of a data file; throws the invalid-integer error (with
  // the file and line) for the first bad line (a missing line reads as
  // empty) and FileError when the file cannot be read. Nothing is stored.
  LoggerStore ReadDataFile(const std::string& path);

  // The question Save asks before replacing: which of `paths` exist, named;
  // empty when none does.
  std::string ReplaceQuestion(const std::vector<std::string>& paths);

 private:
  // Draws every report in the window (as a save shows them) and returns
  // the report file's text.
  std::string DrawReportsForFile();
  // Writes the files together; a failure throws FileError saying which were
  // written and which not.
  void WriteTogether(const std::vector<platform::FileContent>& contents);

  LoggerApp& app_;
  LoggerReports& reports_;
  ChartDisplay& chart_;
  platform::FileSystem& files_;
  FileDialogView& dialogs_;
};

}  // namespace logger
