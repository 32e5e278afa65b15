// Getting the data out: the log as CSV (times across a change of the clocks,
// UTC, spreadsheet dialect, recorded samples only), the log's statistics,
// and every figure the user sees in Fahrenheit.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/data_files.h"
#include "app/log_csv.h"
#include "app/log_statistics.h"
#include "app/logger_decoding.h"
#include "app/logger_reports.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/system_time_zone.h"
#include "runtime/convert_error.h"
#include "runtime/format_settings.h"
#include "tests/support/support_fakes.h"

namespace {

namespace fs = std::filesystem;
using logger::TemperatureUnit;

std::vector<std::string> SplitLines(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t at = text.find(end, pos);
    if (at == std::string::npos) at = text.size();
    lines.push_back(text.substr(pos, at - pos));
    pos = at + end.size();
  }
  return lines;
}

// The computer's zone for one test, put back afterwards.
class ZoneScope {
 public:
  explicit ZoneScope(const char* zone) {
    if (const char* old = ::getenv("TZ")) saved_ = old;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~ZoneScope() {
    if (saved_) ::setenv("TZ", saved_->c_str(), 1);
    else ::unsetenv("TZ");
    ::tzset();
  }

 private:
  std::optional<std::string> saved_;
};

class LogExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime::SetFormatSettings(runtime::FormatSettings{});
    clock.now.year = 2026;
    logger::FillDayNames(state);
  }
  void TearDown() override { runtime::SetFormatSettings(runtime::FormatSettings{}); }

  void Page0(int offset, int value) { state.LoggerData.Set(1 + offset, value); }
  // A recording started at the given local time (BCD bytes as the recorder
  // keeps them), `rate` minutes apart, `count` samples recorded so far.
  void Recording(int year, int month, int day, int hour, int minute, int rate, int count) {
    auto bcd = [](int v) { return (v / 10) * 16 + v % 10; };
    Page0(25, bcd(year % 100));
    Page0(24, bcd(month));
    Page0(23, bcd(day));
    Page0(22, bcd(hour));
    Page0(21, bcd(minute));
    Page0(13, rate);
    Page0(26, count & 0xFF);
    Page0(27, (count >> 8) & 0xFF);
    Page0(28, (count >> 16) & 0xFF);
    for (int n = 0; n < 2048; ++n) state.LoggerData.Set(297 + n, 80 + (n % 23));  // 0.0 .. 11.0 degrees
  }
  std::vector<std::string> Csv(const logger::CsvOptions& options = {}, char localeDecimal = '.') {
    reports.ShowPage0();  // derives the start time and step, as every command does first
    return SplitLines(logger::TemperatureLogCsv(state, options, zone, localeDecimal), "\n");
  }
  std::vector<std::string> Listing() {
    reports.ShowTemperature();
    return std::vector<std::string>(pane.Lines().begin() + 2, pane.Lines().end());
  }

  logger::LoggerState state;
  logger::LineListPane pane;
  logger::ChartSeriesMemory chart;
  testsupport::FakeClock clock;
  logger::LoggerReports reports{state, pane, chart, clock};
  platform::SystemTimeZone zone;
};

TEST_F(LogExportTest, RowsFollowTheListingFromItsFirstToItsLastSample) {
  ZoneScope berlin("Europe/Berlin");
  Recording(2000, 12, 25, 14, 30, 15, 100);
  state.LoggerData.Set(297 + 2047, 255);  // 87.5, the highest code
  std::vector<std::string> csv = Csv();
  std::vector<std::string> listing = Listing();
  ASSERT_EQ(listing.size(), 2048u);
  ASSERT_EQ(csv.size(), 1u + listing.size());
  EXPECT_EQ(csv[0], "index,time,temperature_C");
  EXPECT_EQ(listing[0], "25/12/00 14:30 \t   0.0");
  EXPECT_EQ(csv[1], "0,2000-12-25T14:30:00+01:00,0.0");
  EXPECT_EQ(csv[2], "1,2000-12-25T14:45:00+01:00,0.5");
  // 2047 steps of 15 minutes: 21 days, 7 h 45 min later, still winter time.
  EXPECT_EQ(listing[2047], "15/01/01 22:15 \t  87.5");
  EXPECT_EQ(csv[2048], "2047,2001-01-15T22:15:00+01:00,87.5");
}

TEST_F(LogExportTest, AcrossAChangeOfTheClocksRowsKeepElapsedTime) {
  ZoneScope berlin("Europe/Berlin");
  // Spring: 02:00 became 03:00 on 31 March 2024.
  Recording(2024, 3, 31, 0, 30, 15, 2048);
  std::vector<std::string> csv = Csv();
  std::vector<std::string> listing = Listing();
  EXPECT_EQ(csv[1].substr(0, 27), "0,2024-03-31T00:30:00+01:00");
  EXPECT_EQ(csv[6].substr(0, 27), "5,2024-03-31T01:45:00+01:00");
  // Fifteen minutes later the clocks say 03:00; the listing's wall clock
  // (the recorder's) still says 02:00.
  EXPECT_EQ(csv[7].substr(0, 27), "6,2024-03-31T03:00:00+02:00");
  EXPECT_EQ(listing[6].substr(0, 14), "31/03/24 02:00");
  EXPECT_EQ(csv[2048].substr(0, 30), "2047,2024-04-21T09:15:00+02:00");
  EXPECT_EQ(listing[2047].substr(0, 14), "21/04/24 08:15");

  // Autumn: 03:00 became 02:00 on 27 October 2024; 02:00 to 02:45 come twice.
  Recording(2024, 10, 27, 1, 30, 15, 2048);
  csv = Csv();
  EXPECT_EQ(csv[3].substr(0, 27), "2,2024-10-27T02:00:00+02:00");
  EXPECT_EQ(csv[6].substr(0, 27), "5,2024-10-27T02:45:00+02:00");
  EXPECT_EQ(csv[7].substr(0, 27), "6,2024-10-27T02:00:00+01:00");
  EXPECT_EQ(Listing()[6].substr(0, 14), "27/10/24 03:00");
}

TEST(SystemTimeZone, DoubledAndSkippedWallClockTimes) {
  ZoneScope berlin("Europe/Berlin");
  platform::SystemTimeZone zone;
  // 02:30 on 27 October 2024 happened twice: the first, in summer time.
  std::int64_t doubled = zone.LocalToInstant(2024, 10, 27, 2, 30, 0);
  EXPECT_EQ(logger::IsoTimeText(doubled, zone.OffsetAt(doubled), false), "2024-10-27T02:30:00+02:00");
  // 02:30 on 31 March 2024 never happened: read in winter time, that is 03:30 summer time.
  std::int64_t skipped = zone.LocalToInstant(2024, 3, 31, 2, 30, 0);
  EXPECT_EQ(logger::IsoTimeText(skipped, 0, true), "2024-03-31T01:30:00Z");
  EXPECT_EQ(logger::IsoTimeText(skipped, zone.OffsetAt(skipped), false), "2024-03-31T03:30:00+02:00");
}

TEST(IsoTimeText, OffsetsAndDaysBefore1970) {
  EXPECT_EQ(logger::IsoTimeText(0, 0, true), "1970-01-01T00:00:00Z");
  EXPECT_EQ(logger::IsoTimeText(-1, 0, true), "1969-12-31T23:59:59Z");
  EXPECT_EQ(logger::IsoTimeText(0, -(3 * 3600 + 30 * 60), false), "1969-12-31T20:30:00-03:30");
  EXPECT_EQ(logger::IsoTimeText(0, 12 * 3600 + 45 * 60, false), "1970-01-01T12:45:00+12:45");
  // Local mean time, as zones kept it before their standard offsets.
  const std::int64_t dayZero = -25569LL * 86400;  // 30 December 1899, 00:00 UTC
  EXPECT_EQ(logger::IsoTimeText(dayZero - 3208, 3208, false), "1899-12-30T00:00:00+00:53:28");
}

TEST_F(LogExportTest, UtcRecordedOnlyAndTheSpreadsheetDialect) {
  ZoneScope chatham("Pacific/Chatham");  // +13:45 in December
  Recording(2000, 12, 25, 14, 30, 90, 3);
  logger::CsvOptions utc;
  utc.utc = true;
  utc.recordedOnly = true;
  std::vector<std::string> csv = Csv(utc);
  ASSERT_EQ(csv.size(), 4u);
  EXPECT_EQ(csv[1], "0,2000-12-25T00:45:00Z,0.0");
  EXPECT_EQ(csv[3], "2,2000-12-25T03:45:00Z,1.0");

  // A count beyond the log means the whole log; a negative one (loaded data) none.
  Page0(28, 0x7F);
  EXPECT_EQ(Csv(utc).size(), 2049u);
  Page0(28, -1);
  EXPECT_EQ(Csv(utc).size(), 1u);

  logger::CsvOptions excel;
  excel.excel = true;
  excel.unit = TemperatureUnit::Fahrenheit;
  reports.ShowPage0();
  std::string comma = logger::TemperatureLogCsv(state, excel, zone, ',');
  EXPECT_EQ(comma.substr(0, 3), "\xEF\xBB\xBF");
  std::vector<std::string> rows = SplitLines(comma.substr(3), "\r\n");
  ASSERT_EQ(rows.size(), 2049u);
  EXPECT_EQ(rows[0], "index;time;temperature_F");
  EXPECT_EQ(rows[2], "1;2000-12-25T16:00:00+13:45;32,9");
  // A locale with a decimal point keeps "," and "." even for a spreadsheet.
  std::string point = logger::TemperatureLogCsv(state, excel, zone, '.');
  EXPECT_EQ(SplitLines(point.substr(3), "\r\n")[2], "1,2000-12-25T16:00:00+13:45,32.9");
  // Without --excel the locale does not matter.
  EXPECT_EQ(SplitLines(logger::TemperatureLogCsv(state, {}, zone, ','), "\n")[2], "1,2000-12-25T16:00:00+13:45,0.5");
}

TEST(CsvField, QuotedOnlyWhenNeeded) {
  EXPECT_EQ(logger::CsvField("2000-12-25T14:30:00+01:00", ','), "2000-12-25T14:30:00+01:00");
  EXPECT_EQ(logger::CsvField("3,5", ';'), "3,5");
  EXPECT_EQ(logger::CsvField("3,5", ','), "\"3,5\"");
  EXPECT_EQ(logger::CsvField("say \"hi\"", ','), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(logger::CsvField("two\nlines", ','), "\"two\nlines\"");
}

TEST_F(LogExportTest, ExportRefusesWhatSaveRefusesAndKeepsTheOldFile) {
  ZoneScope utc("UTC");
  fs::path dir = fs::path(::testing::TempDir()) / ("quorvel-csv-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  platform::PosixFileSystem files;
  const std::string path = (dir / "log, \"cold\" room.csv").string();
  Recording(2000, 12, 25, 14, 30, 15, 10);
  logger::ExportTemperatureLogCsv(state, 2026, {}, zone, files, path);
  std::stringstream written;
  written << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(SplitLines(written.str(), "\n").size(), 2049u);

  // A start month that does not exist stops it, as it stops Save.
  Page0(24, 0x13);
  EXPECT_THROW(logger::ExportTemperatureLogCsv(state, 2026, {}, zone, files, path), runtime::ConvertError);
  std::stringstream after;
  after << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(after.str(), written.str());

  Page0(24, 0x12);
  try {
    logger::ExportTemperatureLogCsv(state, 2026, {}, zone, files, dir.string());
    ADD_FAILURE() << "a folder was written";
  } catch (const logger::FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot write the CSV file " + dir.string() + ": it is a folder; name a file in it");
  }
  fs::remove_all(dir);
}

// ---------------------------------------------------------------------------
// Statistics

TEST_F(LogExportTest, StatisticsOfTheRecordedSamplesOnly) {
  Recording(2000, 12, 25, 14, 30, 15, 6);
  Page0(11, 82);   // low alarm 1.0
  Page0(12, 88);   // high alarm 4.0
  const int codes[] = {80, 82, 90, 89, 88, 81};  // 0.0 1.0 5.0 4.5 4.0 0.5
  for (int n = 0; n < 6; ++n) state.LoggerData.Set(297 + n, codes[n]);
  state.LoggerData.Set(297 + 6, 255);  // not recorded: no part of it
  logger::LogStatistics stats = logger::ComputeLogStatistics(state.LoggerData);
  EXPECT_EQ(stats.recorded, 6);
  EXPECT_EQ(stats.samplesAboveHigh, 2);  // equal to the threshold is not above it
  EXPECT_EQ(stats.samplesBelowLow, 2);
  const std::vector<std::string> expected = {
      "Statistics",      "Recorded samples 6",  "Minimum 0.0 \u00B0C", "Maximum 5.0 \u00B0C",
      "Mean 2.5 \u00B0C", "Above high alarm 4.0 \u00B0C: 0 00:30", "Below low alarm 1.0 \u00B0C: 0 00:30"};
  EXPECT_EQ(logger::StatisticsLines(stats, TemperatureUnit::Celsius), expected);
  EXPECT_EQ(logger::StatisticsSummary(stats, TemperatureUnit::Fahrenheit),
            "32.0 to 41.0 \u00B0F, mean 36.5, above 0 00:30, below 0 00:30");

  Page0(26, 0);
  stats = logger::ComputeLogStatistics(state.LoggerData);
  EXPECT_EQ(logger::StatisticsSummary(stats, TemperatureUnit::Celsius), "No recorded samples");
  EXPECT_EQ(logger::StatisticsLines(stats, TemperatureUnit::Celsius).size(), 4u);
}

TEST(DurationText, DaysHoursAndMinutes) {
  EXPECT_EQ(logger::DurationText(0), "0 00:00");
  EXPECT_EQ(logger::DurationText(150), "0 02:30");
  EXPECT_EQ(logger::DurationText(1439), "0 23:59");
  EXPECT_EQ(logger::DurationText(1500), "1 01:00");
  EXPECT_EQ(logger::DurationText(2048 * 255), "362 16:00");
  EXPECT_EQ(logger::DurationText(-90), "-0 01:30");
}

// ---------------------------------------------------------------------------
// Fahrenheit

TEST_F(LogExportTest, EveryFigureShownInFahrenheit) {
  ZoneScope utc("UTC");
  // Codes of -40.0, 0.0, 37.5 and 84.5 degrees Celsius.
  const int codes[] = {0, 80, 155, 249};
  const char* const fahrenheit[] = {"-40.0", "32.0", "99.5", "184.1"};
  const char* const fiveWide[] = {"-40.0", " 32.0", " 99.5", "184.1"};
  reports.SetUnit(TemperatureUnit::Fahrenheit);
  Recording(2000, 12, 25, 14, 30, 15, 4);
  for (int i = 0; i < 4; ++i) {
    Page0(11, codes[i]);
    Page0(12, codes[i]);
    Page0(17, codes[i]);
    state.LoggerData.Set(297 + i, codes[i]);
    reports.ShowPage0();
    EXPECT_EQ(pane.Lines()[5], std::string("Low temp alarm  ") + fiveWide[i]);
    EXPECT_EQ(pane.Lines()[6], std::string("High temp alarm ") + fiveWide[i]);
    EXPECT_EQ(pane.Lines()[9], std::string("Current temp ") + fiveWide[i]);
  }
  reports.ShowTemperature();
  EXPECT_EQ(pane.Lines()[1], "Date and Time\t  \u00B0F");
  EXPECT_EQ(pane.Lines()[2], "25/12/00 14:30 \t -40.0");
  EXPECT_EQ(pane.Lines()[4], "25/12/00 15:00 \t  99.5");
  EXPECT_EQ(pane.Lines()[5], "25/12/00 15:15 \t 184.1");
  EXPECT_DOUBLE_EQ(chart.temperature[1].y, 32.0);  // the chart's left axis follows
  EXPECT_DOUBLE_EQ(chart.temperature[2].y, 99.5);

  logger::CsvOptions csv;
  csv.unit = TemperatureUnit::Fahrenheit;
  std::vector<std::string> rows = SplitLines(logger::TemperatureLogCsv(state, csv, zone, '.'), "\n");
  EXPECT_EQ(rows[0], "index,time,temperature_F");
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rows[1 + i].substr(rows[1 + i].rfind(',') + 1), fahrenheit[i]);
  }
  std::vector<std::string> stats = logger::StatisticsLines(logger::ComputeLogStatistics(state.LoggerData),
                                                           TemperatureUnit::Fahrenheit);
  EXPECT_EQ(stats[2], "Minimum -40.0 \u00B0F");
  EXPECT_EQ(stats[3], "Maximum 184.1 \u00B0F");
}

TEST_F(LogExportTest, HistogramBandsInFahrenheit) {
  EXPECT_EQ(logger::LoggerReports::HistogramLabel(0, TemperatureUnit::Fahrenheit), " -40 to -37.3");
  EXPECT_EQ(logger::LoggerReports::HistogramLabel(1, TemperatureUnit::Fahrenheit), "-36.4 to -33.7");
  EXPECT_EQ(logger::LoggerReports::HistogramLabel(5, TemperatureUnit::Fahrenheit), " -22 to -19.3");
  EXPECT_EQ(logger::LoggerReports::HistogramLabel(20, TemperatureUnit::Fahrenheit), "  32 to 34.7");
  EXPECT_EQ(logger::LoggerReports::HistogramLabel(21, TemperatureUnit::Fahrenheit), "35.6 to 38.3");
  EXPECT_EQ(logger::LoggerReports::HistogramLabel(63, TemperatureUnit::Fahrenheit), "186.8 to 189.5");
  reports.SetUnit(TemperatureUnit::Fahrenheit);
  reports.ShowHistogram();
  EXPECT_EQ(pane.Lines()[2], "\" -40 to -37.3\"\t0");
  EXPECT_EQ(chart.histogram[0].label, " -40 to -37.3");
  // Celsius stays as it always was.
  EXPECT_EQ(logger::LoggerReports::HistogramLabel(0), " -40 to -38.5");
}

TEST_F(LogExportTest, TheStatusSummaryFollowsTheChartAndTheUnit) {
  std::vector<std::string> told;
  reports.OnSummary = [&](const std::string& s) { told.push_back(s); };
  Recording(2000, 12, 25, 14, 30, 15, 2);
  Page0(12, 255);
  reports.ShowTemperature();
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back(), "0.0 to 0.5 \u00B0C, mean 0.3, above 0 00:00, below 0 00:00");
  reports.ShowHistogram();
  EXPECT_EQ(told.back(), "");
  reports.ShowTemperature();
  reports.ShowPage0();  // the chart still shows the line
  reports.SetUnit(TemperatureUnit::Fahrenheit);
  reports.ShowAgain();
  EXPECT_EQ(told.back(), "32.0 to 32.9 \u00B0F, mean 32.5, above 0 00:00, below 0 00:00");
  EXPECT_EQ(pane.Lines()[0], "Page Zero - Setup RAM");  // the pane's report drawn again
  EXPECT_DOUBLE_EQ(chart.temperature[1].y, 32.9);
  // A new page 0 (a download's first step) no longer fits the line shown.
  Page0(26, 3);
  reports.ShowPage0();
  EXPECT_EQ(told.back(), "");
  reports.ShowTemperature();
  EXPECT_EQ(told.back(), "32.0 to 33.8 \u00B0F, mean 32.9, above 0 00:00, below 0 00:00");
}

}  // namespace
