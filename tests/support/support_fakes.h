#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/busy_cursor.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/user_messages.h"

namespace testsupport {

// A clock that moves only when told to (or when a CountingPump sleeps on it),
// so time-outs are exact and tests never wait for real.
class FakeClock final : public platform::Clock {
 public:
  platform::LocalDateTime Now() const override { return now; }
  std::int64_t MonotonicMs() const override { return monotonicMs; }
  void SleepMs(int milliseconds) override;

  void Advance(std::int64_t milliseconds) { monotonicMs += milliseconds; }

  platform::LocalDateTime now{2024, 3, 15, 10, 30, 0, 0, 6};
  std::int64_t monotonicMs = 1000;
  std::vector<int> sleeps;  // every SleepMs, in order
};

// An event pump that counts its calls and runs a test's hook in them: the
// hook stands for a menu command chosen while a command waits. With a clock
// attached, WaitForActivity "sleeps" by advancing it.
class CountingPump final : public platform::EventPump {
 public:
  void ProcessPendingEvents() override;
  void WaitForActivity(int descriptor, int timeoutMs) override;

  std::function<void()> OnProcess;
  std::function<void()> OnWait;
  FakeClock* clock = nullptr;

  int processCalls = 0;
  int waitCalls = 0;
  std::vector<int> waitTimeouts;
};

// Wraps a real pump, counting calls and running a hook before each
// ProcessPendingEvents.
class CountingPumpAdapter final : public platform::EventPump {
 public:
  explicit CountingPumpAdapter(platform::EventPump& inner) : inner_(inner) {}
  void ProcessPendingEvents() override;
  void WaitForActivity(int descriptor, int timeoutMs) override;

  std::function<void()> OnProcess;
  int processCalls = 0;
  int waitCalls = 0;

 private:
  platform::EventPump& inner_;
};

struct RecordedMessage {
  platform::MessageKind kind;
  std::string title;
  std::string text;
};

class RecordingMessages final : public platform::UserMessages {
 public:
  void ShowMessage(platform::MessageKind kind, const std::string& title, const std::string& text) override {
    messages.push_back({kind, title, text});
  }
  // Questions are recorded too and answered from `answers`, in order; No
  // once they run out.
  bool AskYesNo(const std::string& title, const std::string& text) override {
    questions.push_back({platform::MessageKind::Information, title, text});
    if (answers.empty()) return false;
    bool yes = answers.front();
    answers.erase(answers.begin());
    return yes;
  }
  std::vector<RecordedMessage> messages;
  std::vector<RecordedMessage> questions;
  std::vector<bool> answers;
};

class RecordingCursor final : public platform::BusyCursor {
 public:
  void SetHourglass(bool on) override { changes.push_back(on); }
  std::vector<bool> changes;
};

}  // namespace testsupport
