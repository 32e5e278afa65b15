#include "platform/posix/system_time_zone.h"

#include <time.h>

#include <initializer_list>

namespace platform {

namespace {

tm WallClock(int year, int month, int day, int hour, int minute, int second, int isDst) {
  tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = isDst;
  return fields;
}

// Whether the instant reads as exactly that wall-clock time.
bool ReadsAs(time_t instant, const tm& wanted) {
  tm local{};
  if (::localtime_r(&instant, &local) == nullptr) return false;
  return local.tm_year == wanted.tm_year && local.tm_mon == wanted.tm_mon && local.tm_mday == wanted.tm_mday &&
         local.tm_hour == wanted.tm_hour && local.tm_min == wanted.tm_min && local.tm_sec == wanted.tm_sec;
}

}  // namespace

std::int64_t SystemTimeZone::LocalToInstant(int year, int month, int day, int hour, int minute, int second) const {
  ::tzset();
  const tm wanted = WallClock(year, month, day, hour, minute, second, -1);
  // mktime resolves a doubled hour by its own guess; trying both readings
  // and keeping the earlier that fits makes the choice ours.
  bool found = false;
  time_t best = 0;
  for (int isDst : {0, 1}) {
    tm fields = WallClock(year, month, day, hour, minute, second, isDst);
    time_t instant = ::mktime(&fields);
    if (ReadsAs(instant, wanted) && (!found || instant < best)) {
      best = instant;
      found = true;
    }
  }
  if (found) return best;
  // A skipped time: read with the offset before the change, the smaller of
  // the two, as a recorder clock that was not moved forward means it; that
  // is the later of the two readings.
  tm fields = WallClock(year, month, day, hour, minute, second, 0);
  time_t standard = ::mktime(&fields);
  fields = WallClock(year, month, day, hour, minute, second, 1);
  time_t summer = ::mktime(&fields);
  return standard > summer ? standard : summer;
}

int SystemTimeZone::OffsetAt(std::int64_t instant) const {
  ::tzset();
  time_t t = static_cast<time_t>(instant);
  tm local{};
  if (::localtime_r(&t, &local) == nullptr) return 0;
  return static_cast<int>(local.tm_gmtoff);
}

}  // namespace platform
