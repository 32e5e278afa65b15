#include "app/logger_reports.h"

#include <cmath>

#include "app/log_statistics.h"
#include "app/logger_decoding.h"
#include "runtime/conversions.h"
#include "runtime/date_time.h"
#include "runtime/text_format.h"
#include "runtime/windows1252.h"

namespace logger {

namespace {

using runtime::IntToHex;
using runtime::IntToStr;

__extension__ typedef __int128 Wide;

// Products of two store-derived values can pass 64 bits with loaded data.
std::string WideToStr(Wide v) {
  if (v == 0) return "0";
  bool negative = v < 0;
  std::string digits;
  while (v != 0) {
    int d = static_cast<int>(v % 10);
    digits.insert(digits.begin(), static_cast<char>('0' + (d < 0 ? -d : d)));
    v /= 10;
  }
  return negative ? "-" + digits : digits;
}

std::string Degrees(const char* pattern, std::int32_t code, TemperatureUnit unit) {
  return runtime::Format(pattern, {FromCelsius(ValueCodeToCelsius(code), unit)});
}

}  // namespace

LoggerReports::LoggerReports(LoggerState& state, ReportPane& pane, ChartDisplay& chart,
                             const platform::Clock& clock)
    : state_(state), pane_(pane), chart_(chart), clock_(clock) {}

std::string LoggerReports::SampleTimeText(double dateTime) { return runtime::FormatDateTime("dd/mm/yy hh:mm", dateTime); }

std::string LoggerReports::TemperatureLine(double dateTime, double degrees) {
  return SampleTimeText(dateTime) + " \t" + runtime::Format("%6.1f", {degrees});
}

std::string LoggerReports::HistogramLabel(int bin, TemperatureUnit unit) {
  int t = -40 + 2 * bin;
  double low = FromCelsius(t, unit);
  // Every bound is a whole number of tenths; whole degrees keep the integer
  // form of the Celsius labels.
  auto tenths = static_cast<std::int64_t>(std::llround(low * 10));
  std::string from = tenths % 10 == 0 ? runtime::Format("%4.1d", {tenths / 10}) : runtime::Format("%4.1f", {low});
  return from + " to " + runtime::FormatFixed(FromCelsius(t + 1.5, unit), 1);
}

std::string LoggerReports::DescriptionCharacter(std::int32_t entry) {
  auto byte = static_cast<unsigned char>(entry & 0xFF);
  if (!runtime::IsPrintableWindows1252(byte)) return ".";
  return runtime::Windows1252ToUtf8(std::string(1, static_cast<char>(byte)));
}

void LoggerReports::ShowPage0() {
  const LoggerStore& s = state_.LoggerData;
  auto H = [&](int offset) { return IntToHex(s.Page0(offset), 2); };
  std::int32_t dayIndex = s.Page0(3);
  // Only 0..7 name a day; anything else a data file may hold reads as such.
  std::string dayName = dayIndex >= 0 && dayIndex <= 7 ? state_.DayNames[static_cast<std::size_t>(dayIndex)] : "invalid";

  pane_.Clear();
  pane_.AddLine("Page Zero - Setup RAM");
  pane_.AddLine("Date " + H(4) + "/" + H(5) + "/" + H(6));
  pane_.AddLine("Day  " + H(3) + " " + dayName);
  pane_.AddLine("Time " + H(2) + ":" + H(1) + ":" + H(0));
  pane_.AddLine("Alarm day " + H(10) + " " + H(9) + ":" + H(8) + ":" + H(7));
  paneReport_ = Report::Page0;
  pane_.AddLine(Degrees("Low temp alarm  %5.1f", s.Page0(11), unit_));
  pane_.AddLine(Degrees("High temp alarm %5.1f", s.Page0(12), unit_));
  pane_.AddLine("Sample rate (mins) " + IntToStr(SampleRate(s)));
  pane_.AddLine("Control " + BitString(s.Page0(14)));
  pane_.AddLine(Degrees("Current temp %5.1f", s.Page0(17), unit_));
  pane_.AddLine("Start Delay (mins) " + IntToStr(StartDelayMinutes(s)));
  pane_.AddLine("TR MCLR MIP SIP LOBAT TLF THF ALMF");
  pane_.AddLine("Status " + BitString(s.Page0(20)));
  pane_.AddLine("Start time " + H(23) + "/" + H(24) + "/" + H(25) + " " + H(22) + ":" + H(21));
  pane_.AddLine("Current sample count " + IntToStr(CurrentSampleCount(s)));
  pane_.AddLine("Total sample count " + IntToStr(TotalSampleCount(s)));
  // Page 0 holds the count and thresholds the statistics depend on.
  ShowSummary();
  DeriveLogTimes(state_, clock_.Now().year);
}

void LoggerReports::ShowPage2() {
  const LoggerStore& s = state_.LoggerData;
  pane_.Clear();
  paneReport_ = Report::Page2;
  pane_.AddLine("Page Two - User RAM");
  for (int n = LoggerStore::kPage2First; n < LoggerStore::kPage2First + 32; n += 2) {
    pane_.AddLine(IntToStr(n) + " " + IntToHex(s.At(n), 2) + " " + IntToHex(s.At(n + 1), 2) + " " +
                  DescriptionCharacter(s.At(n)) + " " + DescriptionCharacter(s.At(n + 1)));
  }
}

void LoggerReports::ShowSerialNumber() {
  const LoggerStore& s = state_.LoggerData;
  pane_.Clear();
  paneReport_ = Report::SerialNumber;
  pane_.AddLine("Serial number");
  for (int n = LoggerStore::kSerialNumberFirst; n < LoggerStore::kSerialNumberFirst + 8; ++n) {
    pane_.AddLine(IntToStr(n) + "\t" + IntToStr(s.At(n)));
  }
}

void LoggerReports::ShowAlarms() {
  const LoggerStore& s = state_.LoggerData;
  pane_.Clear();
  paneReport_ = Report::Alarms;
  pane_.AddLine("\tCount\tDuration");
  pane_.AddLine("Start Date/Time\t(mins)");
  pane_.AddLine("Low Alarms");
  Wide rate = SampleRate(s);
  for (int r = 0; r < kAlarmRecords; ++r) {
    if (r == kLowAlarmRecords) pane_.AddLine("High Alarms");
    AlarmRecord record = AlarmRecordAt(s, r);
    pane_.AddLine(WideToStr(record.startSamples * rate) + "\t" + WideToStr(record.durationSamples * rate));
  }
  pane_.ScrollToTop();
}

void LoggerReports::ShowHistogram() {
  chart_.BeginHistogram();
  chartReport_ = Report::Histogram;
  ShowSummary();
  pane_.Clear();
  paneReport_ = Report::Histogram;
  pane_.AddLine("Histogram");
  pane_.AddLine("Temp\tCount");
  for (int k = 0; k < kHistogramBins; ++k) {
    std::string label = HistogramLabel(k, unit_);
    std::int64_t count = HistogramCount(state_.LoggerData, k);
    pane_.AddLine("\"" + label + "\"\t" + IntToStr(count));
    chart_.AddHistogramBar(static_cast<double>(count), label);
  }
  pane_.ScrollToTop();
  chart_.ResetZoom();
}

void LoggerReports::ShowTemperature() {
  chart_.BeginTemperature();
  chartReport_ = Report::Temperature;
  pane_.Clear();
  paneReport_ = Report::Temperature;
  // Greyed while it fills; given back even if a time cannot be shown.
  struct Disabled {
    ReportPane& pane;
    explicit Disabled(ReportPane& p) : pane(p) { pane.SetEnabled(false); }
    ~Disabled() { pane.SetEnabled(true); }
  };
  {
    Disabled disabled(pane_);
    pane_.AddLine("Temperature");
    pane_.AddLine(std::string("Date and Time\t  ") + UnitSymbol(unit_));
    double t = state_.LogStartTime;
    for (int n = 0; n < LoggerStore::kTemperatureLogSamples; ++n) {
      std::int32_t code = state_.LoggerData.At(LoggerStore::kTemperatureLogFirst + n);
      double degrees = FromCelsius(ValueCodeToCelsius(code), unit_);
      std::string time = SampleTimeText(t);
      pane_.AddLine(time + " \t" + runtime::Format("%6.1f", {degrees}));
      chart_.AddTemperaturePoint(degrees, time + "  ");
      t += state_.SampleStep;
    }
  }
  pane_.ScrollToTop();
  chart_.ResetZoom();
  chartedStatistics_ = ComputeLogStatistics(state_.LoggerData);
  ShowSummary();
}

void LoggerReports::ShowStatistics() {
  pane_.Clear();
  paneReport_ = Report::Statistics;
  for (const std::string& line : StatisticsLines(ComputeLogStatistics(state_.LoggerData), unit_)) pane_.AddLine(line);
  pane_.ScrollToTop();
}

void LoggerReports::ShowSummary() {
  if (!OnSummary) return;
  if (chartReport_ != Report::Temperature) {
    OnSummary({});
    return;
  }
  // Page 0 read anew (a download's first step) may no longer fit the line
  // shown: no figures then, rather than figures of two recordings.
  LogStatistics now = ComputeLogStatistics(state_.LoggerData);
  OnSummary(now == chartedStatistics_ ? StatisticsSummary(now, unit_) : std::string());
}

void LoggerReports::ShowAgain() {
  Report pane = paneReport_;
  // The chart first: its renderer also fills the pane, which the pane's own
  // report then replaces.
  if (chartReport_ == Report::Histogram) ShowHistogram();
  if (chartReport_ == Report::Temperature) ShowTemperature();
  if (pane == chartReport_) return;
  switch (pane) {
    case Report::Page0: ShowPage0(); break;
    case Report::Page2: ShowPage2(); break;
    case Report::SerialNumber: ShowSerialNumber(); break;
    case Report::Alarms: ShowAlarms(); break;
    case Report::Histogram: ShowHistogram(); break;
    case Report::Temperature: ShowTemperature(); break;
    case Report::Statistics: ShowStatistics(); break;
    case Report::None: break;
  }
}

}  // namespace logger
