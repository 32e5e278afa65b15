#pragma once

// Stand-ins for the operating system's services that the fuzz targets plug
// into the very code the programs run: a clock that moves only when slept on,
// a pump that "sleeps" by moving it, an in-memory file system, and a drawing
// canvas that ends the run when a loop draws without end.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/busy_cursor.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/user_messages.h"
#include "tests/support/support_recording_canvas.h"

namespace fuzzsupport {

// Reports a broken invariant with the input libFuzzer then saves.
[[noreturn]] void Finding(const std::string& what);

class StepClock final : public platform::Clock {
 public:
  platform::LocalDateTime Now() const override { return now; }
  std::int64_t MonotonicMs() const override { return monotonicMs; }
  void SleepMs(int milliseconds) override {
    if (milliseconds > 0) monotonicMs += milliseconds;
  }

  platform::LocalDateTime now{2026, 3, 15, 10, 30, 0, 0, 1};
  std::int64_t monotonicMs = 0;
};

// Never sleeps for real: each wait moves the clock by its whole time-out.
class StepPump final : public platform::EventPump {
 public:
  explicit StepPump(StepClock& clock) : clock_(clock) {}
  void ProcessPendingEvents() override { ++events; }
  void WaitForActivity(int, int timeoutMs) override { clock_.SleepMs(timeoutMs > 0 ? timeoutMs : 1); }
  long events = 0;

 private:
  StepClock& clock_;
};

// Keeps the last message; every message must say something.
class KeptMessages final : public platform::UserMessages {
 public:
  void ShowMessage(platform::MessageKind, const std::string&, const std::string& text) override;
  std::string last;
  int count = 0;
};

// Files in memory, in folders that exist as soon as something names them:
// reads get a prefix, writes replace whole files, new files never replace.
class MemoryFiles final : public platform::FileSystem {
 public:
  platform::FileFacts Examine(const std::string& path) override;
  platform::IoError ReadFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes) override;
  platform::IoError WriteFiles(const std::vector<platform::FileContent>& toWrite, std::vector<bool>& written,
                               std::size_t& failed) override;
  platform::IoError WriteNewFiles(const std::vector<platform::FileContent>& toWrite) override;
  platform::IoError MakeFolders(const std::string& path) override;
  platform::IoError ListFolder(const std::string& path, std::vector<std::string>& names) override;
  bool Exists(const std::string& path) override { return files.count(path) != 0 || folders.count(path) != 0; }
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
};

// A recording canvas that counts what it draws and calls it a finding when a
// single paint draws more than `budget` primitives: a label or tick loop that
// does not end (or nearly so) is a hang to the user.
class BudgetCanvas final : public testsupport::RecordingCanvas {
 public:
  explicit BudgetCanvas(long budget) : budget_(budget) {}
  void StartPaint();

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(std::span<const platform::Point> points) override;
  void Polygon(std::span<const platform::Point> points) override;
  void Rectangle(const platform::Rect& rect) override;
  void Ellipse(const platform::Rect& rect) override;
  void TextOut(int x, int y, const std::string& text) override;
  void SetPixel(int x, int y, platform::Color color) override;

 private:
  void Spend();
  long budget_;
  long spent_ = 0;
};

// Whether `text` is well-formed UTF-8.
bool IsValidUtf8(const std::string& text);

}  // namespace fuzzsupport
