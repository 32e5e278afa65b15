#pragma once

#include "platform/event_pump.h"

namespace platform {

// Runs Qt's pending window events inside a command's wait. Between pumps it
// sleeps in Qt's own dispatcher with the port's descriptor registered, so it
// wakes on new bytes, on any window event or at the time-out, and never spins.
class QtEventPump final : public EventPump {
 public:
  void ProcessPendingEvents() override;
  void WaitForActivity(int descriptor, int timeoutMs) override;
};

}  // namespace platform
