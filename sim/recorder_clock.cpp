#include "sim/recorder_clock.h"

#include <chrono>

namespace sim {

namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

constexpr std::int64_t kSecondsPerDay = 86400;
// 2000..2099 holds 25 leap years.
constexpr std::int64_t kCenturySeconds = 36525 * kSecondsPerDay;

const sys_days kEpoch = sys_days{year{2000} / 1 / 1};

}  // namespace

bool FromBcd(std::uint8_t byte, int& value) {
  int tens = byte >> 4;
  int units = byte & 0x0F;
  if (tens > 9 || units > 9) return false;
  value = tens * 10 + units;
  return true;
}

std::uint8_t ToBcd(int value) {
  value %= 100;
  if (value < 0) value += 100;
  return static_cast<std::uint8_t>((value / 10) << 4 | (value % 10));
}

std::int64_t SecondsSince2000(const ClockTime& t) {
  sys_days date{year{t.year} / month{static_cast<unsigned>(t.month)} /
                day{static_cast<unsigned>(t.day)}};
  std::int64_t dayCount = (date - kEpoch).count();
  return dayCount * kSecondsPerDay + t.hour * 3600 + t.minute * 60 + t.second;
}

ClockTime FromSecondsSince2000(std::int64_t seconds) {
  seconds %= kCenturySeconds;
  if (seconds < 0) seconds += kCenturySeconds;
  std::int64_t dayCount = seconds / kSecondsPerDay;
  std::int64_t timeOfDay = seconds % kSecondsPerDay;
  year_month_day date{kEpoch + days{dayCount}};
  ClockTime t;
  t.year = static_cast<int>(date.year());
  t.month = static_cast<int>(static_cast<unsigned>(date.month()));
  t.day = static_cast<int>(static_cast<unsigned>(date.day()));
  t.hour = static_cast<int>(timeOfDay / 3600);
  t.minute = static_cast<int>(timeOfDay / 60 % 60);
  t.second = static_cast<int>(timeOfDay % 60);
  return t;
}

int DayOfWeek(const ClockTime& t) {
  sys_days date{year{t.year} / month{static_cast<unsigned>(t.month)} /
                day{static_cast<unsigned>(t.day)}};
  return static_cast<int>(std::chrono::weekday{date}.c_encoding()) + 1;
}

void EncodeClock(const ClockTime& t, int dayOfWeek, std::uint8_t* bytes) {
  bytes[0] = ToBcd(t.second);
  bytes[1] = ToBcd(t.minute);
  bytes[2] = ToBcd(t.hour);
  bytes[3] = ToBcd(dayOfWeek);
  bytes[4] = ToBcd(t.day);
  bytes[5] = ToBcd(t.month);
  bytes[6] = ToBcd(t.year % 100);
}

bool DecodeClock(const std::uint8_t* bytes, ClockTime& t) {
  int second = 0, minute = 0, hour = 0, dayOfMonth = 0, monthOfYear = 0, twoDigitYear = 0;
  if (!FromBcd(bytes[0], second) || !FromBcd(bytes[1], minute) || !FromBcd(bytes[2], hour) ||
      !FromBcd(bytes[4], dayOfMonth) || !FromBcd(bytes[5], monthOfYear) ||
      !FromBcd(bytes[6], twoDigitYear)) {
    return false;
  }
  if (second > 59 || minute > 59 || hour > 23) return false;
  year_month_day date{year{2000 + twoDigitYear}, month{static_cast<unsigned>(monthOfYear)},
                      day{static_cast<unsigned>(dayOfMonth)}};
  if (!date.ok()) return false;
  t.year = 2000 + twoDigitYear;
  t.month = monthOfYear;
  t.day = dayOfMonth;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  return true;
}

}  // namespace sim
