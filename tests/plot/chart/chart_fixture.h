#pragma once

#include <gtest/gtest.h>

#include "plot/chart/chart.h"
#include "tests/support/support_chart_series.h"
#include "tests/support/support_recording_canvas.h"

// A 400 x 300 chart painting straight onto a recording canvas (no back
// buffer), with a host that counts invalidations.
class CountingChartHost final : public plot::TControlHost {
 public:
  void InvalidateControl() override { ++invalidates; }
  void RepaintControl() override { ++repaints; }
  void CursorChanged(plot::TCursor) override {}
  platform::PictureClipboard* Clipboard() override { return nullptr; }
  int invalidates = 0;
  int repaints = 0;
};

class ChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chart.SetBounds(0, 0, 400, 300);
    chart.Canvas().SetBuffered(false);
    chart.SetView3D(false);
    chart.SetHost(&host);
    chart.SetControlCanvas(&screen);
  }
  void Paint() {
    screen.Clear();
    chart.Draw(screen, {0, 0, 400, 300});
  }
  // Texts written, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& call : screen.Calls("TextOut")) out.push_back(call.text);
    return out;
  }
  int IndexOfText(const std::string& text) const {
    const auto& calls = screen.calls;
    for (std::size_t i = 0; i < calls.size(); ++i) {
      if (calls[i].op == "TextOut" && calls[i].text == text) return static_cast<int>(i);
    }
    return -1;
  }

  testsupport::RecordingCanvas screen;
  CountingChartHost host;
  plot::TChart chart;
};
