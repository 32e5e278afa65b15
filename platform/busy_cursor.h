#pragma once

namespace platform {

// The hourglass cursor shown while a long command runs.
class BusyCursor {
 public:
  virtual ~BusyCursor() = default;
  virtual void SetHourglass(bool on) = 0;
};

// For programs without a window.
class NoCursor final : public BusyCursor {
 public:
  void SetHourglass(bool) override {}
};

}  // namespace platform
