#pragma once

namespace platform {

// Lets the window system's pending events run while a command waits for the
// recorder. A window pumps its event queue; a console program has no events
// and only honours time and interrupts.
class EventPump {
 public:
  virtual ~EventPump() = default;

  // Runs the events that are pending now and returns.
  virtual void ProcessPendingEvents() = 0;

  // Sleeps until `descriptor` becomes readable, a window event arrives, or
  // `timeoutMs` milliseconds pass, whichever is first. A descriptor of -1
  // waits for events and time only; a negative time-out waits without
  // limit. Never spins.
  virtual void WaitForActivity(int descriptor, int timeoutMs) = 0;
};

}  // namespace platform
