#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plot/chart/chart.h"
#include "plot/series/bar_series.h"
#include "plot/series/line_series.h"
#include "plot/series/series_marks.h"
#include "tests/support/support_recording_canvas.h"

// A 2D chart of 400 x 300 without legend, painting straight onto a recording
// canvas. The calls a series makes are those between its before-draw and
// after-draw events (values, then marks).
class SeriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chart.SetBounds(0, 0, 400, 300);
    chart.Canvas().SetBuffered(false);
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    chart.SetControlCanvas(&screen);
  }

  // Adds a series to the chart and notes where its drawing starts and ends.
  template <typename S>
  S& Add(S& series) {
    series.SetParentChart(&chart);
    series.BeforeDrawValues = [this](plot::TChartSeries&) { begin = static_cast<int>(screen.calls.size()); };
    series.AfterDrawValues = [this](plot::TChartSeries&) { end = static_cast<int>(screen.calls.size()); };
    return series;
  }

  void Paint() {
    screen.Clear();
    begin = end = -1;
    chart.Draw(screen, {0, 0, chart.Width(), chart.Height()});
  }

  // The series' calls of the last paint as strings, only those of `ops`
  // (all when empty).
  std::vector<std::string> SeriesLog(const std::vector<std::string>& ops = {}) const {
    std::vector<std::string> out;
    if (begin < 0) return out;
    const int stop = end < 0 ? static_cast<int>(screen.calls.size()) : end;
    for (int i = begin; i < stop; ++i) {
      const auto& call = screen.calls[static_cast<std::size_t>(i)];
      bool wanted = ops.empty();
      for (const auto& op : ops) wanted = wanted || call.op == op;
      if (wanted) out.push_back(call.ToString());
    }
    return out;
  }
  std::vector<testsupport::RecordedCall> SeriesCalls(const std::string& op) const {
    std::vector<testsupport::RecordedCall> out;
    if (begin < 0) return out;
    const int stop = end < 0 ? static_cast<int>(screen.calls.size()) : end;
    for (int i = begin; i < stop; ++i) {
      if (screen.calls[static_cast<std::size_t>(i)].op == op) out.push_back(screen.calls[static_cast<std::size_t>(i)]);
    }
    return out;
  }

  testsupport::RecordingCanvas screen;
  plot::TChart chart;
  int begin = -1, end = -1;
};
