#pragma once

#include <memory>
#include <string>

#include "plot/surface/chart_brush.h"
#include "plot/chart/chart_font.h"
#include "plot/chart/chart_series.h"
#include "plot/chart/chart_title.h"

namespace plot {

enum TChartShapeStyle { chasRectangle, chasEllipse, chasTriangle, chasTextBox };

/// One shape between two corner points in axis units: a rectangle,
/// ellipse, triangle or text box that marks a region or notes something on
/// the chart. (X0, Y0) is the series' first point and (X1, Y1) its second.
///
/// Behaviour chosen for what a user of such a chart expects:
/// - The corners keep the order they were given (X is not sorted); with
///   fewer than two points nothing is drawn. Setting a corner adds the two
///   points when they are missing.
/// - Outlined with `Pen`, filled with `Brush`: its automatic colour is the
///   first point's colour (the series colour); `Transparent` leaves it
///   unfilled; a null first point draws nothing.
/// - The triangle's base lies along the first corner's Y and its apex in
///   the middle of the second corner's Y, so it points up or down as the
///   corners are given.
/// - `Text` (lines split at carriage returns) is written in `Font`: centred
///   in the shape, or, in a text box, from its top down, half a "W" in from
///   its sides, each line placed by `Alignment`.
/// - Axis ranges: the two corners, and as many pixels as the outline is
///   wide, plus one, at each end, so the outline is not clipped.
/// - Clicked gives 0 inside the drawn outline (the ellipse or triangle
///   itself, not its box), -1 elsewhere.
/// - The legend has one row for the shape: its text (else the point's
///   legend text), with the shape as symbol.
/// - A mark (of point 0) sits above the middle of the shape's top.
/// - In 3D the rectangle and the text box are boxes through the series'
///   depth, the triangle a pyramid, the ellipse a disc at the front; the
///   text is written at the front.
class TChartShape : public TChartSeries {
 public:
  TChartShape();
  ~TChartShape() override;

  double X0() const;
  double Y0() const;
  double X1() const;
  double Y1() const;
  void SetX0(double value);
  void SetY0(double value);
  void SetX1(double value);
  void SetY1(double value);
  /// Both corners at once.
  void SetCorners(double x0, double y0, double x1, double y1);

  TChartShapeStyle Style() const { return style_; }
  void SetStyle(TChartShapeStyle value);
  TChartPen& Pen() { return *pen_; }
  TChartBrush& Brush() { return brush_; }
  TFont& Font() { return font_; }
  /// Lines separated by carriage returns (character 13).
  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);

  /// The shape's box on screen (left < right, top < bottom).
  Rect ShapeBounds() const;

  // ---- chart interface
  /// Room for the outline at the ends of automatic axes.
  void HorizMargins(int& left, int& right) override;
  void VertMargins(int& top, int& bottom) override;
  void DrawValue(int index) override;
  int ClickedPoint(int x, int y) override;
  void DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  int LegendItemCount() const override { return PointCount() >= 2 ? 1 : 0; }
  std::string LegendString(int index, int textStyle) const override;
  void DrawLegendShape(int index, const Rect& rect) override;
  /// One shape in the middle of the current axis ranges (0 .. 1000 when
  /// empty), saying its style.
  void FillSampleValues(int count) override;
  int NumSampleValues() const override { return 2; }

 private:
  void EnsureCorners();
  void Prepare(Color color);
  void DrawText(const Rect& box);
  bool Inside(Point p, const Rect& box) const;
  bool PointsUp() const;

  TChartShapeStyle style_ = chasRectangle;
  std::unique_ptr<TChartPen> pen_;
  TChartBrush brush_;
  TFont font_;
  std::string text_;
  TAlignment alignment_ = taCenter;
  bool transparent_ = false;
  bool dark3D_ = true;
};

}  // namespace plot
