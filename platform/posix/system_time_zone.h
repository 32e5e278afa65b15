#pragma once

#include "platform/time_zone.h"

namespace platform {

// The zone the C library takes from TZ (or /etc/localtime).
class SystemTimeZone final : public TimeZone {
 public:
  std::int64_t LocalToInstant(int year, int month, int day, int hour, int minute, int second) const override;
  int OffsetAt(std::int64_t instant) const override;
};

}  // namespace platform
