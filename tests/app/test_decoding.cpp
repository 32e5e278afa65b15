// Decoding of the store: BCD, temperature codes, counts, alarm records and
// the derivation of the log's start time and step.
#include <gtest/gtest.h>

#include <climits>

#include "app/logger_decoding.h"
#include "runtime/convert_error.h"
#include "runtime/date_time.h"

namespace {

using logger::LoggerState;
using logger::LoggerStore;

// The error text a conversion throws, or "" when it does not throw.
template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const runtime::ConvertError& e) {
    return e.what();
  }
  return "";
}

void SetPage0(LoggerState& state, int offset, int value) { state.LoggerData.Set(1 + offset, value); }

TEST(Bcd, DecodesHexDigitsAsDecimalAndRefusesDigitsAtoF) {
  EXPECT_EQ(logger::BcdDecode(0x45), 45);
  EXPECT_EQ(logger::BcdDecode(0x00), 0);
  EXPECT_EQ(logger::BcdDecode(0x99), 99);
  EXPECT_EQ(logger::BcdDecode(0x07), 7);
  EXPECT_EQ(ErrorOf([] { logger::BcdDecode(0x1A); }), "'1A' is not a valid integer value");
  EXPECT_EQ(ErrorOf([] { logger::BcdDecode(0xF0); }), "'F0' is not a valid integer value");
  // Loaded data: more than two digits are read the same way.
  EXPECT_EQ(logger::BcdDecode(0x123), 123);
  EXPECT_NE(ErrorOf([] { logger::BcdDecode(-1); }), "");
  for (int v = 0; v <= 99; ++v) EXPECT_EQ(logger::BcdDecode(logger::ToBcd(v)), v);
  EXPECT_EQ(logger::ToBcd(59), 0x59);
  EXPECT_EQ(logger::ToBcd(5), 0x05);
}

TEST(ValueCode, BothWaysWithHalvesToEven) {
  EXPECT_DOUBLE_EQ(logger::ValueCodeToCelsius(0), -40.0);
  EXPECT_DOUBLE_EQ(logger::ValueCodeToCelsius(80), 0.0);
  EXPECT_DOUBLE_EQ(logger::ValueCodeToCelsius(130), 25.0);
  EXPECT_DOUBLE_EQ(logger::ValueCodeToCelsius(255), 87.5);
  EXPECT_EQ(logger::CelsiusToValueCode(25.25), 130);  // 130.5 -> even 130
  EXPECT_EQ(logger::CelsiusToValueCode(25.75), 132);  // 131.5 -> even 132
  EXPECT_EQ(logger::CelsiusToValueCode(-10), 0x3C);
  EXPECT_EQ(logger::CelsiusToValueCode(30), 0x8C);
  EXPECT_EQ(logger::CelsiusToValueCode(-40), 0);
  EXPECT_EQ(logger::CelsiusToValueCode(84), 248);
}

TEST(Counts, LittleEndianAndWideEnoughForAnyEntry) {
  LoggerState state;
  state.LoggerData.Set(169, 34);
  state.LoggerData.Set(170, 12);
  EXPECT_EQ(logger::HistogramCount(state.LoggerData, 0), 3106);
  SetPage0(state, 18, 0x2C);
  SetPage0(state, 19, 0x01);
  EXPECT_EQ(logger::StartDelayMinutes(state.LoggerData), 300);
  SetPage0(state, 26, 1);
  SetPage0(state, 27, 2);
  SetPage0(state, 28, 3);
  EXPECT_EQ(logger::CurrentSampleCount(state.LoggerData), 3 * 65536 + 2 * 256 + 1);
  // Loaded data may hold any 32-bit value: no overflow.
  SetPage0(state, 29, INT_MAX);
  SetPage0(state, 30, INT_MAX);
  SetPage0(state, 31, INT_MAX);
  EXPECT_EQ(logger::TotalSampleCount(state.LoggerData), std::int64_t{INT_MAX} * (65536 + 256 + 1));
  state.LoggerData.Set(295, INT_MIN);
  state.LoggerData.Set(296, INT_MIN);
  EXPECT_EQ(logger::HistogramCount(state.LoggerData, 63), std::int64_t{INT_MIN} * 257);
}

TEST(AlarmRecords, StartAndDurationOfARecord) {
  LoggerState state;
  // Record 0 = 10 00 00 05.
  state.LoggerData.Set(73, 0x10);
  state.LoggerData.Set(74, 0x00);
  state.LoggerData.Set(75, 0x00);
  state.LoggerData.Set(76, 0x05);
  logger::AlarmRecord r = logger::AlarmRecordAt(state.LoggerData, 0);
  EXPECT_EQ(r.startSamples * 15, 240);
  EXPECT_EQ(r.durationSamples * 15, 75);
  // The last record ends at entry 168.
  state.LoggerData.Set(165, 1);
  state.LoggerData.Set(166, 1);
  state.LoggerData.Set(167, 1);
  state.LoggerData.Set(168, 9);
  r = logger::AlarmRecordAt(state.LoggerData, 23);
  EXPECT_EQ(r.startSamples, 65536 + 256 + 1);
  EXPECT_EQ(r.durationSamples, 9);
}

TEST(LogTimes, StartTimeInTheComputersCenturyAndTheStep) {
  LoggerState state;
  SetPage0(state, 21, 0x30);
  SetPage0(state, 22, 0x14);
  SetPage0(state, 23, 0x25);
  SetPage0(state, 24, 0x12);
  SetPage0(state, 25, 0x00);
  SetPage0(state, 13, 90);
  logger::DeriveLogTimes(state, 2026);
  EXPECT_DOUBLE_EQ(state.LogStartTime, runtime::EncodeDate(2000, 12, 25) + runtime::EncodeTime(14, 30, 0, 0));
  EXPECT_DOUBLE_EQ(state.SampleStep, runtime::EncodeTime(1, 30, 0, 0));
  EXPECT_EQ(runtime::FormatDateTime("dd/mm/yy hh:nn", state.LogStartTime + 2 * state.SampleStep), "25/12/00 17:30");
}

TEST(LogTimes, DayZeroKeepsThePreviousStartButStillChecksYearAndMonth) {
  LoggerState state;
  state.LogStartTime = 1234.5;
  SetPage0(state, 13, 0);
  logger::DeriveLogTimes(state, 2026);  // all zero
  EXPECT_DOUBLE_EQ(state.LogStartTime, 1234.5);
  EXPECT_DOUBLE_EQ(state.SampleStep, 0.0);

  // An invalid year byte raises before the day is tested.
  SetPage0(state, 25, 0x1A);
  EXPECT_EQ(ErrorOf([&] { logger::DeriveLogTimes(state, 2026); }), "'1A' is not a valid integer value");
  SetPage0(state, 25, 0x00);
  SetPage0(state, 24, 0x0B);
  EXPECT_EQ(ErrorOf([&] { logger::DeriveLogTimes(state, 2026); }), "'0B' is not a valid integer value");
  // Hours and minutes are decoded only when there is a start day.
  SetPage0(state, 24, 0x00);
  SetPage0(state, 22, 0x1F);
  EXPECT_EQ(ErrorOf([&] { logger::DeriveLogTimes(state, 2026); }), "");
  EXPECT_DOUBLE_EQ(state.LogStartTime, 1234.5);
}

TEST(LogTimes, DatesAndTimesThatDoNotExist) {
  LoggerState state;
  SetPage0(state, 23, 0x01);
  SetPage0(state, 24, 0x13);  // month 13
  SetPage0(state, 25, 0x26);
  EXPECT_EQ(ErrorOf([&] { logger::DeriveLogTimes(state, 2026); }), "Invalid argument to date encode");
  SetPage0(state, 24, 0x02);
  SetPage0(state, 23, 0x30);  // 30 February
  EXPECT_EQ(ErrorOf([&] { logger::DeriveLogTimes(state, 2026); }), "Invalid argument to date encode");
  SetPage0(state, 23, 0x28);
  SetPage0(state, 22, 0x24);  // hour 24
  EXPECT_EQ(ErrorOf([&] { logger::DeriveLogTimes(state, 2026); }), "Invalid argument to time encode");
  SetPage0(state, 22, 0x23);
  SetPage0(state, 21, 0x60);  // minute 60
  EXPECT_EQ(ErrorOf([&] { logger::DeriveLogTimes(state, 2026); }), "Invalid argument to time encode");
  // A rate of 24 hours or more (loaded data) cannot be a time of day.
  SetPage0(state, 21, 0x59);
  SetPage0(state, 13, 1440);
  EXPECT_EQ(ErrorOf([&] { logger::DeriveLogTimes(state, 2026); }), "Invalid argument to time encode");
  SetPage0(state, 13, 1439);
  EXPECT_EQ(ErrorOf([&] { logger::DeriveLogTimes(state, 2026); }), "");
  SetPage0(state, 13, -5);
  EXPECT_EQ(ErrorOf([&] { logger::DeriveLogTimes(state, 2026); }), "Invalid argument to time encode");
}

TEST(BitString, MostSignificantBitFirst) {
  EXPECT_EQ(logger::BitString(0x24), "00100100");
  EXPECT_EQ(logger::BitString(0), "00000000");
  EXPECT_EQ(logger::BitString(0xFF), "11111111");
  EXPECT_EQ(logger::BitString(0x180), "10000000");  // only the low 8 bits
  EXPECT_EQ(logger::BitString(-1), "11111111");
}

}  // namespace
