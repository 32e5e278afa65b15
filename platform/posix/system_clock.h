#pragma once

#include "platform/clock.h"

namespace platform {

// The computer's own clock: local time from the system's time zone.
class SystemClock final : public Clock {
 public:
  LocalDateTime Now() const override;
  std::int64_t MonotonicMs() const override;
  void SleepMs(int milliseconds) override;
};

}  // namespace platform
