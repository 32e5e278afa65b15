#pragma once

#include <functional>
#include <string>

namespace logger {

// The status line across the top of the window, as the workflows see it:
// three sections, left to right.
//
//  1. Port: the checked Port item and its device ("Comm1: /dev/ttyUSB0").
//  2. Activity, else the last notice: what a command is doing now ("Reading
//     block 12 of 74", "Writing the setup"); when no command runs, the last
//     notice (a download that did not complete, a setting that could not be
//     remembered, a problem with the download archive). A notice stays until
//     it is replaced or the next device command starts.
//  3. Summary: a short line about what is shown (the log's statistics).
//
// Plain text only; the window draws it, the console program ignores it.
class StatusLine {
 public:
  void SetPort(const std::string& text);
  void SetActivity(const std::string& text);  // empty: no command is busy
  void SetNotice(const std::string& text);    // empty: nothing to report
  void SetSummary(const std::string& text);

  const std::string& Port() const { return port_; }
  const std::string& Activity() const { return activity_; }
  const std::string& Notice() const { return notice_; }
  const std::string& Summary() const { return summary_; }
  // What the middle section shows: the activity, else the notice.
  const std::string& Middle() const { return activity_.empty() ? notice_ : activity_; }

  // Told after every change, so a view can redraw.
  std::function<void()> OnChanged;

 private:
  void Set(std::string& field, const std::string& text);

  std::string port_;
  std::string activity_;
  std::string notice_;
  std::string summary_;
};

}  // namespace logger
