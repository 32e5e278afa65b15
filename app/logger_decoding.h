#pragma once

#include <cstdint>
#include <string>

#include "app/logger_store.h"

namespace logger {

// Decoding of the store's regions. A loaded data file may put any 32-bit
// value in any entry, so sums and products are computed wider than the
// entries and every index derived from a value is checked.

// BCD byte to its decimal value: the entry as (at least two) upper-case hex
// digits read as a decimal number; "1A" throws the invalid-integer error.
int BcdDecode(std::int32_t entry);
// tens x 16 + units, for 0..99.
std::uint8_t ToBcd(int value);

// Degrees Celsius of a temperature code: code x 0.5 - 40.
double ValueCodeToCelsius(std::int64_t code);
// (degrees + 40) x 2 rounded to the nearest integer, halves to even; the low
// 8 bits are what the recorder receives.
std::int64_t CelsiusToValueCode(double celsius);

// Page 0 counts, low byte first.
std::int64_t StartDelayMinutes(const LoggerStore& store);      // offsets 18, 19
std::int64_t CurrentSampleCount(const LoggerStore& store);     // offsets 26..28
std::int64_t TotalSampleCount(const LoggerStore& store);       // offsets 29..31
std::int64_t SampleRate(const LoggerStore& store);             // offset 13

struct AlarmRecord {
  std::int64_t startSamples = 0;     // 24-bit, low byte first
  std::int64_t durationSamples = 0;
};
constexpr int kAlarmRecords = 24;
constexpr int kLowAlarmRecords = 12;
AlarmRecord AlarmRecordAt(const LoggerStore& store, int record);  // 0..23

constexpr int kHistogramBins = 64;
std::int64_t HistogramCount(const LoggerStore& store, int bin);  // 0..63

// Sets SampleStep from the sample rate, then, if the recording has a start
// day, LogStartTime from the start bytes in the century of `currentYear`.
// Year, month and day are decoded (and may throw) before the day is tested;
// hours and minutes only when the day is not 0.
void DeriveLogTimes(LoggerState& state, int currentYear);

// Eight '0'/'1' characters for bits 7 down to 0.
std::string BitString(std::int64_t value);

}  // namespace logger
