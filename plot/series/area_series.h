#pragma once

#include <vector>

#include "plot/series/custom_series.h"

namespace plot {

/// How area series of one chart share their values.
enum TMultiArea { maNone, maStacked, maStacked100 };

/// A line whose area down to an origin is filled.
///
/// - The origin is the axis (the end of the vertical axis where its low
///   values lie: the bottom, or the top when the axis is inverted), or the
///   value `YOrigin` when `UseYOrigin` is set; the axis range then takes
///   the origin in, so the fill never leaves the plot.
/// - `MultiArea` stacks the area series of a chart: `maStacked` puts each
///   series on the sum of the earlier ones (the first stands on 0), and
///   `maStacked100` shows each point's share of the column's total in
///   percent (0 to 100 on the axis; a column that sums to 0 lies on 0).
///   Setting it on one area series sets it on every area series of the chart.
/// - Each run of points in one colour is filled as one polygon with
///   `AreaColor` (automatic: the point's colour) and `AreaBrush`, without
///   outline; `LinePen` (black, one pixel) draws the top edge; the visible
///   `AreaLinesPen` draws a line from each point down to the origin (hidden
///   by default). Null points leave a gap; `Stairs` fills the steps.
/// - In 3D the area is a slab one series deep: the top as a band, the front
///   face at the series' front depth and the right end closed. Stacked
///   areas share one depth, so the stack is one slab.
/// - Pointers are hidden; clicking a point, the top edge or inside the
///   filled area gives the point that starts that segment.
class TAreaSeries : public TCustomSeries {
 public:
  TAreaSeries();

  TMultiArea MultiArea() const { return multiArea_; }
  /// Copied to every area series on the chart.
  void SetMultiArea(TMultiArea value);
  bool UseYOrigin() const { return useYOrigin_; }
  void SetUseYOrigin(bool value);
  double YOrigin() const { return yOrigin_; }
  void SetYOrigin(double value);

  /// Copies the line-kind settings and the area's own, then keeps the area
  /// drawn.
  void Assign(const TChartSeries& source) override;

  /// The value the area of point `index` starts from: the sum of the earlier
  /// stacked series, or YOrigin.
  double PointOrigin(int index) const;
  /// The stacking total at `index`, this series included.
  double StackTotal(int index) const;

  // ---- chart interface
  int CalcYPos(int index) const override;
  int OriginPixel(int index) const override;
  double MaxYValue() const override;
  double MinYValue() const override;
  void DrawAllValues() override;
  void PrepareLegendCanvas(int index, Color& background, platform::BrushStyle& style) override;
  /// Stacked areas share the depth of the first one, as one slab in 3D.
  void CalcZOrder() override;
  bool SameClassOrBase(const TChartSeries& other) const override;

 protected:
  void FillAreaSegment(Point from, Point to, int fromOrigin, int toOrigin, Color color, bool isLast) override;

 private:
  int PixelOf(double value) const;
  // The value point `index` reaches: stacked, or its share in percent.
  double StackedValue(int index, double value) const;
  void FillFrontFace(const std::vector<Point>& outline, Color fill);
  // Draws the pending run of segments: one polygon, the top edge and the
  // area lines.
  void FlushRun();

  TMultiArea multiArea_ = maNone;
  bool useYOrigin_ = false;
  double yOrigin_ = 0;

  // The run being gathered in 2D: its top edge and the origin below each
  // of its points, left to right; which top points are data points (the
  // others are stair corners).
  std::vector<Point> top_, bottom_;
  std::vector<char> dataPoint_;
  Color runColor_ = clNone;
};

}  // namespace plot
