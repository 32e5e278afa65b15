#include "app/log_statistics.h"

#include <algorithm>

#include "app/logger_decoding.h"
#include "runtime/conversions.h"
#include "runtime/text_format.h"

namespace logger {

namespace {

// A temperature code in the unit with one decimal and the locale's mark.
std::string Degrees(double celsius, TemperatureUnit unit) {
  return runtime::Format("%.1f", {FromCelsius(celsius, unit)});
}

std::string CodeDegrees(std::int64_t code, TemperatureUnit unit) { return Degrees(ValueCodeToCelsius(code), unit); }

std::string TwoDigits(std::int64_t value) {
  std::string text = std::to_string(value);
  if (text.size() < 2) text.insert(text.begin(), '0');
  return text;
}

}  // namespace

double LogStatistics::MeanCelsius() const {
  if (recorded <= 0) return 0.0;
  return ValueCodeToCelsius(0) + 0.5 * static_cast<double>(codeSum) / static_cast<double>(recorded);
}

std::int64_t RecordedSampleCount(const LoggerStore& store) {
  return std::clamp<std::int64_t>(CurrentSampleCount(store), 0, LoggerStore::kTemperatureLogSamples);
}

LogStatistics ComputeLogStatistics(const LoggerStore& store) {
  LogStatistics stats;
  stats.recorded = RecordedSampleCount(store);
  stats.lowAlarmCode = store.Page0(11);
  stats.highAlarmCode = store.Page0(12);
  stats.sampleRateMinutes = SampleRate(store);
  for (std::int64_t n = 0; n < stats.recorded; ++n) {
    std::int64_t code = store.At(LoggerStore::kTemperatureLogFirst + static_cast<int>(n));
    if (n == 0 || code < stats.minimumCode) stats.minimumCode = code;
    if (n == 0 || code > stats.maximumCode) stats.maximumCode = code;
    stats.codeSum += code;
    // Codes compare exactly; degrees would need rounding.
    if (code > stats.highAlarmCode) ++stats.samplesAboveHigh;
    if (code < stats.lowAlarmCode) ++stats.samplesBelowLow;
  }
  return stats;
}

std::string DurationText(std::int64_t minutes) {
  // A rate from a loaded file may be negative; the sign leads.
  std::string sign = minutes < 0 ? "-" : "";
  std::uint64_t m = minutes < 0 ? 0 - static_cast<std::uint64_t>(minutes) : static_cast<std::uint64_t>(minutes);
  auto days = static_cast<std::int64_t>(m / 1440);
  auto hours = static_cast<std::int64_t>(m % 1440 / 60);
  auto rest = static_cast<std::int64_t>(m % 60);
  return sign + std::to_string(days) + " " + TwoDigits(hours) + ":" + TwoDigits(rest);
}

std::vector<std::string> StatisticsLines(const LogStatistics& stats, TemperatureUnit unit) {
  const std::string symbol = UnitSymbol(unit);
  std::vector<std::string> lines = {"Statistics",
                                    "Recorded samples " + runtime::IntToStr(stats.recorded)};
  if (stats.recorded > 0) {
    lines.push_back("Minimum " + CodeDegrees(stats.minimumCode, unit) + " " + symbol);
    lines.push_back("Maximum " + CodeDegrees(stats.maximumCode, unit) + " " + symbol);
    lines.push_back("Mean " + Degrees(stats.MeanCelsius(), unit) + " " + symbol);
  }
  lines.push_back("Above high alarm " + CodeDegrees(stats.highAlarmCode, unit) + " " + symbol + ": " +
                  DurationText(stats.MinutesAboveHigh()));
  lines.push_back("Below low alarm " + CodeDegrees(stats.lowAlarmCode, unit) + " " + symbol + ": " +
                  DurationText(stats.MinutesBelowLow()));
  return lines;
}

std::string StatisticsSummary(const LogStatistics& stats, TemperatureUnit unit) {
  if (stats.recorded <= 0) return "No recorded samples";
  return CodeDegrees(stats.minimumCode, unit) + " to " + CodeDegrees(stats.maximumCode, unit) + " " +
         UnitSymbol(unit) + ", mean " + Degrees(stats.MeanCelsius(), unit) + ", above " +
         DurationText(stats.MinutesAboveHigh()) + ", below " + DurationText(stats.MinutesBelowLow());
}

}  // namespace logger
