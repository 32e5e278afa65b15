#pragma once

#include <optional>
#include <string>

#include "app/logger_app.h"
#include "app/logger_reports.h"

namespace logger {

// The Setup dialog's fields. The dialog is made once and keeps its values
// between uses; the start mode is never set by the program.
struct SettingsFields {
  std::string NVramEdit = "12345678901234567890123456789012";
  std::string SampleInterval = "1";
  std::string StartDelay = "0";
  std::string LowAlarm = "-40";
  std::string HighAlarm = "84";
  bool ImmediateStart = true;
};

constexpr int kDescriptionLength = 32;

// The Setup dialog's OK button: counts the valid fields, puts "1", "0", "-40"
// or "84" into each field out of its range, and says whether all four were
// valid (then the dialog closes). A field that is not a number throws the
// conversion error; replacements made before it stay. A description the
// recorder cannot hold throws too.
bool ValidateSettings(SettingsFields& fields);

// Why a description cannot be sent (longer than 32 characters, or a
// character outside Windows-1252); nullopt when it can.
std::optional<std::string> DescriptionProblem(const std::string& text);

// The modal dialogs, shown by the window or answered by the console program.
class SettingsDialogView {
 public:
  virtual ~SettingsDialogView() = default;
  // Shows TSettings with `fields`; true when it closed with OK. The fields
  // hold what the boxes hold when it closes.
  virtual bool Execute(SettingsFields& fields) = 0;
};

class NVramDialogView {
 public:
  virtual ~NVramDialogView() = default;
  // Shows TNVram with `text`; true when it closed with OK.
  virtual bool Execute(std::string& text) = 0;
};

// Logger, Setup / Set to PC Time / Set NV ram: write the recorder's settings,
// clock and description, then read back and show what it holds.
class LoggerConfiguration {
 public:
  LoggerConfiguration(LoggerApp& app, LoggerReports& reports, SettingsDialogView& settings,
                      NVramDialogView& nvram);

  bool Setup1Click();
  bool SettoPCTime1Click();
  bool SetNVram1Click();

  void SetupLogger();
  void SetLoggerClock();
  void WriteNVram();

  SettingsFields& Settings() { return settings_; }

 private:
  // The description as the recorder keeps it: its 8-bit text without the
  // trailing blanks, shown as Unicode.
  std::string DescriptionForEditing() const;

  LoggerApp& app_;
  LoggerReports& reports_;
  SettingsDialogView& settingsView_;
  NVramDialogView& nvramView_;
  SettingsFields settings_;
};

}  // namespace logger
