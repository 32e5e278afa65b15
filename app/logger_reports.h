#pragma once

#include <string>

#include "app/chart_display.h"
#include "app/logger_store.h"
#include "app/report_pane.h"
#include "platform/clock.h"

namespace logger {

// The six report renderers: they turn the store into the lines of the report
// pane (and, for the histogram and the log, the chart's points). They only
// read the store; ShowPage0 also derives the log's start time and step.
class LoggerReports {
 public:
  LoggerReports(LoggerState& state, ReportPane& pane, ChartDisplay& chart, const platform::Clock& clock);

  // Throws the decoding errors of the start time after its 16 lines.
  void ShowPage0();
  void ShowPage2();
  void ShowSerialNumber();
  void ShowAlarms();
  void ShowHistogram();
  void ShowTemperature();

  // "dd/mm/yy hh:mm" with the locale's separators.
  static std::string SampleTimeText(double dateTime);
  // One line of the temperature listing: time, a space, a TAB, "%6.1f".
  static std::string TemperatureLine(double dateTime, double celsius);
  // A histogram bin's label: -40 + 2k as "%4.1d", " to ", -38.5 + 2k.
  static std::string HistogramLabel(int bin);
  // The character shown for a description byte: its Windows-1252 character,
  // or "." for control codes and undefined codes, so no line is ever split.
  static std::string DescriptionCharacter(std::int32_t entry);

 private:
  LoggerState& state_;
  ReportPane& pane_;
  ChartDisplay& chart_;
  const platform::Clock& clock_;
};

}  // namespace logger
