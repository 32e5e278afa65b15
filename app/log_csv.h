#pragma once

#include <cstdint>
#include <string>

#include "app/logger_store.h"
#include "app/temperature_unit.h"
#include "platform/file_system.h"
#include "platform/time_zone.h"

namespace logger {

// How the temperature log is written as a spreadsheet file.
struct CsvOptions {
  TemperatureUnit unit = TemperatureUnit::Celsius;
  bool utc = false;           // times in UTC with "Z" instead of local with their offset
  bool excel = false;         // what a spreadsheet on this locale opens by double-click
  bool recordedOnly = false;  // only the samples the recorder wrote
};

// The characters a file is written with: RFC 4180 (UTF-8, ",", ".", LF, no
// byte order mark) unless `excel`, which adds the mark and CR LF and, where
// the locale's decimal mark is ",", takes ";" between fields and "," in numbers.
struct CsvDialect {
  char separator = ',';
  char decimalMark = '.';
  bool byteOrderMark = false;
  const char* lineEnd = "\n";
};
CsvDialect DialectFor(const CsvOptions& options, char localeDecimalMark);

// A field as RFC 4180 wants it: quoted (inner quotes doubled) only when it
// holds the separator, a quote, CR or LF.
std::string CsvField(const std::string& text, char separator);

// An instant as ISO 8601: local time with the given offset
// ("2000-12-25T14:30:00+01:00"), or UTC when `utc` ("2000-12-25T13:30:00Z").
std::string IsoTimeText(std::int64_t instant, int offsetSeconds, bool utc);

// The temperature log as CSV: "index,time,temperature_C" (or _F), then a row
// for each of the listing's 2048 samples (the recorded ones only when asked).
// Row n is the instant of LogStartTime, a local time as the recorder was set,
// plus n sample steps of elapsed time; across a change of the clocks its
// local time therefore differs from the listing's wall-clock time by the
// change. `state` must hold the derived start time and step.
std::string TemperatureLogCsv(const LoggerState& state, const CsvOptions& options, const platform::TimeZone& zone,
                              char localeDecimalMark);

// File, Export Log as CSV: derives the log's times from page 0 afresh (a
// page 0 that Save would refuse throws the same error) and replaces `path`
// as one step, so a failure leaves an existing file as it was. Throws
// FileError naming the file when it cannot be written.
void ExportTemperatureLogCsv(const LoggerState& state, int currentYear, const CsvOptions& options,
                             const platform::TimeZone& zone, platform::FileSystem& files, const std::string& path);

}  // namespace logger
