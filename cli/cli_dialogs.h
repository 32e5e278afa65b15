#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/data_files.h"
#include "app/logger_configuration.h"
#include "app/report_pane.h"

namespace cli {

// The pane of the console program: each report's lines go to standard output
// as soon as the next report replaces it (or the command ends), so a command
// that draws several reports prints all of them in order.
class PrintingPane final : public logger::ReportPane {
 public:
  explicit PrintingPane(std::ostream& out) : out_(out) {}
  ~PrintingPane() override;
  void Clear() override;
  void AddLine(const std::string& line) override { lines_.push_back(line); }
  const std::vector<std::string>& Lines() const override { return lines_; }
  void SetEnabled(bool) override {}
  void ScrollToTop() override {}
  // Prints the lines not printed yet.
  void Flush();
  // While muted, reports are drawn but not printed (a command that only
  // wants its last report).
  void SetMuted(bool muted) { muted_ = muted; }

 private:
  std::ostream& out_;
  bool muted_ = false;
  std::vector<std::string> lines_;
  std::size_t printed_ = 0;
};

// What `setup` types over the dialog pre-filled from the recorder.
struct SetupValues {
  std::optional<std::string> interval, delay, low, high, description;
  std::optional<bool> immediateStart;
};

// Parses setup's options; checks every given value (conversion and range)
// before anything is sent. nullopt with `error` naming the field and range.
std::optional<SetupValues> ParseSetupValues(const std::vector<std::string>& args, std::string& error);

// Setup's dialog answered from the command line: the given values typed over
// the pre-filled boxes, then OK (pressed again when OK replaced a value the
// recorder held that was out of range, exactly as a user would).
class CliSettingsView final : public logger::SettingsDialogView {
 public:
  CliSettingsView(const SetupValues& values, std::ostream& err) : values_(values), err_(err) {}
  bool Execute(logger::SettingsFields& fields) override;

 private:
  const SetupValues& values_;
  std::ostream& err_;
};

// Set NV ram's dialog with the given text and OK.
class CliNVramView final : public logger::NVramDialogView {
 public:
  explicit CliNVramView(std::string text) : text_(std::move(text)) {}
  bool Execute(std::string& text) override {
    text = text_;
    return true;
  }

 private:
  std::string text_;
};

// A dialog the command does not use: answers Cancel.
class CancellingSettingsView final : public logger::SettingsDialogView {
 public:
  bool Execute(logger::SettingsFields&) override { return false; }
};
class CancellingNVramView final : public logger::NVramDialogView {
 public:
  bool Execute(std::string&) override { return false; }
};

// The console program names its files on the command line: no dialogs.
class CancellingFileDialogs final : public logger::FileDialogView {
 public:
  std::optional<std::string> SaveDialog1Execute() override { return std::nullopt; }
  std::optional<std::string> OpenDialog1Execute(const std::string&) override { return std::nullopt; }
};

}  // namespace cli
