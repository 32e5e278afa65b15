#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace logger {

// The downloaded recorder memory: 3000 signed 32-bit entries, indices 1 to
// 3000, all zero at start. A download puts one byte value in each entry; a
// loaded data file may put any integer there.
class LoggerStore {
 public:
  static constexpr int kFirst = 1;
  static constexpr int kLast = 3000;
  static constexpr int kCount = 3000;

  // Indices outside 1..3000 throw std::out_of_range: a store value used as
  // an index must never reach past the store.
  std::int32_t At(int index) const;
  void Set(int index, std::int32_t value);

  // Index regions of the store.
  static constexpr int kPage0First = 1;
  static constexpr int kPage2First = 33;
  static constexpr int kSerialNumberFirst = 65;
  static constexpr int kAlarmRecordsFirst = 73;
  static constexpr int kHistogramFirst = 169;
  static constexpr int kTemperatureLogFirst = 297;
  static constexpr int kTemperatureLogSamples = 2048;

  // Page 0 offset `offset` (entry offset + 1).
  std::int32_t Page0(int offset) const { return At(kPage0First + offset); }

  const std::array<std::int32_t, kCount>& Entries() const { return entries_; }
  bool operator==(const LoggerStore&) const = default;

 private:
  std::array<std::int32_t, kCount> entries_{};
};

// Program-wide state shared by the download and configuration commands; owned
// by the main window for the whole run.
struct LoggerState {
  // Set by Exit and never cleared: every answer wait ends when it is set.
  bool AbortRequested = false;
  // "none", then Sunday..Saturday; filled when the main window is created.
  std::array<std::string, 8> DayNames{};
  LoggerStore LoggerData;
  double LogStartTime = 0.0;  // day count of the first logged sample
  double SampleStep = 0.0;    // fraction of a day between samples
};

void FillDayNames(LoggerState& state);

}  // namespace logger

namespace logger {

// The 32 page-2 entries as 8-bit characters (the low 8 bits of each entry),
// in the recorder's Windows-1252 character set.
std::string NVramText(const LoggerStore& store);

}  // namespace logger
