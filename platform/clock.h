#pragma once

#include <cstdint>

namespace platform {

// A local calendar time broken into fields, as the computer's clock shows it.
struct LocalDateTime {
  int year = 0;
  int month = 0;        // 1..12
  int day = 0;          // 1..31
  int hour = 0;         // 0..23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int dayOfWeek = 0;    // 1 = Sunday .. 7 = Saturday
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
  // Milliseconds on a clock that never jumps; for deadlines and pacing.
  virtual std::int64_t MonotonicMs() const = 0;
  virtual void SleepMs(int milliseconds) = 0;
};

}  // namespace platform
