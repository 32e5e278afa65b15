#pragma once

// A small series kind for chart tests: each visible point is drawn as a
// 5 x 5 rectangle in its colour, and the indices drawn are remembered.
// Margins can be set so the pipeline's margin step has something to do.

#include <string>
#include <vector>

#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_series.h"

namespace testsupport {

class TTestRectSeries : public plot::TChartSeries {
 public:
  void DrawValue(int index) override {
    plot::TPlotCanvas3D& canvas = ParentChart()->Canvas();
    canvas.Brush().style = platform::BrushStyle::Solid;
    canvas.Brush().color = plot::ColorToRGB(PointColor(index));
    canvas.Pen().color = plot::ColorToRGB(PointColor(index));
    canvas.Pen().style = platform::PenStyle::Solid;
    const int x = CalcXPos(index), y = CalcYPos(index);
    canvas.DrawRectangle(x - 2, y - 2, x + 3, y + 3);
    drawn.push_back(index);
  }
  // Derived test kinds count as the same kind (stacking sums).
  bool SameClassOrBase(const plot::TChartSeries& other) const override {
    return dynamic_cast<const TTestRectSeries*>(&other) != nullptr;
  }
  void BeforeChartDraw() override { ++beforeChartDraws; }
  void HorizMargins(int& left, int& right) override {
    left = marginLeft;
    right = marginRight;
  }
  void VertMargins(int& top, int& bottom) override {
    top = marginTop;
    bottom = marginBottom;
  }

  std::vector<int> drawn;
  int beforeChartDraws = 0;
  int marginLeft = 0, marginRight = 0, marginTop = 0, marginBottom = 0;
};

// A kind that keeps the first point past the right edge, as line kinds do.
class TTestLineLikeSeries : public TTestRectSeries {
 public:
  TTestLineLikeSeries() { SetExtendPastVisibleRange(true); }
};

}  // namespace testsupport
