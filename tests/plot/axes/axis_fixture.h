#pragma once

#include <gtest/gtest.h>

#include "plot/chart/chart.h"
#include "runtime/format_settings.h"
#include "tests/support/support_chart_series.h"
#include "tests/support/support_recording_canvas.h"

// A 400 x 300 chart in 2D without legend, painting straight onto a
// recording canvas (text 13 px high, 6 px a character), with fixed
// separators and short formats.
class AxisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime::SetFormatSettings(runtime::FormatSettings{});
    chart.SetBounds(0, 0, 400, 300);
    chart.Canvas().SetBuffered(false);
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    chart.SetControlCanvas(&screen);
    series.SetParentChart(&chart);
  }
  void Paint() {
    screen.Clear();
    chart.Draw(screen, {0, 0, 400, 300});
  }
  // Places an axis over a plotting rectangle without painting.
  void Place(plot::TCustomChartAxis& axis, const plot::Rect& rect) {
    chart.SetChartRect(rect);
    chart.RecalcWidthHeight();
    axis.RefreshRange();
    axis.PlaceAlongChart();
  }
  // Texts written with the given horizontal alignment, in order.
  std::vector<testsupport::RecordedCall> TextsAligned(unsigned horizontal) const {
    std::vector<testsupport::RecordedCall> out;
    for (const auto& c : screen.Calls("TextOut")) {
      if ((c.textAlign & platform::text_align::kHorizontalMask) == horizontal) out.push_back(c);
    }
    return out;
  }
  static std::vector<std::string> TextsOf(const std::vector<testsupport::RecordedCall>& calls) {
    std::vector<std::string> out;
    for (const auto& c : calls) out.push_back(c.text);
    return out;
  }

  testsupport::RecordingCanvas screen;
  plot::TChart chart;
  testsupport::TTestRectSeries series;
};
