#pragma once

#include <cstdint>

namespace platform {

// The computer's time zone, for turning the recorder's local wall-clock times
// into instants and back. Instants are seconds since 1970-01-01 00:00 UTC.
class TimeZone {
 public:
  virtual ~TimeZone() = default;

  // The instant a local wall-clock time names. A time that occurs twice (the
  // hour after clocks go back) is its first occurrence; a time the clocks
  // skipped is read with the offset in force before the change.
  virtual std::int64_t LocalToInstant(int year, int month, int day, int hour, int minute, int second) const = 0;

  // Seconds east of UTC in force at the instant (+3600 for 01:00 ahead).
  virtual int OffsetAt(std::int64_t instant) const = 0;
};

}  // namespace platform
