#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/logger_store.h"
#include "app/temperature_unit.h"

namespace logger {

// Figures of the recorded part of the log: the first min(current sample
// count, 2048) samples, since the recorder never wrote the rest.
struct LogStatistics {
  std::int64_t recorded = 0;       // samples looked at
  std::int64_t minimumCode = 0;    // ValueCodes; meaningful when recorded > 0
  std::int64_t maximumCode = 0;
  std::int64_t codeSum = 0;        // for the mean
  std::int64_t lowAlarmCode = 0;   // page 0 thresholds
  std::int64_t highAlarmCode = 0;
  std::int64_t samplesAboveHigh = 0;  // strictly above the high threshold
  std::int64_t samplesBelowLow = 0;   // strictly below the low threshold
  std::int64_t sampleRateMinutes = 0;

  double MeanCelsius() const;
  std::int64_t MinutesAboveHigh() const { return samplesAboveHigh * sampleRateMinutes; }
  std::int64_t MinutesBelowLow() const { return samplesBelowLow * sampleRateMinutes; }
  bool operator==(const LogStatistics&) const = default;
};

// How many of the 2048 log samples were recorded: the current sample count
// of page 0, held to 0..2048.
std::int64_t RecordedSampleCount(const LoggerStore& store);

LogStatistics ComputeLogStatistics(const LoggerStore& store);

// Minutes as "d hh:mm": 150 is "0 02:30", 1500 is "1 01:00".
std::string DurationText(std::int64_t minutes);

// The statistics as report lines (quorvel-cli ... show stats), in the unit.
std::vector<std::string> StatisticsLines(const LogStatistics& stats, TemperatureUnit unit);

// One short line for the status line: range, mean and alarm times.
std::string StatisticsSummary(const LogStatistics& stats, TemperatureUnit unit);

}  // namespace logger
