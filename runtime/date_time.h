#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/format_settings.h"

namespace runtime {

// Date-times are day counts: the integer part counts days from 30 December
// 1899, the fraction is the time of day (one second is 1/86400).
using DateTime = double;

struct DateFields {
  int year = 0, month = 0, day = 0;
};
struct TimeFields {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar,
// and the date of such a day count; exact integers for any year, unlike the
// day-count values below (which are doubles and stop at 1..9999).
std::int64_t UnixDaysFromDate(int year, int month, int day);
DateFields DateFromUnixDays(std::int64_t days);

// Throws ConvertError "Invalid argument to date encode" for a date that does
// not exist (year outside 1..9999, month outside 1..12, day beyond the
// month's end).
DateTime EncodeDate(int year, int month, int day);
// Throws ConvertError "Invalid argument to time encode" unless hour < 24,
// minute < 60, second < 60, millisecond < 1000.
DateTime EncodeTime(int hour, int minute, int second, int millisecond);

// Breaking a value into fields first rounds it to the nearest millisecond,
// so a running time a fraction of a millisecond before a full minute shows
// that minute. Before day 0 the integer part still counts days and the time of
// day is the fraction taken as positive (-1.25 is 29 December 1899, 06:00).
// A value outside the years 1..9999, NaN or infinite throws ConvertError
// "'%s' is not a valid date and time"; so do DayOfWeek and FormatDateTime.
void DecodeDateTime(DateTime value, DateFields& date, TimeFields& time);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(DateTime value);

// Date-time patterns: d dd ddd dddd ddddd (short date) dddddd (long date),
// m mm mmm mmmm (month; right after an h or hh it means minutes), yy yyyy,
// h hh, n nn, s ss, z zzz, t (short time) tt (long time), c (short date and
// long time, the time left out at midnight), am/pm a/p ampm, '/' and ':' as
// the settings' separators, quoted text literal; letters in either case. An m code means minutes when
// the code before it (separators and literal text between are fine) is h or
// hh. Month and day names are English. An empty pattern means "c".
std::string FormatDateTime(std::string_view pattern, DateTime value,
                           const FormatSettings& settings = CurrentFormatSettings());

}  // namespace runtime
