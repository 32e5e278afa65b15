#pragma once

#include <memory>

#include "plot/surface/chart_pen.h"
#include "plot/surface/chart_brush.h"

namespace plot {

class TCanvas3D;
class TChartSeries;

/// Marker shapes; the ordinal is stored in chart definitions.
enum TSeriesPointerStyle {
  psRectangle,
  psCircle,
  psTriangle,
  psDownTriangle,
  psCross,
  psDiagCross,
  psStar,
  psDiamond,
  psSmallDot
};

/// The small shape a series draws at each point. Owned by one series,
/// whose pen factory makes its pen; every change repaints that series.
class TSeriesPointer {
 public:
  explicit TSeriesPointer(TChartSeries* series);
  TSeriesPointer(const TSeriesPointer&) = delete;
  TSeriesPointer& operator=(const TSeriesPointer&) = delete;

  TChartSeries* ParentSeries() const { return series_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TSeriesPointerStyle Style() const { return style_; }
  void SetStyle(TSeriesPointerStyle value);
  /// Half-width in pixels; ChartException below 1, the size kept.
  int HorizSize() const { return horizSize_; }
  void SetHorizSize(int value);
  /// Half-height in pixels; ChartException below 1, the size kept.
  int VertSize() const { return vertSize_; }
  void SetVertSize(int value);
  bool InflateMargins() const { return inflateMargins_; }
  void SetInflateMargins(bool value);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);
  bool Draw3D() const { return draw3D_; }
  void SetDraw3D(bool value);
  TChartPen& Pen() { return *pen_; }
  const TChartPen& Pen() const { return *pen_; }
  TChartBrush& Brush() { return brush_; }
  const TChartBrush& Brush() const { return brush_; }
  bool AllowChangeSize() const { return allowChangeSize_; }

  /// Copies all nine properties.
  void Assign(const TSeriesPointer& source);

  /// Pen and brush of the marker onto the canvas; automatic colours take
  /// `color`.
  void PrepareCanvas(TCanvas3D& canvas, Color color) const;
  /// Draws one marker centred on (px, py) with half sizes h and v. In 3D the
  /// shape spans the owning series' front to back depth.
  void Draw(TCanvas3D& canvas, bool is3D, int px, int py, int h, int v, Color color,
            TSeriesPointerStyle style) const;
  /// Left and right (top and bottom) margins grow to keep edge markers
  /// whole when the marker is shown and InflateMargins is set.
  void CalcHorizMargins(int& left, int& right) const;
  void CalcVerticalMargins(int& top, int& bottom) const;

 private:
  void Repaint();

  TChartSeries* series_;
  bool visible_ = true;
  TSeriesPointerStyle style_ = psRectangle;
  int horizSize_ = 4;
  int vertSize_ = 4;
  bool inflateMargins_ = true;
  bool dark3D_ = true;
  bool draw3D_ = true;
  std::unique_ptr<TChartPen> pen_;
  TChartBrush brush_;
  bool allowChangeSize_ = true;
};

}  // namespace plot
