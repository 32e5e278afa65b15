#pragma once

#include <functional>

#include "platform/event_pump.h"

namespace platform {

// The event pump of a program without a window: there are no events to run,
// so waiting is a plain poll on the descriptor. An interrupt (Ctrl+C) is the
// one "event" it knows; it is reported through InterruptRequested().
class PollEventPump final : public EventPump {
 public:
  // Calls OnInterrupt once an interrupt has been requested.
  void ProcessPendingEvents() override;
  void WaitForActivity(int descriptor, int timeoutMs) override;

  // Set from a signal handler; the caller decides what an interrupt ends.
  static void RequestInterrupt();
  static bool InterruptRequested();
  // Routes SIGINT and SIGTERM to RequestInterrupt (without SA_RESTART, so a
  // poll in progress returns at once).
  static void InstallInterruptHandler();

  std::function<void()> OnInterrupt;
};

}  // namespace platform
