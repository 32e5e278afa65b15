#pragma once

#include "app/chart_display.h"
#include "plot/chart/chart.h"
#include "plot/series/bar_series.h"
#include "plot/series/line_series.h"

namespace logger {

// The main window's chart: Chart1 with the temperature line (Series1) and
// the histogram bars (Series2), configured once, and the chart side of the
// histogram and temperature reports. The window shows Chart1 in its host
// widget; the console program renders it off screen.
class LoggerChart final : public ChartDisplay {
 public:
  static constexpr const char* kHint =
      "Right Click to scroll. Left box to Zoom. Lower right to upper left to reset Zoom.";

  LoggerChart();
  ~LoggerChart() override;

  plot::TChart& Chart1() { return chart1_; }
  plot::TLineSeries& Series1() { return series1_; }
  plot::TBarSeries& Series2() { return series2_; }

  void BeginHistogram() override;
  void AddHistogramBar(double count, const std::string& label) override;
  void BeginTemperature() override;
  void AddTemperaturePoint(double celsius, const std::string& label) override;
  void ResetZoom() override;
  std::size_t TemperaturePointCount() const override;
  double TemperatureY(std::size_t index) const override;

 private:
  void ShowTitle(const char* title);

  plot::TChart chart1_;
  plot::TLineSeries series1_;
  plot::TBarSeries series2_;
};

}  // namespace logger
