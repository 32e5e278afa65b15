// Prints the cost of laying out and drawing axes:
//   - a full paint (back buffer invalidated) of an empty chart with its
//     four side axes visible, at 1920 x 1080, into a QImage;
//   - the label step (LabelStep: format and measure the end labels, then
//     the calendar climb) of a 40-year date-time range.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "plot/chart/chart.h"
#include "plot/chart/chart_series.h"
#include "platform/qt_gui/offscreen_application.h"
#include "platform/qt_gui/qt_device_canvas.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

class PlainSeries final : public plot::TChartSeries {};

void BenchEmptyChart() {
  constexpr int kWidth = 1920, kHeight = 1080;
  QImage window(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&window);
  platform::QtDeviceCanvas screen(&painter);
  plot::TChart chart;
  chart.SetControlCanvas(&screen);
  chart.SetBounds(0, 0, kWidth, kHeight);
  chart.SetView3D(false);
  chart.Title().Text().Add("Empty chart");
  // No active series: every visible axis is drawn.
  for (int i = 0; i < 3; ++i) {
    chart.Invalidate();
    chart.Paint();
  }
  std::vector<double> times;
  for (int i = 0; i < 50; ++i) {
    chart.Invalidate();
    const Clock::time_point t = Clock::now();
    chart.Paint();
    times.push_back(MillisecondsSince(t));
  }
  std::printf("full paint, empty chart, 4 axes, 1920x1080: %8.3f ms  (median of 50, min %.3f)\n", Median(times),
              *std::min_element(times.begin(), times.end()));
}

void BenchDateTimeStep() {
  QImage window(200, 200, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&window);
  platform::QtDeviceCanvas screen(&painter);
  plot::TChart chart;
  chart.SetControlCanvas(&screen);
  chart.Canvas().SetReferenceCanvas(&screen);
  PlainSeries s;
  s.XValues().SetDateTime(true);
  s.AddPointXY(20000, 0);
  s.AddPointXY(20000 + 14610, 1);
  s.SetParentChart(&chart);
  chart.SetChartRect({0, 0, 1800, 900});
  chart.RecalcWidthHeight();
  plot::TChartAxis& axis = chart.BottomAxis();
  axis.SetDateTimeFormat("dd/mm/yyyy");
  axis.RefreshShowsDateTime();
  axis.RefreshRange();
  axis.PlaceAlongChart();
  constexpr int kRuns = 20000;
  double step = 0;
  const Clock::time_point t = Clock::now();
  for (int i = 0; i < kRuns; ++i) step = axis.LabelStep();
  const double us = MillisecondsSince(t) * 1000.0 / kRuns;
  const Clock::time_point u = Clock::now();
  double pure = 0;
  for (int i = 0; i < kRuns; ++i) pure += axis.StepForLabelCount(5 + i % 3);
  const double pureUs = MillisecondsSince(u) * 1000.0 / kRuns;
  std::printf("label step, 40-year date-time range:        %8.3f us  (step %.0f days, mean of %d)\n", us, step, kRuns);
  std::printf("  ... step for a label count alone:         %8.3f us  (mean of %d)\n", pureUs, kRuns);
  if (pure < 0) std::printf("!\n");
}

}  // namespace

int main(int argc, char** argv) {
  auto app = platform::CreateOffscreenApplication(argc, argv);
  BenchEmptyChart();
  BenchDateTimeStep();
  return 0;
}
