#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "app/chart_display.h"
#include "app/chart_template.h"
#include "plot/chart/chart.h"
#include "plot/chart/chart_look.h"
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

  // The display shown last; none before the first.
  std::optional<ChartKind> CurrentDisplay() const { return current_; }
  // The template each display gets after it is shown, until forgotten.
  void SetTemplate(ChartKind kind, std::optional<ChartTemplate> look);
  const std::optional<ChartTemplate>& Template(ChartKind kind) const;
  // Shows the display's look again: the configured settings a template may
  // change, then its template (after a template was loaded).
  void ApplyCurrentTemplate();
  // Series added from the chart editor, kept for as long as the chart.
  void KeepSeries(std::unique_ptr<plot::TChartSeries> series);
  // Frees an added series; Series1 and Series2 are the logger's and stay.
  bool MayDeleteSeries(const plot::TChartSeries& series) const;
  void DeleteSeries(plot::TChartSeries& series);
  // Back to the look configured at creation: both templates forgotten, added
  // series gone, the shown display's title and series kept.
  void ResetLook();

 private:
  void ShowTitle(const char* title);
  void Shown(ChartKind kind);

  plot::TChart chart1_;
  plot::TLineSeries series1_;
  plot::TBarSeries series2_;
  std::optional<ChartKind> current_;
  std::optional<ChartTemplate> templates_[2];
  std::vector<std::unique_ptr<plot::TChartSeries>> added_;
  plot::TChartLook configured_;
  ChartTemplate configuredKeys_;
};

}  // namespace logger
