#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "runtime/convert_error.h"
#include "runtime/date_time.h"

namespace runtime {
namespace {

// Separators that differ from the pattern's own characters, so a test sees
// whether they were replaced.
FormatSettings Pinned() {
  FormatSettings settings;
  settings.DateSeparator = '-';
  settings.TimeSeparator = '.';
  settings.ShortDateFormat = "dd/mm/yyyy";
  settings.LongDateFormat = "dddd d mmmm yyyy";
  settings.ShortTimeFormat = "hh:nn";
  settings.LongTimeFormat = "hh:nn:ss";
  settings.TimeAMString = "vorm";
  settings.TimePMString = "nachm";
  return settings;
}

DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
  return EncodeDate(year, month, day) + EncodeTime(hour, minute, second, ms);
}

std::string ErrorOf(auto&& call) {
  try {
    call();
  } catch (const ConvertError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(EncodeDate, KnownDaysAndDaysThatDoNotExist) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2000, 12, 25), 36885);
  EXPECT_EQ(EncodeDate(2005, 12, 31), 38717);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  EXPECT_EQ(EncodeDate(2000, 2, 29), EncodeDate(2000, 3, 1) - 1);
  EXPECT_EQ(EncodeDate(1900, 2, 28), EncodeDate(1900, 3, 1) - 1);
  EXPECT_DOUBLE_EQ(At(2000, 12, 25, 14, 30), 36885 + 14.5 / 24);

  const int refused[][3] = {{2000, 13, 1}, {2000, 0, 1},  {2000, 4, 31},  {1900, 2, 29},
                            {2001, 2, 29}, {2000, 1, 0},  {2000, 1, 32},  {0, 1, 1},
                            {10000, 1, 1}, {-5, 1, 1},    {2000, -1, 1},  {std::numeric_limits<int>::min(), 1, 1},
                            {2000, std::numeric_limits<int>::max(), 1},   {2000, 1, std::numeric_limits<int>::max()}};
  for (const auto& d : refused)
    EXPECT_EQ(ErrorOf([&] { EncodeDate(d[0], d[1], d[2]); }), "Invalid argument to date encode")
        << d[0] << "-" << d[1] << "-" << d[2];
}

TEST(EncodeTime, LimitsOfTheDay) {
  EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(1, 30, 0, 0), 1.5 / 24);
  EXPECT_LT(EncodeTime(23, 59, 59, 999), 1.0);
  const int refused[][4] = {{24, 0, 0, 0},  {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000},
                            {-1, 0, 0, 0},  {0, -1, 0, 0}, {0, 0, 0, -1}, {std::numeric_limits<int>::max(), 0, 0, 0}};
  for (const auto& t : refused)
    EXPECT_EQ(ErrorOf([&] { EncodeTime(t[0], t[1], t[2], t[3]); }), "Invalid argument to time encode") << t[0];
}

TEST(DecodeDateTime, EveryDayOfTheCalendarReadsBackAndWeekdaysFollowEachOther) {
  DateFields date;
  TimeFields time;
  int expectedWeekDay = DayOfWeek(EncodeDate(1, 1, 1));
  for (int serial = -693593; serial <= 2958465; ++serial) {
    // Noon of a day before day 0 lies below it: -1.5 is 29 December, 12:00.
    DecodeDateTime(serial >= 0 ? serial + 0.5 : serial - 0.5, date, time);
    ASSERT_EQ(EncodeDate(date.year, date.month, date.day), serial);
    ASSERT_EQ(time.hour, 12);
    ASSERT_EQ(DayOfWeek(serial), expectedWeekDay) << serial;
    expectedWeekDay = expectedWeekDay % 7 + 1;
  }
}

TEST(DecodeDateTime, DaysBeforeDayZeroKeepTheTimeAsAPositiveFraction) {
  DateFields date;
  TimeFields time;
  DecodeDateTime(-1.25, date, time);
  EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 18991229);
  EXPECT_EQ(time.hour, 6);
  DecodeDateTime(-0.5, date, time);
  EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 18991230);
  EXPECT_EQ(time.hour, 12);
  // A 19th-century date with its time of day.
  DateTime value = EncodeDate(1850, 7, 4) - EncodeTime(18, 0, 0, 0);
  DecodeDateTime(value, date, time);
  EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 18500704);
  EXPECT_EQ(time.hour, 18);
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", -1.75, Pinned()), "29-12-1899 18.00");
}

TEST(DecodeDateTime, RoundsToTheNearestMillisecondFirst) {
  DateFields date;
  TimeFields time;
  DecodeDateTime(At(2000, 12, 25, 14, 30) - 0.4 / 86400000, date, time);
  EXPECT_EQ(time.minute, 30);
  EXPECT_EQ(time.second, 0);
  EXPECT_EQ(time.millisecond, 0);
  DecodeDateTime(At(2000, 12, 25, 14, 30) + 0.6 / 86400000, date, time);
  EXPECT_EQ(time.millisecond, 1);
  // Just short of midnight rolls over to the next day, forwards and backwards.
  DecodeDateTime(EncodeDate(2000, 12, 31) + 1 - 0.3 / 86400000, date, time);
  EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 20010101);
  EXPECT_EQ(time.hour + time.minute + time.second + time.millisecond, 0);
  DecodeDateTime(-2 + 0.3 / 86400000, date, time);
  EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 18991228);
  EXPECT_EQ(time.hour + time.minute + time.second + time.millisecond, 0);
}

TEST(DecodeDateTime, RunningQuarterHoursLandOnTheMinute) {
  const FormatSettings settings;
  const DateTime start = At(2000, 12, 25, 14, 30);
  const DateTime step = EncodeTime(0, 15, 0, 0);
  DateTime t = start;
  int belowExact = 0;
  for (int n = 1; n <= 96; ++n) {
    t += step;
    if (t < start + n * step) ++belowExact;
    DateFields date;
    TimeFields time;
    DecodeDateTime(t, date, time);
    EXPECT_EQ(time.minute % 15, 0) << n;
    EXPECT_EQ(time.second + time.millisecond, 0) << n;
  }
  EXPECT_EQ(FormatDateTime("dd/mm/yy hh:mm", t, settings), "26/12/00 14:30");
  // The running sum does drift below the exact times, which is what the
  // rounding is there for.
  EXPECT_GT(belowExact, 0);

  // A rate of 90 minutes puts sample 2 three hours after the start.
  const DateTime rate90 = EncodeTime(1, 30, 0, 0);
  EXPECT_EQ(FormatDateTime("dd/mm/yy hh:mm", start + rate90 + rate90, settings), "25/12/00 17:30");
}

TEST(DecodeDateTime, ValuesOutsideTheCalendarAreRefused) {
  for (double value : {std::nan(""), double(INFINITY), double(-INFINITY), 1e300, -1e300, 2958466.0, -693594.5}) {
    EXPECT_NE(ErrorOf([&] { DayOfWeek(value); }).find("is not a valid date and time"), std::string::npos) << value;
    EXPECT_NE(ErrorOf([&] { FormatDateTime("dd", value, Pinned()); }), "(accepted)") << value;
  }
  EXPECT_EQ(ErrorOf([] { DayOfWeek(1e20); }), "'1E20' is not a valid date and time");
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", 2958465.9999, Pinned()), "9999-12-31 23.59");
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd", -693593, Pinned()), "0001-01-01");
}

TEST(DayOfWeek, SundayIsOne) {
  EXPECT_EQ(DayOfWeek(EncodeDate(2005, 12, 31) + EncodeTime(23, 59, 7, 0)), 7);
  EXPECT_EQ(DayOfWeek(EncodeDate(2006, 1, 1)), 1);
  EXPECT_EQ(DayOfWeek(EncodeDate(2000, 12, 25)), 2);
  EXPECT_EQ(DayOfWeek(0), 7);
  EXPECT_EQ(DayOfWeek(-1.25), 6);
}

TEST(FormatDateTime, EveryCode) {
  const FormatSettings settings = Pinned();
  const DateTime christmas = At(2000, 12, 25, 14, 30, 5, 123);
  const DateTime early = At(2001, 1, 5, 9, 5, 7, 8);
  const struct {
    const char* pattern;
    DateTime value;
    const char* text;
  } cases[] = {
      {"d", christmas, "25"},         {"d", early, "5"},
      {"dd", early, "05"},            {"ddd", christmas, "Mon"},
      {"dddd", christmas, "Monday"},  {"dddd", early, "Friday"},
      {"ddddd", christmas, "25-12-2000"},
      {"dddddd", christmas, "Monday 25 December 2000"},
      {"ddddddd", early, "Friday 5 January 20015"},
      {"m", early, "1"},              {"mm", early, "01"},
      {"mmm", christmas, "Dec"},      {"mmmm", early, "January"},
      {"yy", early, "01"},            {"yyyy", early, "2001"},
      {"y", early, "01"},             {"yyy", early, "2001"},
      {"h", early, "9"},              {"hh", early, "09"},
      {"n", early, "5"},              {"nn", early, "05"},
      {"s", early, "7"},              {"ss", early, "07"},
      {"z", early, "8"},              {"zzz", early, "008"},
      {"z", christmas, "123"},
      {"t", christmas, "14.30"},      {"tt", christmas, "14.30.05"},
      {"c", christmas, "25-12-2000 14.30.05"},
      {"c", EncodeDate(2000, 12, 25), "25-12-2000"},
      {"", christmas, "25-12-2000 14.30.05"},
      {"hh:nn am/pm", christmas, "02.30 pm"},
      {"hh:nn AM/PM", early, "09.05 AM"},
      {"h a/p", christmas, "2 p"},    {"h A/P", early, "9 A"},
      {"h ampm", christmas, "2 nachm"},
      {"h ampm", At(2000, 1, 1, 0, 15), "12 vorm"},
      {"h", At(2000, 1, 1, 0, 15), "0"},
      {"'dd' dd", christmas, "dd 25"},
      {"\"h:\"hh", christmas, "h:14"},
      {"dd 'unterminated", christmas, "25 unterminated"},
      {"dd Q x", christmas, "25 Q x"},
      {"a", christmas, "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, c.value, settings), c.text) << c.pattern;
}

TEST(FormatDateTime, MinutesAfterAnHourMonthsElsewhere) {
  const FormatSettings settings = Pinned();
  const DateTime value = At(2000, 12, 25, 14, 30);
  const struct {
    const char* pattern;
    const char* text;
  } cases[] = {
      {"dd/mm/yy hh:mm", "25-12-00 14.30"},
      {"dd/mm/yy hh:mm  ", "25-12-00 14.30  "},
      {"dd/MM/yy hh:mm", "25-12-00 14.30"},
      {"DD/MM/YY HH:MM", "25-12-00 14.30"},
      {"hh mm", "14 30"},
      {"h:m", "14.30"},
      {"hh 'at' mm", "14 at 30"},
      {"mm hh", "12 14"},
      {"hh:nn mm", "14.30 12"},
      {"hh dd mm", "14 25 12"},
      {"hh:mm:ss mm", "14.30.00 12"},
      {"hh mmm", "14 Dec"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, value, settings), c.text) << c.pattern;
  FormatSettings slash;
  EXPECT_EQ(FormatDateTime("dd/mm/yy hh:mm", value, slash), "25/12/00 14:30");
}

TEST(FormatDateTime, FormatsThatNameThemselvesStop) {
  FormatSettings looping = Pinned();
  looping.ShortDateFormat = std::string("c");
  looping.LongTimeFormat = std::string("tt");
  looping.ShortTimeFormat = std::string("t");
  // Any finite text will do; the point is that it ends.
  EXPECT_LT(FormatDateTime("c ddddd t", At(2000, 12, 25, 14, 30), looping).size(), 1000u);
}

}  // namespace
}  // namespace runtime
