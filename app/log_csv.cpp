#include "app/log_csv.h"

#include <cerrno>
#include <cmath>

#include "app/data_files.h"
#include "app/log_statistics.h"
#include "app/logger_decoding.h"
#include "runtime/date_time.h"
#include "runtime/text_format.h"

namespace logger {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::string Digits(std::int64_t value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  return text;
}

// Floor division, so instants before 1970 fall on the day before.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::string OffsetText(int offsetSeconds) {
  int magnitude = offsetSeconds < 0 ? -offsetSeconds : offsetSeconds;
  std::string text(1, offsetSeconds < 0 ? '-' : '+');
  text += Digits(magnitude / 3600, 2);
  text += ':';
  text += Digits(magnitude / 60 % 60, 2);
  // Zones kept local mean time before 1900 or so, off by seconds.
  if (magnitude % 60 != 0) {
    text += ':';
    text += Digits(magnitude % 60, 2);
  }
  return text;
}

}  // namespace

CsvDialect DialectFor(const CsvOptions& options, char localeDecimalMark) {
  CsvDialect dialect;
  if (!options.excel) return dialect;
  dialect.byteOrderMark = true;
  dialect.lineEnd = "\r\n";
  if (localeDecimalMark == ',') {
    dialect.separator = ';';
    dialect.decimalMark = ',';
  }
  return dialect;
}

std::string CsvField(const std::string& text, char separator) {
  if (text.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string IsoTimeText(std::int64_t instant, int offsetSeconds, bool utc) {
  std::int64_t local = utc ? instant : instant + offsetSeconds;
  std::int64_t days = FloorDiv(local, kSecondsPerDay);
  std::int64_t second = local - days * kSecondsPerDay;
  runtime::DateFields date = runtime::DateFromUnixDays(days);
  std::string text = Digits(date.year, 4) + "-" + Digits(date.month, 2) + "-" + Digits(date.day, 2) + "T" +
                     Digits(second / 3600, 2) + ":" + Digits(second / 60 % 60, 2) + ":" + Digits(second % 60, 2);
  return text + (utc ? "Z" : OffsetText(offsetSeconds));
}

std::string TemperatureLogCsv(const LoggerState& state, const CsvOptions& options, const platform::TimeZone& zone,
                              char localeDecimalMark) {
  const CsvDialect dialect = DialectFor(options, localeDecimalMark);
  runtime::FormatSettings numbers;
  numbers.DecimalSeparator = dialect.decimalMark;
  const std::string sep(1, dialect.separator);

  std::string text = dialect.byteOrderMark ? "\xEF\xBB\xBF" : "";
  text += "index" + sep + "time" + sep +
          (options.unit == TemperatureUnit::Fahrenheit ? "temperature_F" : "temperature_C") + dialect.lineEnd;

  // The start as the recorder's clock read it, then elapsed time in whole
  // seconds: the same minutes the listing's running sum lands on.
  runtime::DateFields date;
  runtime::TimeFields time;
  runtime::DecodeDateTime(state.LogStartTime, date, time);
  const std::int64_t start = zone.LocalToInstant(date.year, date.month, date.day, time.hour, time.minute, time.second);
  const auto step = static_cast<std::int64_t>(std::llround(state.SampleStep * kSecondsPerDay));

  std::int64_t rows = LoggerStore::kTemperatureLogSamples;
  if (options.recordedOnly) rows = RecordedSampleCount(state.LoggerData);
  text.reserve(text.size() + static_cast<std::size_t>(rows) * 40);
  for (std::int64_t n = 0; n < rows; ++n) {
    const std::int64_t instant = start + n * step;
    const int offset = options.utc ? 0 : zone.OffsetAt(instant);
    const std::int32_t code = state.LoggerData.At(LoggerStore::kTemperatureLogFirst + static_cast<int>(n));
    const double degrees = FromCelsius(ValueCodeToCelsius(code), options.unit);
    text += std::to_string(n) + sep + CsvField(IsoTimeText(instant, offset, options.utc), dialect.separator) + sep +
            CsvField(runtime::Format("%.1f", {degrees}, numbers), dialect.separator) + dialect.lineEnd;
  }
  return text;
}

void ExportTemperatureLogCsv(const LoggerState& state, int currentYear, const CsvOptions& options,
                             const platform::TimeZone& zone, platform::FileSystem& files, const std::string& path) {
  // The times come from page 0 as the listing's do; deriving them on a copy
  // leaves the window's state alone.
  LoggerState derived = state;
  DeriveLogTimes(derived, currentYear);
  std::string text = TemperatureLogCsv(derived, options, zone, runtime::CurrentFormatSettings().DecimalSeparator);
  platform::IoError result = files.WriteFileAtomically(path, text);
  if (result.Ok()) return;
  std::string reason = result.systemError == EISDIR ? "it is a folder; name a file in it" : FileErrorMessage(result);
  throw FileError("Cannot write the CSV file " + path + ": " + reason);
}

}  // namespace logger
