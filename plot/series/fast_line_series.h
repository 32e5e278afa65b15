#pragma once

#include <memory>
#include <span>
#include <vector>

#include "plot/chart/chart_series.h"

namespace plot {

/// A line for many points: no pointers, no per-point colours, drawn in one
/// pass as one polyline per stretch between null points.
///
/// - The whole line takes `SeriesColor` and `LinePen` (style, width); point
///   colours are ignored except that a null point leaves a gap.
/// - Where more points fall in one pixel column than can be told apart, the
///   column keeps its first, lowest, highest and last point: the pixels are
///   those of every segment, the cost follows the columns. A thin solid
///   line in 2D fills such a column as one one-pixel-wide span.
/// - A zoomed line enters the plot at the left edge at the height where it
///   crosses it. Points beyond the device's 16-bit range are skipped.
/// - In 3D the line lies at the series' middle depth.
/// - Marks are hidden by default and drawn as for any series when shown.
/// - Clicking a point gives it; clicking the line between two points gives
///   the first of them.
class TFastLineSeries : public TChartSeries {
 public:
  TFastLineSeries();
  ~TFastLineSeries() override;

  TChartPen& LinePen() { return *linePen_; }
  const TChartPen& LinePen() const { return *linePen_; }

  // ---- chart interface
  void DrawAllValues() override;
  /// The segment from the previous point (when the pipeline interleaves
  /// series of one depth in 3D).
  void DrawValue(int index) override;
  int ClickedPoint(int x, int y) override;
  void DrawLegendShape(int index, const Rect& rect) override;
  void PrepareLegendCanvas(int index, Color& background, platform::BrushStyle& style) override;
  Color LegendItemColor(int index) const override;
  bool SameClassOrBase(const TChartSeries& other) const override;

 private:
  // Where the line crosses the plot's left edge coming from point `before`
  // to point `after`.
  Point EdgeEntry(int before, int after) const;
  // Appends the drawn points of [from, to] (no null among them).
  void AppendStretch(int from, int to);
  void AppendColumnsAscending(int from, int to);
  void AppendPointByPoint(int from, int to);
  void Add(int x, int y);
  // Draws and empties the pending polyline.
  void Flush();
  bool FillsColumns();
  // Thin solid lines in 2D: vertical runs filled as one-pixel-wide spans.
  void DrawFillingColumns();
  void DrawPolyline(std::span<const Point> points);
  void SelectPen();

  std::unique_ptr<TChartPen> linePen_;
  // The polyline being gathered, reused from paint to paint.
  std::vector<Point> points_;
};

}  // namespace plot
