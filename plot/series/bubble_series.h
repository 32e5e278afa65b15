#pragma once

#include <memory>
#include <string>

#include "plot/series/line_series.h"

namespace plot {

/// Points drawn as circles whose radius is a value in axis units.
///
/// Behaviour chosen for what a user of such a chart expects:
/// - `RadiusValues` ("Radius") hold the radii beside X and Y.
/// - The radius is measured on the vertical axis and the bubble drawn with
///   that many pixels across and down (`Pointer` style, circle at first),
///   so a bubble stays round on a plot of any shape. A negative radius
///   counts by its size; a bubble is at least one pixel.
/// - The vertical range covers every bubble (y less and plus its radius);
///   the horizontal axis keeps the largest radius in pixels, plus one, as a
///   margin at both ends. Every bubble is drawn whatever the range.
/// - Each bubble takes its own palette colour (`ColorEachPoint` on).
/// - Clicked: inside the circle; the bubble drawn last (on top) first.
/// - Marks sit above the top of their bubble; the legend symbol is a
///   circle as large as the colour box.
/// - In 3D a bubble is a disc at the series' front depth.
/// - AddPointXY(x, y) alone adds a bubble of radius 0 (one pixel).
class TBubbleSeries : public TPointSeries {
 public:
  TBubbleSeries();
  ~TBubbleSeries() override;

  TChartValueList& RadiusValues() { return *radius_; }
  const TChartValueList& RadiusValues() const { return *radius_; }

  /// Adds a bubble at (x, y) of `radius` (vertical axis units).
  int AddBubble(double x, double y, double radius, const std::string& label = {}, Color color = clAutoColor);
  int AddPointXY(double x, double y, const std::string& label = {}, Color color = clAutoColor) override;

  /// Radius of bubble `index` in pixels as the vertical axis now maps it.
  int RadiusPixels(int index) const;

  // ---- chart interface
  double MinYValue() const override;
  double MaxYValue() const override;
  void HorizMargins(int& left, int& right) override;
  void VertMargins(int& top, int& bottom) override;
  void DrawValue(int index) override;
  void DrawAllValues() override;
  int ClickedPoint(int x, int y) override;
  void DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  /// A circle filling the legend's colour box.
  void DrawLegendShape(int index, const Rect& rect) override;
  /// `count` bubbles of varied sizes along a random walk.
  void FillSampleValues(int count) override;
  int NumSampleValues() const override { return 10; }
  bool SameClassOrBase(const TChartSeries& other) const override;

 private:
  std::unique_ptr<TChartValueList> radius_;
  bool staged_ = false;
};

}  // namespace plot
