#pragma once

#include <functional>
#include <string>

#include "app/chart_display.h"
#include "app/log_statistics.h"
#include "app/logger_store.h"
#include "app/report_pane.h"
#include "app/temperature_unit.h"
#include "platform/clock.h"

namespace logger {

// The six report renderers: they turn the store into the lines of the report
// pane (and, for the histogram and the log, the chart's points). They only
// read the store; ShowPage0 also derives the log's start time and step.
// Temperatures are shown in the chosen unit; Celsius (the default) gives
// the lines exactly as saved in report files.
class LoggerReports {
 public:
  enum class Report { None, Page0, Page2, SerialNumber, Alarms, Histogram, Temperature, Statistics };

  LoggerReports(LoggerState& state, ReportPane& pane, ChartDisplay& chart, const platform::Clock& clock);

  void SetUnit(TemperatureUnit unit) { unit_ = unit; }
  TemperatureUnit Unit() const { return unit_; }
  const platform::Clock& Clock() const { return clock_; }
  // The report the pane shows and the series the chart shows (Histogram,
  // Temperature or None), so a change of unit can draw both again.
  Report PaneReport() const { return paneReport_; }
  Report ChartReport() const { return chartReport_; }
  // Draws the chart's series and then the pane's report again, in the unit
  // chosen now. Throws what the renderers throw.
  void ShowAgain();

  // Told the log's statistics line while the chart shows the temperature
  // line, and an empty text when it shows the histogram or when the store
  // no longer has the figures of the line shown (a download under way).
  std::function<void(const std::string& summary)> OnSummary;

  // Throws the decoding errors of the start time after its 16 lines.
  void ShowPage0();
  void ShowPage2();
  void ShowSerialNumber();
  void ShowAlarms();
  void ShowHistogram();
  void ShowTemperature();
  // Minimum, maximum, mean and the time beyond the alarms of the recorded
  // samples; the pane only.
  void ShowStatistics();

  // "dd/mm/yy hh:mm" with the locale's separators.
  static std::string SampleTimeText(double dateTime);
  // One line of the temperature listing: time, a space, a TAB, "%6.1f".
  static std::string TemperatureLine(double dateTime, double degrees);
  // A histogram bin's label: -40 + 2k as "%4.1d", " to ", -38.5 + 2k. In
  // Fahrenheit a lower bound that is not whole keeps one decimal
  // ("-36.4 to -33.7").
  static std::string HistogramLabel(int bin, TemperatureUnit unit = TemperatureUnit::Celsius);
  // The character shown for a description byte: its Windows-1252 character,
  // or "." for control codes and undefined codes, so no line is ever split.
  static std::string DescriptionCharacter(std::int32_t entry);

 private:
  void ShowSummary();

  LoggerState& state_;
  ReportPane& pane_;
  ChartDisplay& chart_;
  const platform::Clock& clock_;
  TemperatureUnit unit_ = TemperatureUnit::Celsius;
  Report paneReport_ = Report::None;
  Report chartReport_ = Report::None;
  LogStatistics chartedStatistics_;  // of the store when the line was drawn
};

}  // namespace logger
