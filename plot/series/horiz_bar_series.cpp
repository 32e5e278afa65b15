// Horizontal bars: the value list along the horizontal axis, and each bar
// style drawn lying down.
#include "plot/series/horiz_bar_series.h"

#include "plot/chart/axis_panel.h"
#include "plot/surface/plot_canvas_3d.h"

namespace plot {

THorizBarSeries::THorizBarSeries() {
  // The base named and unordered the Y list as the bars' values; here the
  // values are X and the bars are ordered along Y.
  YValues().SetName("Y");
  YValues().SetOrder(loAscending);
  XValues().SetName("Bar");
  XValues().SetOrder(loNone);
}

bool THorizBarSeries::SameClassOrBase(const TChartSeries& other) const {
  return dynamic_cast<const THorizBarSeries*>(&other) != nullptr;
}

void TCustomBarSeries::DrawHorizontalBar(int left, int top, int right, int bottom, bool growsRight, Color color,
                                         TBarStyle style) {
  TPlotCanvas3D& canvas = ParentChart()->Canvas();
  const bool is3D = ParentChart()->View3D();
  const int middle = (top + bottom) / 2;
  // The bar's far end along its value, and the end it starts from.
  const int tip = growsRight ? right : left, base = growsRight ? left : right;
  const int zf = StartZ(), zm = MiddleZ(), zb = EndZ();

  switch (style) {
    case bsRectangle:
    case bsCilinder:
      if (is3D && style == bsCilinder) {
        canvas.DrawCylinderShape(false, {left, top, right, bottom}, zf, zb, dark3D_);
      } else if (is3D) {
        canvas.DrawBox({left, top, right, bottom}, zf, zb, dark3D_);
      } else {
        BarRectangle(left, top, right, bottom);
      }
      break;
    case bsPyramid:
    case bsInvPyramid: {
      // Pyramids point right and inverted ones left, as vertical ones point
      // up and down, whichever way the bar grows.
      const bool pointsRight = style == bsPyramid;
      if (is3D) {
        canvas.DrawPyramidShape(false, pointsRight ? Rect{left, top, right, bottom} : Rect{right, top, left, bottom},
                                zf, zb, dark3D_);
      } else {
        const int apex = pointsRight ? right : left, foot = pointsRight ? left : right;
        const Point points[] = {{foot, top}, {apex, middle}, {foot, bottom}};
        canvas.DrawPolygon(points, 2);
      }
      break;
    }
    case bsEllipse:
      if (is3D) {
        canvas.DrawEllipseAtDepth({left, top, right, bottom}, zm);
      } else {
        canvas.DrawEllipse(left, top, right, bottom);
      }
      break;
    case bsArrow:
      canvas.DrawArrowShape(true, {base, middle}, {tip, middle}, barWidth_, barWidth_ / 2, zm);
      break;
    case bsRectGradient: {
      // White at the bar's start, its colour at its end; the surface puts
      // the first colour on the right.
      const Color first = growsRight ? color : clWhite, second = growsRight ? clWhite : color;
      GradientBar({left, top, right, bottom}, zf, zb, first, gdLeftRight, second);
      break;
    }
  }
}

}  // namespace plot
