#include "sim/recorder_memory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

using Clock = std::array<std::uint8_t, 7>;  // seconds .. year, BCD

void SetClock(sim::RecorderMemory& memory, const Clock& fields, std::int64_t nowMs) {
  for (std::uint16_t i = 0; i < 7; ++i) memory.Write(i, fields[i], nowMs);
}

Clock ReadClock(const sim::RecorderMemory& memory, std::int64_t nowMs) {
  Clock c{};
  for (std::uint16_t i = 0; i < 7; ++i) c[i] = memory.Read(i, nowMs);
  return c;
}

std::string TempPath(const std::string& leaf) {
  return ::testing::TempDir() + "sim_memory_" + std::to_string(::getpid()) + "_" + leaf;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(RecorderClock, BlankMemoryHasAStoppedClock) {
  sim::RecorderMemory memory;
  EXPECT_FALSE(memory.ClockRunning());
  EXPECT_EQ(ReadClock(memory, 0), Clock{});
  EXPECT_EQ(ReadClock(memory, 3600 * 1000), Clock{});
}

// One second past the given time, across the boundaries where calendars break.
TEST(RecorderClock, RollsOverMinuteDayMonthYearAndCentury) {
  struct Case {
    Clock set;
    Clock oneSecondLater;
  };
  const Case cases[] = {
      // Thursday 31/12/99 23:59:59 -> Friday 01/01/00: the two-digit year wraps
      {{0x59, 0x59, 0x23, 0x05, 0x31, 0x12, 0x99}, {0x00, 0x00, 0x00, 0x06, 0x01, 0x01, 0x00}},
      // Saturday -> Sunday: the day of the week wraps too
      {{0x59, 0x59, 0x23, 0x07, 0x07, 0x03, 0x26}, {0x00, 0x00, 0x00, 0x01, 0x08, 0x03, 0x26}},
      // leap year 2028: 28 February -> 29 February
      {{0x59, 0x59, 0x23, 0x02, 0x28, 0x02, 0x28}, {0x00, 0x00, 0x00, 0x03, 0x29, 0x02, 0x28}},
      // 2027 is no leap year: 28 February -> 1 March
      {{0x59, 0x59, 0x23, 0x01, 0x28, 0x02, 0x27}, {0x00, 0x00, 0x00, 0x02, 0x01, 0x03, 0x27}},
      // 30 April -> 1 May
      {{0x59, 0x59, 0x23, 0x05, 0x30, 0x04, 0x26}, {0x00, 0x00, 0x00, 0x06, 0x01, 0x05, 0x26}},
      // 09:59:59 -> 10:00:00, a BCD carry inside the hours
      {{0x59, 0x59, 0x09, 0x02, 0x15, 0x06, 0x26}, {0x00, 0x00, 0x10, 0x02, 0x15, 0x06, 0x26}},
  };
  for (const Case& c : cases) {
    sim::RecorderMemory memory;
    SetClock(memory, c.set, 5000);
    EXPECT_TRUE(memory.ClockRunning());
    EXPECT_EQ(ReadClock(memory, 5999), c.set);
    EXPECT_EQ(ReadClock(memory, 6000), c.oneSecondLater);
  }
}

TEST(RecorderClock, RunsForDaysAndAdvancesTheDayOfWeek) {
  sim::RecorderMemory memory;
  SetClock(memory, {0x00, 0x30, 0x12, 0x05, 0x26, 0x02, 0x26}, 0);  // Thursday 26/02/26
  std::int64_t tenDays = 10LL * 86400 * 1000;
  EXPECT_EQ(ReadClock(memory, tenDays + 61000),
            (Clock{0x01, 0x31, 0x12, 0x01, 0x08, 0x03, 0x26}));  // Sunday 08/03/26
}

TEST(RecorderClock, OnlyASecondsWriteRestartsTheSubSecondCount) {
  sim::RecorderMemory memory;
  SetClock(memory, {0x10, 0x00, 0x08, 0x02, 0x01, 0x06, 0x26}, 0);
  // A minutes write 1.5 s in keeps the half second already counted...
  memory.Write(1, 0x20, 1500);
  EXPECT_EQ(ReadClock(memory, 1999)[0], 0x11);
  EXPECT_EQ(ReadClock(memory, 2000)[0], 0x12);
  EXPECT_EQ(ReadClock(memory, 2000)[1], 0x20);
  // ...a seconds write starts a fresh second.
  memory.Write(0, 0x40, 2700);
  EXPECT_EQ(ReadClock(memory, 3699)[0], 0x40);
  EXPECT_EQ(ReadClock(memory, 3700)[0], 0x41);
}

TEST(RecorderClock, ImpossibleFieldsStopTheClockUntilFixed) {
  sim::RecorderMemory memory;
  SetClock(memory, {0x00, 0x00, 0x08, 0x02, 0x31, 0x01, 0x26}, 0);
  memory.Write(5, 0x02, 1000);  // 31 February: no such day
  EXPECT_FALSE(memory.ClockRunning());
  EXPECT_EQ(ReadClock(memory, 60000), (Clock{0x01, 0x00, 0x08, 0x02, 0x31, 0x02, 0x26}));
  memory.Write(4, 0x28, 60000);
  EXPECT_TRUE(memory.ClockRunning());
  EXPECT_EQ(ReadClock(memory, 62000), (Clock{0x03, 0x00, 0x08, 0x02, 0x28, 0x02, 0x26}));

  memory.Write(2, 0x1A, 63000);  // not BCD
  EXPECT_FALSE(memory.ClockRunning());
  EXPECT_EQ(memory.Read(2, 70000), 0x1A);
}

TEST(RecorderClock, StartsFromLocalTime) {
  tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 2;  // March
  local.tm_mday = 1;
  local.tm_hour = 12;
  local.tm_min = 34;
  local.tm_sec = 56;
  local.tm_isdst = -1;
  sim::RecorderMemory memory;
  memory.StartClock(std::mktime(&local), 100);
  EXPECT_EQ(ReadClock(memory, 100), (Clock{0x56, 0x34, 0x12, 0x01, 0x01, 0x03, 0x26}));
  EXPECT_EQ(ReadClock(memory, 4100)[0], 0x00);
  EXPECT_EQ(ReadClock(memory, 4100)[1], 0x35);
}

TEST(RecorderImage, SaveAndLoadRoundTripWithTheClockAsItReads) {
  sim::RecorderMemory memory;
  for (std::size_t a = 7; a < sim::RecorderMemory::kSize; ++a) {
    memory.Raw()[a] = static_cast<std::uint8_t>(a * 31 + (a >> 8));
  }
  // Set 20 s ago: the saved image holds the clock 20 s on.
  SetClock(memory, {0x10, 0x00, 0x08, 0x02, 0x01, 0x06, 0x26}, sim::MonotonicMs() - 20000);
  std::string path = TempPath("roundtrip.bin");
  std::string error;
  ASSERT_TRUE(memory.SaveImage(path, &error)) << error;

  sim::RecorderMemory loaded;
  ASSERT_TRUE(loaded.LoadImage(path, &error)) << error;
  for (std::size_t a = 7; a < sim::RecorderMemory::kSize; ++a) {
    ASSERT_EQ(loaded.Raw()[a], memory.Raw()[a]) << "address " << a;
  }
  EXPECT_TRUE(loaded.ClockRunning());
  EXPECT_GE(loaded.Raw()[0], 0x30);
  EXPECT_LE(loaded.Raw()[0], 0x31);
  EXPECT_EQ(loaded.Raw()[1], 0x00);
  std::remove(path.c_str());
}

TEST(RecorderImage, ShortImageFillsFromZeroAndClearsTheRest) {
  std::string path = TempPath("short.bin");
  WriteFile(path, {0x00, 0x15, 0x09, 0x03, 0x10, 0x11, 0x26, 0x00, 0x00, 0x00, 0x00, 0x50});
  sim::RecorderMemory memory = sim::RecorderMemory::Plausible(0);
  std::string error;
  ASSERT_TRUE(memory.LoadImage(path, &error)) << error;
  EXPECT_EQ(memory.Raw()[11], 0x50);
  EXPECT_TRUE(memory.ClockRunning());
  for (std::size_t a = 12; a < sim::RecorderMemory::kSize; ++a) {
    ASSERT_EQ(memory.Raw()[a], 0) << "address " << a;
  }
  std::remove(path.c_str());
}

TEST(RecorderImage, BadFilesAreRefusedAndLeaveMemoryAlone) {
  std::string tooLong = TempPath("long.bin");
  WriteFile(tooLong, std::vector<std::uint8_t>(sim::RecorderMemory::kSize + 1, 0x11));
  std::string empty = TempPath("empty.bin");
  WriteFile(empty, {});
  const std::string missing = TempPath("missing.bin");

  sim::RecorderMemory memory = sim::RecorderMemory::Plausible(0);
  const auto before = memory.Raw();
  std::string error;
  EXPECT_FALSE(memory.LoadImage(tooLong, &error));
  EXPECT_NE(error.find("longer"), std::string::npos) << error;
  EXPECT_FALSE(memory.LoadImage(missing, &error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;
  EXPECT_FALSE(memory.LoadImage(::testing::TempDir(), &error));  // a directory
  EXPECT_EQ(memory.Raw(), before);

  EXPECT_FALSE(memory.SaveImage("/nonexistent-dir/image.bin", &error));
  EXPECT_NE(error.find("/nonexistent-dir/image.bin"), std::string::npos) << error;

  // An empty file is a valid, if short, image: all zero.
  EXPECT_TRUE(memory.LoadImage(empty, &error)) << error;
  EXPECT_FALSE(memory.ClockRunning());
  std::remove(tooLong.c_str());
  std::remove(empty.c_str());
}

}  // namespace
