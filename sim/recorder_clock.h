#pragma once

#include <cstdint>

namespace sim {

// Calendar helpers of the recorder's clock. The clock knows no time zone or
// daylight saving: it counts naive local seconds from 2000-01-01 00:00 and
// shows two-digit years, so it wraps from 2099 to 2000.
struct ClockTime {
  int year = 2000;  // four digits
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Packed decimal; false for a nibble above 9.
bool FromBcd(std::uint8_t byte, int& value);
std::uint8_t ToBcd(int value);  // 0..99

std::int64_t SecondsSince2000(const ClockTime& t);
ClockTime FromSecondsSince2000(std::int64_t seconds);  // year within 2000..2099
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(const ClockTime& t);

// Clock bytes 0..6 (seconds, minutes, hours, day of week, day, month, year),
// BCD. DecodeClock ignores the day of the week and fails on bad BCD or a
// date or time that does not exist.
void EncodeClock(const ClockTime& t, int dayOfWeek, std::uint8_t* bytes);
bool DecodeClock(const std::uint8_t* bytes, ClockTime& t);

}  // namespace sim
