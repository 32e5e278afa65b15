// The built-in recording: three weeks of a cold room, so that every report
// and chart has something believable to show without hardware.
#include <time.h>

#include <cstring>
#include <vector>

#include "runtime/rounding.h"
#include "sim/recorder_clock.h"
#include "sim/recorder_layout.h"
#include "sim/recorder_memory.h"

namespace sim {

namespace {

constexpr int kRateMinutes = 15;
constexpr std::uint8_t kLowCode = 80;   // 0.0 degrees
constexpr std::uint8_t kHighCode = 96;  // 8.0 degrees
constexpr int kSetPointTenths = 40;     // +4.0 degrees

// xorshift32: small, and the same numbers on every platform and library,
// which std::uniform_int_distribution does not promise.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed) {}
  int Between(int low, int high) {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return low + static_cast<int>(state_ % static_cast<std::uint32_t>(high - low + 1));
  }

 private:
  std::uint32_t state_;
};

struct Excursion {
  int at;      // first sample affected
  int target;  // tenths of a degree at the excursion's height
};

// Door openings warm the room within half an hour and it cools down over
// two hours; the starts stay clear of the defrost slots.
constexpr Excursion kDoorOpenings[] = {{137, 108}, {421, 117}, {703, 95}, {966, 121},
                                       {1254, 102}, {1541, 114}, {1866, 99}};
constexpr int kDoorShape[] = {45, 100, 80, 60, 42, 28, 18, 10, 5};  // percent of the height

// The compressor overran twice and took the room below freezing.
constexpr Excursion kOvercooling[] = {{610, -14}, {1702, -9}};
constexpr int kOvercoolShape[] = {50, 100, 100, 70, 40, 15};

// Defrost every eight hours: the coil heater warms the air a little.
constexpr int kDefrostPeriod = 32;
constexpr int kDefrostOffset = 20;
constexpr int kDefrostTenths[] = {15, 25, 12, 5};

// Compressor cycling: the room drifts up while it rests, down while it runs.
constexpr int kCycleTenths[] = {-3, -1, 1, 3, 1, -1};

template <std::size_t N>
void AddShape(std::vector<int>& tenths, const Excursion& e, const int (&shape)[N]) {
  for (std::size_t k = 0; k < N; ++k) {
    std::size_t n = static_cast<std::size_t>(e.at) + k;
    if (n < tenths.size()) tenths[n] += (e.target - kSetPointTenths) * shape[k] / 100;
  }
}

std::vector<std::uint8_t> ColdRoomLog() {
  Noise noise(0x51C0FFEEu);
  std::vector<int> tenths(kLogSamples);
  for (int n = 0; n < kLogSamples; ++n) {
    tenths[n] = kSetPointTenths + kCycleTenths[n % 6] + noise.Between(-4, 4);
  }
  for (int start = kDefrostOffset; start < kLogSamples; start += kDefrostPeriod) {
    for (int k = 0; k < 4 && start + k < kLogSamples; ++k) tenths[start + k] += kDefrostTenths[k];
  }
  for (const Excursion& e : kDoorOpenings) AddShape(tenths, e, kDoorShape);
  for (const Excursion& e : kOvercooling) AddShape(tenths, e, kOvercoolShape);

  std::vector<std::uint8_t> codes(kLogSamples);
  for (int n = 0; n < kLogSamples; ++n) {
    // code = (degrees + 40) * 2
    std::int64_t code = runtime::RoundHalfEven((tenths[n] + 400) / 5.0);
    codes[n] = static_cast<std::uint8_t>(code < 0 ? 0 : code > 255 ? 255 : code);
  }
  return codes;
}

void PutLittleEndian(std::uint8_t* at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void StoreAlarmRecords(const std::vector<std::uint8_t>& log, std::uint8_t* memory) {
  auto store = [&](int firstRecord, auto inAlarm) {
    std::vector<AlarmRun> runs = FindAlarmRuns(log, inAlarm);
    for (std::size_t r = 0; r < runs.size() && r < kAlarmRecordsPerKind; ++r) {
      std::uint8_t* record = memory + kAlarmRecords + 4 * (firstRecord + r);
      PutLittleEndian(record, static_cast<std::uint32_t>(runs[r].start), 3);
      // The duration is one byte: a longer alarm shows as 255 samples.
      record[3] = static_cast<std::uint8_t>(runs[r].length > 255 ? 255 : runs[r].length);
    }
  };
  store(0, [](std::uint8_t code) { return code < kLowCode; });
  store(kAlarmRecordsPerKind, [](std::uint8_t code) { return code > kHighCode; });
}

}  // namespace

RecorderMemory RecorderMemory::Plausible(std::time_t clockStart) {
  RecorderMemory memory;
  std::uint8_t* m = memory.bytes_.data();

  std::vector<std::uint8_t> log = ColdRoomLog();
  std::memcpy(m + kLog, log.data(), log.size());

  std::uint32_t histogram[kHistogramBins] = {};
  for (std::uint8_t code : log) ++histogram[code / 4];
  for (int k = 0; k < kHistogramBins; ++k) PutLittleEndian(m + kHistogram + 2 * k, histogram[k], 2);

  StoreAlarmRecords(log, m);

  // The log filled up a couple of hours before now, started on a quarter hour.
  tm local{};
  ::localtime_r(&clockStart, &local);
  ClockTime now;
  now.year = local.tm_year + 1900;
  now.month = local.tm_mon + 1;
  now.day = local.tm_mday;
  now.hour = local.tm_hour;
  now.minute = local.tm_min;
  std::int64_t start = SecondsSince2000(now) - kLogSamples * kRateMinutes * 60 - (2 * 60 + 17) * 60;
  start -= ((start % 900) + 900) % 900;
  ClockTime begun = FromSecondsSince2000(start);
  m[kStartMinutes] = ToBcd(begun.minute);
  m[kStartHours] = ToBcd(begun.hour);
  m[kStartDay] = ToBcd(begun.day);
  m[kStartMonth] = ToBcd(begun.month);
  m[kStartYear] = ToBcd(begun.year % 100);

  m[kLowThreshold] = kLowCode;
  m[kHighThreshold] = kHighCode;
  m[kSampleRate] = kRateMinutes;
  m[kControl] = 0x00;  // started at once, as Setup leaves it for an immediate start
  m[kCurrentTemperature] = log.back();
  // Memory full, so the mission has ended; both temperature flags are up.
  m[kStatus] = kStatusTlf | kStatusThf;
  PutLittleEndian(m + kCurrentSamples, kLogSamples, 3);
  PutLittleEndian(m + kTotalSamples, kLogSamples, 3);

  const char description[] = "Cold room 3";
  std::memset(m + kDescription, ' ', kDescriptionLength);
  std::memcpy(m + kDescription, description, sizeof description - 1);

  // Eight bytes of serial number; the two after them are not part of it.
  const std::uint8_t serial[kSerialLength] = {'Q', 'V', '1', '0', '4', '2', '1', '7', 0x5A, 0xA5};
  std::memcpy(m + kSerialNumber, serial, sizeof serial);

  memory.StartClock(clockStart, MonotonicMs());
  return memory;
}

}  // namespace sim
