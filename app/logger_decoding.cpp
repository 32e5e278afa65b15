#include "app/logger_decoding.h"

#include "runtime/conversions.h"
#include "runtime/convert_error.h"
#include "runtime/date_time.h"
#include "runtime/rounding.h"

namespace logger {

int BcdDecode(std::int32_t entry) { return runtime::StrToInt(runtime::IntToHex(entry, 2)); }

std::uint8_t ToBcd(int value) { return static_cast<std::uint8_t>((value / 10) * 16 + value % 10); }

double ValueCodeToCelsius(std::int64_t code) { return static_cast<double>(code) * 0.5 - 40.0; }

std::int64_t CelsiusToValueCode(double celsius) { return runtime::RoundHalfEven((celsius + 40.0) * 2.0); }

std::int64_t StartDelayMinutes(const LoggerStore& store) {
  return std::int64_t{store.Page0(19)} * 256 + store.Page0(18);
}

std::int64_t CurrentSampleCount(const LoggerStore& store) {
  return std::int64_t{store.Page0(28)} * 65536 + std::int64_t{store.Page0(27)} * 256 + store.Page0(26);
}

std::int64_t TotalSampleCount(const LoggerStore& store) {
  return std::int64_t{store.Page0(31)} * 65536 + std::int64_t{store.Page0(30)} * 256 + store.Page0(29);
}

std::int64_t SampleRate(const LoggerStore& store) { return store.Page0(13); }

AlarmRecord AlarmRecordAt(const LoggerStore& store, int record) {
  int first = LoggerStore::kAlarmRecordsFirst + 4 * record;
  AlarmRecord r;
  r.startSamples =
      std::int64_t{store.At(first + 2)} * 65536 + std::int64_t{store.At(first + 1)} * 256 + store.At(first);
  r.durationSamples = store.At(first + 3);
  return r;
}

std::int64_t HistogramCount(const LoggerStore& store, int bin) {
  int low = LoggerStore::kHistogramFirst + 2 * bin;
  return std::int64_t{store.At(low)} + 256 * std::int64_t{store.At(low + 1)};
}

void DeriveLogTimes(LoggerState& state, int currentYear) {
  const LoggerStore& store = state.LoggerData;
  std::int64_t rate = SampleRate(store);
  // Hours above 23 (only possible with loaded data) fail like any bad time.
  auto hours = rate / 60;
  auto minutes = rate % 60;
  if (hours > 23 || hours < 0 || minutes < 0) throw runtime::ConvertError("Invalid argument to time encode");
  state.SampleStep = runtime::EncodeTime(static_cast<int>(hours), static_cast<int>(minutes), 0, 0);

  int year = BcdDecode(store.Page0(25));
  int month = BcdDecode(store.Page0(24));
  int day = BcdDecode(store.Page0(23));
  if (day == 0) return;  // no recording start: the previous start time stays
  int century = currentYear / 100;
  runtime::DateTime date = runtime::EncodeDate(century * 100 + year, month, day);
  int hour = BcdDecode(store.Page0(22));
  int minute = BcdDecode(store.Page0(21));
  state.LogStartTime = date + runtime::EncodeTime(hour, minute, 0, 0);
}

std::string BitString(std::int64_t value) {
  std::string bits(8, '0');
  for (int b = 0; b < 8; ++b) {
    if ((value >> (7 - b)) & 1) bits[static_cast<std::size_t>(b)] = '1';
  }
  return bits;
}

}  // namespace logger
