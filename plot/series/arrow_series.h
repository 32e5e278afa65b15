#pragma once

#include <array>
#include <memory>
#include <string>

#include "plot/surface/chart_brush.h"
#include "plot/chart/chart_series.h"

namespace plot {

/// One arrow per point, from (x0, y0) to (x1, y1): vectors, moves, flows.
///
/// Behaviour chosen for what a user of such a chart expects:
/// - XValues and YValues hold the starts, `EndXValues` ("EndX") and
///   `EndYValues` ("EndY") the ends.
/// - The shaft is a line in `Pen` from the start to the base of the head;
///   the head is `HeadLength` pixels long (10) and `HeadWidth` pixels wide
///   at its base (10), filled by `Brush` and outlined by `Pen`. A clear
///   brush leaves an open head of two strokes. Pen and brush take the
///   point's colour while theirs is automatic (as at creation).
/// - A head longer than its arrow is cut to the arrow's length; an arrow of
///   no length is neither drawn nor clickable.
/// - Both axes' ranges cover every start and end; every side keeps half a
///   head width of margin so a head at the edge stays whole. Every arrow is
///   drawn whatever the range (one from outside may cross it).
/// - Clicked: on the shaft (the shared one-pixel segment test) or inside
///   the head; the arrow drawn last first.
/// - Marks sit above the arrow's end.
/// - In 3D the arrow lies flat at the series' middle depth.
/// - AddPointXY(x, y) alone adds an arrow of no length at (x, y).
class TArrowSeries : public TChartSeries {
 public:
  TArrowSeries();
  ~TArrowSeries() override;

  TChartValueList& StartXValues() { return XValues(); }
  TChartValueList& StartYValues() { return YValues(); }
  TChartValueList& EndXValues() { return *endX_; }
  const TChartValueList& EndXValues() const { return *endX_; }
  TChartValueList& EndYValues() { return *endY_; }
  const TChartValueList& EndYValues() const { return *endY_; }

  /// Adds an arrow from (x0, y0) to (x1, y1); returns its index.
  int AddArrow(double x0, double y0, double x1, double y1, const std::string& label = {},
               Color color = clAutoColor);
  int AddPointXY(double x, double y, const std::string& label = {}, Color color = clAutoColor) override;

  TChartPen& Pen() { return *pen_; }
  TChartBrush& Brush() { return brush_; }
  /// Head size in pixels; ChartException below 0.
  int HeadWidth() const { return headWidth_; }
  void SetHeadWidth(int value);
  int HeadLength() const { return headLength_; }
  void SetHeadLength(int value);

  /// An arrow on screen: its two ends, the base of its head, and the head
  /// as corner, tip, corner.
  struct Shape {
    Point from, to, base;
    std::array<Point, 3> head;
    bool empty = true;
  };
  /// The screen shape of an arrow between two pixels with the given head.
  static Shape ShapeBetween(Point from, Point to, int headWidth, int headLength);
  /// Arrow `index` as the current axes place it.
  Shape ShapeOf(int index) const;

  // ---- chart interface
  double MinXValue() const override;
  double MaxXValue() const override;
  double MinYValue() const override;
  double MaxYValue() const override;
  void HorizMargins(int& left, int& right) override;
  void VertMargins(int& top, int& bottom) override;
  void DrawValue(int index) override;
  int ClickedPoint(int x, int y) override;
  void DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  void DrawLegendShape(int index, const Rect& rect) override;
  int CopyPointFrom(TChartSeries& source, int index) override;
  /// `count` arrows fanning out from points along a gentle curve.
  void FillSampleValues(int count) override;
  int NumSampleValues() const override { return 12; }

 private:
  void DrawShape(const Shape& shape, Color color, int z);

  std::unique_ptr<TChartValueList> endX_;
  std::unique_ptr<TChartValueList> endY_;
  std::unique_ptr<TChartPen> pen_;
  TChartBrush brush_;
  int headWidth_ = 10;
  int headLength_ = 10;
  bool staged_ = false;
};

}  // namespace plot
