#pragma once

#include <cstdint>
#include <vector>

namespace sim {

// Where things live in the recorder's address space.

// Page 0: setup memory.
constexpr std::uint16_t kPage0 = 0x0000;
constexpr std::uint16_t kClockAlarm = 0x07;  // four bytes
constexpr std::uint16_t kLowThreshold = 0x0B;
constexpr std::uint16_t kHighThreshold = 0x0C;
constexpr std::uint16_t kSampleRate = 0x0D;
constexpr std::uint16_t kControl = 0x0E;
constexpr std::uint16_t kCurrentTemperature = 0x11;
constexpr std::uint16_t kStartDelay = 0x12;  // two bytes, low first
constexpr std::uint16_t kStatus = 0x14;
constexpr std::uint16_t kStartMinutes = 0x15;
constexpr std::uint16_t kStartHours = 0x16;
constexpr std::uint16_t kStartDay = 0x17;
constexpr std::uint16_t kStartMonth = 0x18;
constexpr std::uint16_t kStartYear = 0x19;
constexpr std::uint16_t kCurrentSamples = 0x1A;  // three bytes, low first
constexpr std::uint16_t kTotalSamples = 0x1D;    // three bytes, low first

// Status bits.
constexpr std::uint8_t kStatusTr = 0x80;
constexpr std::uint8_t kStatusMclr = 0x40;
constexpr std::uint8_t kStatusMip = 0x20;
constexpr std::uint8_t kStatusSip = 0x10;
constexpr std::uint8_t kStatusLobat = 0x08;
constexpr std::uint8_t kStatusTlf = 0x04;
constexpr std::uint8_t kStatusThf = 0x02;
constexpr std::uint8_t kStatusAlmf = 0x01;

// Page 2: the description.
constexpr std::uint16_t kDescription = 0x0040;
constexpr int kDescriptionLength = 32;

constexpr std::uint16_t kSerialNumber = 0x0200;
constexpr int kSerialLength = 10;  // eight meaningful bytes and two more

// Alarm records: four bytes each, start (three bytes, low first, in samples
// since the recording start) then duration in samples. The first twelve are
// low-temperature alarms, the next twelve high-temperature ones.
constexpr std::uint16_t kAlarmRecords = 0x0220;
constexpr int kAlarmRecordsPerKind = 12;

// Histogram: 64 counts of two bytes, low first; bin k counts codes 4k..4k+3.
constexpr std::uint16_t kHistogram = 0x0800;
constexpr int kHistogramBins = 64;

// Temperature log: one code per sample, oldest first.
constexpr std::uint16_t kLog = 0x1000;
constexpr int kLogSamples = 2048;

// A read command answers one block of memory plus a two-byte sum.
constexpr int kBlockSize = 32;
constexpr int kAnswerSize = kBlockSize + 2;

struct AlarmRun {
  int start;   // sample index
  int length;  // samples
};

// Runs of consecutive samples for which `inAlarm(code)` holds, in order.
template <class Predicate>
std::vector<AlarmRun> FindAlarmRuns(const std::vector<std::uint8_t>& log, Predicate inAlarm) {
  std::vector<AlarmRun> runs;
  for (int n = 0; n < static_cast<int>(log.size()); ++n) {
    if (!inAlarm(log[n])) continue;
    if (!runs.empty() && runs.back().start + runs.back().length == n) {
      ++runs.back().length;
    } else {
      runs.push_back({n, 1});
    }
  }
  return runs;
}

}  // namespace sim
