#include "platform/posix/system_clock.h"

#include <time.h>

#include <cerrno>

namespace platform {

LocalDateTime SystemClock::Now() const {
  timespec ts{};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  time_t seconds = ts.tv_sec;
  ::localtime_r(&seconds, &local);
  LocalDateTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second reads as :59
  t.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
  t.dayOfWeek = local.tm_wday + 1;
  return t;
}

std::int64_t SystemClock::MonotonicMs() const {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void SystemClock::SleepMs(int milliseconds) {
  if (milliseconds <= 0) return;
  // Sleep to an absolute deadline so a signal in between cannot shorten or
  // lengthen the pause.
  timespec deadline{};
  ::clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += milliseconds / 1000;
  deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
  if (deadline.tv_nsec >= 1000000000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1000000000L;
  }
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
}

}  // namespace platform
