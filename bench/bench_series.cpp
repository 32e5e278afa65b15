// Prints the cost of the series model's hot paths:
//   - adding 1,000,000 points in ascending X order, alone and in a chart
//     (where every add asks the chart for a repaint);
//   - the first statistics read after the adds (one pass over the list);
//   - ComputeVisibleRange with the bottom axis showing 1/100 of the points.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "plot/chart/chart.h"
#include "plot/chart/chart_series.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class PlainSeries final : public plot::TChartSeries {};

constexpr int kPoints = 1000000;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void BenchAdds() {
  std::vector<double> alone, inChart, stats;
  for (int run = 0; run < 5; ++run) {
    PlainSeries s;
    Clock::time_point t = Clock::now();
    for (int i = 0; i < kPoints; ++i) s.AddPointXY(i, (i % 1000) * 7 % 1000);
    alone.push_back(MillisecondsSince(t));
    t = Clock::now();
    volatile double low = s.YValues().LowestValue();
    stats.push_back(MillisecondsSince(t));
    (void)low;

    plot::TChart chart;
    PlainSeries c;
    c.SetParentChart(&chart);
    t = Clock::now();
    for (int i = 0; i < kPoints; ++i) c.AddPointXY(i, (i % 1000) * 7 % 1000);
    inChart.push_back(MillisecondsSince(t));
  }
  std::printf("add 1,000,000 points in order (no chart):  %8.2f ms  (%.1f ns a point, median of 5)\n",
              Median(alone), Median(alone) * 1e6 / kPoints);
  std::printf("add 1,000,000 points in order (in chart):  %8.2f ms  (%.1f ns a point, median of 5)\n",
              Median(inChart), Median(inChart) * 1e6 / kPoints);
  std::printf("first statistics read after the adds:      %8.3f ms  (median of 5)\n", Median(stats));
}

void BenchVisibleRange() {
  plot::TChart chart;
  PlainSeries s;
  s.SetParentChart(&chart);
  for (int i = 0; i < kPoints; ++i) s.AddPointXY(i, i % 100);
  chart.SetChartRect({0, 0, 1800, 900});
  chart.RecalcWidthHeight();
  chart.BottomAxis().SetRange(495000, 505000);  // 1/100 of the points
  chart.BottomAxis().RefreshRange();
  chart.BottomAxis().PlaceAlongChart();
  constexpr int kRuns = 100000;
  const Clock::time_point t = Clock::now();
  long long sink = 0;
  for (int i = 0; i < kRuns; ++i) {
    s.ComputeVisibleRange();
    sink += s.LastVisibleIndex() - s.FirstVisibleIndex();
  }
  const double us = MillisecondsSince(t) * 1000.0 / kRuns;
  std::printf("ComputeVisibleRange, 1/100 of 1,000,000:   %8.3f us  (%d .. %d, mean of %d)\n", us,
              s.FirstVisibleIndex(), s.LastVisibleIndex(), kRuns);
  // The same window after an overwrite broke the order: a plain scan.
  s.SetXValueAt(10, 5);
  const Clock::time_point u = Clock::now();
  for (int i = 0; i < 100; ++i) s.ComputeVisibleRange();
  std::printf("  ... on a list no longer known ascending: %8.3f us  (mean of 100)\n",
              MillisecondsSince(u) * 1000.0 / 100);
  if (sink == 0) std::printf("(no points)\n");
}

}  // namespace

int main() {
  BenchAdds();
  BenchVisibleRange();
  return 0;
}
