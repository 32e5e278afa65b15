#include "runtime/date_time.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "runtime/convert_error.h"
#include "runtime/text_format.h"

namespace runtime {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

constexpr const char* kShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kLongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kLongDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

// Days from 1 January 1970 in the proleptic Gregorian calendar, and back.
constexpr std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

DateFields CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  DateFields date;
  date.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  date.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2));
  return date;
}

constexpr std::int64_t kDayZero = DaysFromCivil(1899, 12, 30);
constexpr std::int64_t kFirstDay = DaysFromCivil(1, 1, 1) - kDayZero;
constexpr std::int64_t kLastDay = DaysFromCivil(9999, 12, 31) - kDayZero;

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// A value as a day number and the milliseconds into that day. The time of a
// value before day 0 is its fraction taken as positive: -1.25 is 29 December
// 1899, 06:00.
struct DayAndTime {
  std::int64_t day = 0;
  std::int64_t millisecond = 0;
};

DayAndTime Split(DateTime value) {
  // Rounding first is what makes 95 quarter-hour steps land on the minute.
  if (!std::isfinite(value) || value < kFirstDay - 1 || value > kLastDay + 1)
    throw ConvertError("'" + FloatToStr(value) + "' is not a valid date and time");
  const auto total = static_cast<std::int64_t>(std::round(value * static_cast<double>(kMsPerDay)));
  DayAndTime split{total / kMsPerDay, total % kMsPerDay};
  if (split.millisecond < 0) split.millisecond = -split.millisecond;
  if (split.day < kFirstDay || split.day > kLastDay)
    throw ConvertError("'" + FloatToStr(value) + "' is not a valid date and time");
  return split;
}

int WeekDay(std::int64_t day) {
  // Day 0 was a Saturday.
  return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

// ---------------------------------------------------------------------------
// Patterns

struct Moment {
  DateFields date;
  TimeFields time;
  int dayOfWeek = 1;
  bool midnight = true;
};

// Nested formats (short date inside "c", a short date that itself says "c")
// stop here rather than recurse for ever.
constexpr int kMaxNesting = 3;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[at + i]) != prefix[i]) return false;
  return true;
}

// Whether the pattern shows a 12-hour clock (an am/pm code outside quotes).
bool UsesTwelveHours(std::string_view pattern) {
  char quote = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (StartsWithNoCase(pattern, i, "am/pm") || StartsWithNoCase(pattern, i, "a/p") ||
               StartsWithNoCase(pattern, i, "ampm")) {
      return true;
    }
  }
  return false;
}

std::string Padded(int value, std::size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

void FormatInto(std::string& out, std::string_view pattern, const Moment& at, const FormatSettings& settings,
                int depth) {
  if (depth > kMaxNesting) return;
  if (pattern.empty()) pattern = "c";
  const bool twelveHours = UsesTwelveHours(pattern);
  const bool afternoon = at.time.hour >= 12;
  bool afterHour = false;  // the next m code means minutes
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    const char code = Lower(c);
    if (c == '"' || c == '\'') {
      std::size_t close = pattern.find(c, i + 1);
      std::size_t stop = close == std::string_view::npos ? pattern.size() : close;
      out.append(pattern.substr(i + 1, stop - i - 1));
      i = stop + 1;
      continue;
    }
    if (c == '/') {
      out.push_back(settings.DateSeparator);
      ++i;
      continue;
    }
    if (c == ':') {
      out.push_back(settings.TimeSeparator);
      ++i;
      continue;
    }
    if (code == 'a') {
      if (StartsWithNoCase(pattern, i, "am/pm")) {
        out.append(pattern.substr(afternoon ? i + 3 : i, 2));
        i += 5;
      } else if (StartsWithNoCase(pattern, i, "a/p")) {
        out.push_back(pattern[afternoon ? i + 2 : i]);
        i += 3;
      } else if (StartsWithNoCase(pattern, i, "ampm")) {
        out += afternoon ? settings.TimePMString : settings.TimeAMString;
        i += 4;
      } else {
        out.push_back(c);
        ++i;
        continue;
      }
      afterHour = false;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && Lower(pattern[i + run]) == code) ++run;
    std::size_t take = run;
    switch (code) {
      case 'd':
        take = std::min<std::size_t>(run, 6);
        switch (take) {
          case 1: out += std::to_string(at.date.day); break;
          case 2: out += Padded(at.date.day, 2); break;
          case 3: out += kShortDayNames[at.dayOfWeek - 1]; break;
          case 4: out += kLongDayNames[at.dayOfWeek - 1]; break;
          case 5: FormatInto(out, settings.ShortDateFormat, at, settings, depth + 1); break;
          default: FormatInto(out, settings.LongDateFormat, at, settings, depth + 1); break;
        }
        break;
      case 'm':
        take = std::min<std::size_t>(run, 4);
        if (take <= 2 && afterHour)
          out += take == 1 ? std::to_string(at.time.minute) : Padded(at.time.minute, 2);
        else if (take <= 2)
          out += take == 1 ? std::to_string(at.date.month) : Padded(at.date.month, 2);
        else
          out += (take == 3 ? kShortMonthNames : kLongMonthNames)[at.date.month - 1];
        break;
      case 'y':
        out += run <= 2 ? Padded(at.date.year % 100, 2) : Padded(at.date.year, 4);
        break;
      case 'h': {
        take = std::min<std::size_t>(run, 2);
        int hour = at.time.hour;
        if (twelveHours) hour = hour % 12 == 0 ? 12 : hour % 12;
        out += take == 1 ? std::to_string(hour) : Padded(hour, 2);
        break;
      }
      case 'n':
        take = std::min<std::size_t>(run, 2);
        out += take == 1 ? std::to_string(at.time.minute) : Padded(at.time.minute, 2);
        break;
      case 's':
        take = std::min<std::size_t>(run, 2);
        out += take == 1 ? std::to_string(at.time.second) : Padded(at.time.second, 2);
        break;
      case 'z':
        take = run >= 3 ? 3 : 1;
        out += take == 1 ? std::to_string(at.time.millisecond) : Padded(at.time.millisecond, 3);
        break;
      case 't':
        take = std::min<std::size_t>(run, 2);
        FormatInto(out, take == 1 ? settings.ShortTimeFormat : settings.LongTimeFormat, at, settings, depth + 1);
        break;
      case 'c':
        take = 1;
        FormatInto(out, settings.ShortDateFormat, at, settings, depth + 1);
        if (!at.midnight) {
          out.push_back(' ');
          FormatInto(out, settings.LongTimeFormat, at, settings, depth + 1);
        }
        break;
      default:
        out.push_back(c);
        ++i;
        continue;
    }
    afterHour = code == 'h';
    i += take;
  }
}

}  // namespace

std::int64_t UnixDaysFromDate(int year, int month, int day) { return DaysFromCivil(year, month, day); }

DateFields DateFromUnixDays(std::int64_t days) { return CivilFromDays(days); }

DateTime EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    throw ConvertError("Invalid argument to date encode");
  return static_cast<DateTime>(DaysFromCivil(year, month, day) - kDayZero);
}

DateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 || millisecond < 0 ||
      millisecond >= 1000)
    throw ConvertError("Invalid argument to time encode");
  const std::int64_t total = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<double>(total) / static_cast<double>(kMsPerDay);
}

void DecodeDateTime(DateTime value, DateFields& date, TimeFields& time) {
  const DayAndTime split = Split(value);
  date = CivilFromDays(split.day + kDayZero);
  const auto ms = static_cast<int>(split.millisecond);
  time.hour = ms / 3600000;
  time.minute = ms / 60000 % 60;
  time.second = ms / 1000 % 60;
  time.millisecond = ms % 1000;
}

int DayOfWeek(DateTime value) { return WeekDay(Split(value).day); }

std::string FormatDateTime(std::string_view pattern, DateTime value, const FormatSettings& settings) {
  Moment at;
  DecodeDateTime(value, at.date, at.time);
  const DayAndTime split = Split(value);
  at.dayOfWeek = WeekDay(split.day);
  at.midnight = split.millisecond == 0;
  std::string out;
  FormatInto(out, pattern, at, settings, 0);
  return out;
}

}  // namespace runtime
