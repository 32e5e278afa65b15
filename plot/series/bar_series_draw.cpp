// Bar series: drawing each bar in its style, the hit test, mark placement
// and the legend symbol.
#include <algorithm>
#include <cstdlib>

#include "plot/axes/chart_axis.h"
#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/axis_panel.h"
#include "plot/series/bar_series.h"
#include "plot/series/series_marks.h"

namespace plot {

void TCustomBarSeries::DrawValue(int index) {
  const Color color = PointColor(index);
  if (color == clNone) return;
  TBarStyle style = barStyle_;
  if (OnGetBarStyle) OnGetBarStyle(*this, index, style);
  DrawBar(BarStart(index), ValuePixel(index), OriginPixel(index), color, style);
}

void TCustomBarSeries::DrawBar(int barStart, int valueEnd, int origin, Color color, TBarStyle style) {
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  canvas.ApplyChartPen(*barPen_);
  if (barBrush_.Bitmap()) {
    canvas.Brush().bitmap = barBrush_.Bitmap();
  } else {
    const Color background = barBrush_.Color() == clAutoColor ? chart.Color() : barBrush_.Color();
    chart.SetBrushCanvas(color, barBrush_.Style(), background);
  }
  if (!ValuesAreVertical()) {
    DrawHorizontalBar(std::min(valueEnd, origin), barStart, std::max(valueEnd, origin), barStart + barWidth_,
                      valueEnd >= origin, color, style);
    return;
  }
  const int left = barStart, right = barStart + barWidth_, top = valueEnd, bottom = origin;
  const bool is3D = chart.View3D();
  const int start = std::min(top, bottom), end = std::max(top, bottom);
  const int centre = (left + right) / 2;
  const int zf = StartZ(), zm = MiddleZ(), zb = EndZ();

  switch (style) {
    case bsRectangle:
      if (is3D) {
        canvas.DrawBox({left, start, right, end}, zf, zb, dark3D_);
      } else {
        BarRectangle(left, start, right, end);
      }
      break;
    case bsPyramid:
      if (is3D) {
        canvas.DrawPyramidShape(true, {left, start, right, end}, zf, zb, dark3D_);
      } else {
        const Point points[] = {{left, end}, {centre, start}, {right, end}};
        canvas.DrawPolygon(points, 2);
      }
      break;
    case bsInvPyramid:
      if (is3D) {
        canvas.DrawPyramidShape(true, {left, end, right, start}, zf, zb, dark3D_);
      } else {
        const Point points[] = {{left, start}, {centre, end}, {right, start}};
        canvas.DrawPolygon(points, 2);
      }
      break;
    case bsCilinder:
      if (is3D) {
        canvas.DrawCylinderShape(true, {left, top, right, bottom}, zf, zb, dark3D_);
      } else {
        BarRectangle(left, start, right, end);
      }
      break;
    case bsEllipse:
      if (is3D) {
        canvas.DrawEllipseAtDepth({left, top, right, bottom}, zm);
      } else {
        canvas.DrawEllipse(left, top, right, bottom);
      }
      break;
    case bsArrow:
      canvas.DrawArrowShape(true, {centre, end}, {centre, start}, barWidth_, barWidth_ / 2, zm);
      break;
    case bsRectGradient:
      GradientBar({left, start, right, end}, zf, zb, clWhite, gdBottomTop, color);
      break;
  }
}

void TCustomBarSeries::GradientBar(const Rect& r, int zf, int zb, Color first, TGradientDirection direction,
                                   Color second) {
  TPlotCanvas3D& canvas = ParentChart()->Canvas();
  if (!ParentChart()->View3D()) {
    canvas.FillGradient(r, first, direction, second);
    if (barPen_->Visible()) {
      canvas.Brush().style = platform::BrushStyle::Clear;
      BarRectangle(r.left, r.top, r.right, r.bottom);
    }
    return;
  }
  canvas.DrawBox(r, zf, zb, dark3D_);
  if (!canvas.IsOrthogonal()) return;
  const Point a = canvas.ProjectPoint(r.left, r.top, zf);
  const Point b = canvas.ProjectPoint(r.right, r.bottom, zf);
  Rect face{a.x, a.y, b.x, b.y};
  if (barPen_->Visible()) {
    // Keep the outline drawn by the box.
    face.left += 1;
    face.top += 1;
    face.right -= 1 - barPen_->Width();
    face.bottom -= 1 - barPen_->Width();
  }
  canvas.FillGradient(face, first, direction, second);
}

void TCustomBarSeries::BarRectangle(int left, int top, int right, int bottom) {
  TPlotCanvas3D& canvas = ParentChart()->Canvas();
  platform::Pen& pen = canvas.Pen();
  // A solid bar too thin for its outline is drawn by the pen alone, in the
  // bar's colour.
  if (barBrush_.Style() == platform::BrushStyle::Solid) {
    auto penTakesBrush = [&] {
      pen.color = canvas.Brush().color;
      if (pen.style == platform::PenStyle::Clear) pen.style = platform::PenStyle::Solid;
    };
    if (right == left || top == bottom) {
      penTakesBrush();
      canvas.DrawLine(left, top, right, bottom);
    } else if (std::abs(right - left) < barPen_->Width() || std::abs(bottom - top) < barPen_->Width()) {
      penTakesBrush();
      canvas.Brush().style = platform::BrushStyle::Clear;
    }
  }
  canvas.DrawRectangle(left, top, right, bottom);
}

int TCustomBarSeries::ClickedPoint(int x, int y) {
  if (ParentChart() != nullptr) ParentChart()->Canvas().UnprojectPoint(x, y, StartZ());
  const int found = TChartSeries::ClickedPoint(x, y);
  if (found != -1) return found;
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0) return -1;
  const Point p{x, y};
  const bool vertical = ValuesAreVertical();
  // Across the bar and along its value, in pixels.
  const int across = vertical ? x : y, along = vertical ? y : x;
  for (int t = first; t <= last && t < PointCount(); ++t) {
    const int start = BarStart(t), end = start + barWidth_;
    if (across < start || across > end) continue;
    const int value = ValuePixel(t), origin = OriginPixel(t);
    const int high = std::max(value, origin), low = std::min(value, origin);
    bool hit;
    switch (barStyle_) {
      case bsPyramid:
        hit = vertical ? hit_test::PointInVerticalTriangle(p, start, end, high, low)
                       : hit_test::PointInHorizontalTriangle(p, start, end, high, low);
        break;
      case bsInvPyramid:
        hit = vertical ? hit_test::PointInVerticalTriangle(p, start, end, low, high)
                       : hit_test::PointInHorizontalTriangle(p, start, end, low, high);
        break;
      case bsEllipse:
        hit = hit_test::PointInEllipse(p, vertical ? Rect{start, low, end, high} : Rect{low, start, high, end});
        break;
      default: hit = along >= low && along <= high; break;
    }
    if (hit) return t;
  }
  return -1;
}

void TCustomBarSeries::DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  const int h = barWidth_ / 2;
  int a = Marks().ArrowLength();
  if (!ValuesAreVertical()) {
    // Beside the bar's end, on the side it grows to, centred on the bar.
    const bool growsLeft = OriginPixel(index) > position.ArrowStart.x;
    position.ArrowStart.y += h;
    position.ArrowEnd = {position.ArrowStart.x + (growsLeft ? -a : a), position.ArrowStart.y};
    position.BoxLeftTop = {growsLeft ? position.ArrowEnd.x - position.Width : position.ArrowEnd.x,
                           position.ArrowStart.y - position.Height / 2};
    Marks().DrawMarkAt(index, PointColor(index), position, text);
    return;
  }
  // A bar growing downwards gets its mark below it.
  if (OriginPixel(index) < position.ArrowStart.y) a = -a - position.Height;
  position.BoxLeftTop.x += h;
  position.ArrowEnd.x += h;
  position.ArrowStart.x += h;
  position.BoxLeftTop.y -= a;
  position.ArrowEnd.y -= a;
  Marks().DrawMarkAt(index, PointColor(index), position, text);
}

void TCustomBarSeries::PrepareLegendCanvas(int /*index*/, Color& background, platform::BrushStyle& style) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  chart->Canvas().ApplyChartPen(*barPen_);
  style = barBrush_.Style();
  background = barBrush_.Color() == clAutoColor ? chart->Color() : barBrush_.Color();
}

void TCustomBarSeries::DrawLegendShape(int index, const Rect& rect) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || !barBrush_.Bitmap()) {
    TChartSeries::DrawLegendShape(index, rect);
    return;
  }
  // The bars' picture fills the symbol as it fills the bars.
  Color background = chart->LegendColor();
  platform::BrushStyle style = platform::BrushStyle::Solid;
  PrepareLegendCanvas(index, background, style);
  chart->Canvas().Brush().bitmap = barBrush_.Bitmap();
  chart->Canvas().DrawRectangleRect(rect);
}

}  // namespace plot
