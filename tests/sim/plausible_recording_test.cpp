#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "sim/recorder_memory.h"

namespace {

using sim::RecorderMemory;

int Bcd(std::uint8_t b) {
  EXPECT_LE(b >> 4, 9) << "not BCD: " << int(b);
  EXPECT_LE(b & 15, 9) << "not BCD: " << int(b);
  return (b >> 4) * 10 + (b & 15);
}

unsigned LittleEndian(const RecorderMemory& m, std::size_t at, int bytes) {
  unsigned v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | m.Raw()[at + i];
  return v;
}

std::vector<std::uint8_t> Log(const RecorderMemory& m) {
  return {m.Raw().begin() + 0x1000, m.Raw().begin() + 0x1800};
}

std::time_t LocalTime(int year, int month, int day, int hour, int minute) {
  tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

// Minutes since 2000 of a calendar date and time, no time zone involved.
long Minutes(int year, int month, int day, int hour, int minute) {
  using namespace std::chrono;
  sys_days date{std::chrono::year{year} / month / day};
  return (date - sys_days{std::chrono::year{2000} / 1 / 1}).count() * 1440L + hour * 60 + minute;
}

TEST(PlausibleRecording, HistogramCountsEverySampleOfTheLog) {
  RecorderMemory m = RecorderMemory::Plausible(LocalTime(2026, 3, 10, 9, 20));
  std::vector<std::uint8_t> log = Log(m);
  unsigned total = 0;
  for (int k = 0; k < 64; ++k) {
    unsigned stored = LittleEndian(m, 0x0800 + 2 * k, 2);
    auto inBin = std::count_if(log.begin(), log.end(), [k](std::uint8_t c) { return c / 4 == k; });
    EXPECT_EQ(stored, static_cast<unsigned>(inBin)) << "bin " << k;
    total += stored;
  }
  EXPECT_EQ(total, 2048u);
}

TEST(PlausibleRecording, AlarmRecordsAreTheRunsOutsideTheThresholds) {
  RecorderMemory m = RecorderMemory::Plausible(LocalTime(2026, 3, 10, 9, 20));
  std::vector<std::uint8_t> log = Log(m);
  const std::uint8_t low = m.Raw()[11];
  const std::uint8_t high = m.Raw()[12];
  EXPECT_EQ(low, 80);   // 0.0 degrees
  EXPECT_EQ(high, 96);  // 8.0 degrees

  for (int kind = 0; kind < 2; ++kind) {
    // Runs found by walking the log: (start, length).
    std::vector<std::pair<unsigned, unsigned>> runs;
    for (unsigned n = 0; n < log.size(); ++n) {
      bool alarm = kind == 0 ? log[n] < low : log[n] > high;
      bool continues = n > 0 && (kind == 0 ? log[n - 1] < low : log[n - 1] > high);
      if (alarm && continues) ++runs.back().second;
      if (alarm && !continues) runs.emplace_back(n, 1);
    }
    ASSERT_GE(runs.size(), 1u) << "the recording should show alarms of kind " << kind;
    ASSERT_LE(runs.size(), 12u);
    for (unsigned r = 0; r < 12; ++r) {
      std::size_t at = 0x0220 + 4 * (12 * kind + r);
      unsigned start = LittleEndian(m, at, 3);
      unsigned duration = m.Raw()[at + 3];
      if (r < runs.size()) {
        EXPECT_EQ(start, runs[r].first) << "kind " << kind << " record " << r;
        EXPECT_EQ(duration, runs[r].second) << "kind " << kind << " record " << r;
      } else {
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(duration, 0u);
      }
    }
  }
}

TEST(PlausibleRecording, LooksLikeAColdRoom) {
  RecorderMemory m = RecorderMemory::Plausible(LocalTime(2026, 3, 10, 9, 20));
  std::vector<std::uint8_t> log = Log(m);
  std::vector<std::uint8_t> sorted = log;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_NEAR(sorted[1024], 88, 1);  // about +4 degrees
  EXPECT_GE(sorted.back(), 100);     // door openings reach 10 degrees...
  EXPECT_LE(sorted.back(), 105);     // ...but not much over 12
  EXPECT_GE(sorted.front(), 70);

  EXPECT_EQ(m.Raw()[13], 15);  // minutes between samples
  EXPECT_EQ(LittleEndian(m, 26, 3), 2048u);
  EXPECT_EQ(LittleEndian(m, 29, 3), 2048u);
  EXPECT_EQ(m.Raw()[17], log.back());
  EXPECT_EQ(m.Raw()[20] & 0x06, 0x06);  // both temperature alarm flags
  std::string description(m.Raw().begin() + 0x40, m.Raw().begin() + 0x60);
  EXPECT_EQ(description, "Cold room 3" + std::string(21, ' '));
  EXPECT_EQ(std::count(m.Raw().begin() + 0x200, m.Raw().begin() + 0x208, 0), 0);

  // The same clock start gives the same recording, byte for byte.
  RecorderMemory again = RecorderMemory::Plausible(LocalTime(2026, 3, 10, 9, 20));
  EXPECT_TRUE(std::equal(m.Raw().begin() + 7, m.Raw().end(), again.Raw().begin() + 7));
}

TEST(PlausibleRecording, StartsAboutThreeWeeksBeforeTheClockOnAQuarterHour) {
  struct Case {
    int year, month, day, hour, minute;
  };
  // The second one starts in the previous year.
  for (Case c : {Case{2026, 3, 10, 9, 20}, Case{2026, 1, 5, 0, 10}}) {
    RecorderMemory m = RecorderMemory::Plausible(LocalTime(c.year, c.month, c.day, c.hour, c.minute));
    const auto& r = m.Raw();
    int minute = Bcd(r[21]), hour = Bcd(r[22]), day = Bcd(r[23]), month = Bcd(r[24]);
    int year = 2000 + Bcd(r[25]);
    ASSERT_GE(day, 1);
    EXPECT_EQ(minute % 15, 0);
    long before = Minutes(c.year, c.month, c.day, c.hour, c.minute) - Minutes(year, month, day, hour, minute);
    EXPECT_GE(before, 2048L * 15) << "the log must be complete by now";
    EXPECT_LT(before, 2048L * 15 + 24 * 60);

    // The clock shows the time it was started from.
    std::int64_t now = sim::MonotonicMs();
    EXPECT_EQ(Bcd(m.Read(1, now)), c.minute);
    EXPECT_EQ(Bcd(m.Read(2, now)), c.hour);
    EXPECT_EQ(Bcd(m.Read(4, now)), c.day);
    EXPECT_EQ(Bcd(m.Read(5, now)), c.month);
    EXPECT_EQ(Bcd(m.Read(6, now)), c.year % 100);
  }
}

}  // namespace
