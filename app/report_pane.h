#pragma once

#include <string>
#include <vector>

namespace logger {

// Where the report renderers write their lines: the window's text pane, or a
// list of strings in the console program and the tests. Lines are UTF-8.
class ReportPane {
 public:
  virtual ~ReportPane() = default;
  virtual void Clear() = 0;
  virtual void AddLine(const std::string& line) = 0;
  virtual const std::vector<std::string>& Lines() const = 0;
  // A disabled pane is greyed and takes no input while it is filled.
  virtual void SetEnabled(bool enabled) = 0;
  // Caret to the start, first line in view.
  virtual void ScrollToTop() = 0;
};

// The pane of a program without a window.
class LineListPane final : public ReportPane {
 public:
  void Clear() override { lines_.clear(); }
  void AddLine(const std::string& line) override { lines_.push_back(line); }
  const std::vector<std::string>& Lines() const override { return lines_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  void ScrollToTop() override {}
  bool Enabled() const { return enabled_; }

 private:
  std::vector<std::string> lines_;
  bool enabled_ = true;
};

}  // namespace logger
