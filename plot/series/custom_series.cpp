// Drawing of one value of a line-kind series: the segment from the previous
// point (a 2D line or stair, or a 3D band), and the markers it touches.
#include "plot/series/custom_series.h"

#include "plot/axes/chart_axis.h"
#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/axis_panel.h"
#include "plot/series/series_marks.h"

namespace plot {

namespace {

// Pixel positions beyond this are not drawn: the devices the chart was made
// for keep coordinates in 16 bits.
constexpr int kMaxPixel = 32766;

bool Drawable(int x, int y) { return x >= -kMaxPixel && x <= kMaxPixel && y >= -kMaxPixel && y <= kMaxPixel; }

}  // namespace

TCustomSeries::TCustomSeries()
    : pointer_(std::make_unique<TSeriesPointer>(this)),
      linePen_(CreateChartPen()),
      areaLinesPen_(CreateChartPen()) {
  SetExtendPastVisibleRange(true);
}

TCustomSeries::~TCustomSeries() = default;

// ---- properties

void TCustomSeries::SetLineBrush(platform::BrushStyle value) {
  if (lineBrush_ == value) return;
  lineBrush_ = value;
  RequestRepaint();
}

void TCustomSeries::SetLineHeight(int value) {
  if (lineHeight_ == value) return;
  lineHeight_ = value;
  RequestRepaint();
}

void TCustomSeries::SetStairs(bool value) {
  if (stairs_ == value) return;
  stairs_ = value;
  RequestRepaint();
}

void TCustomSeries::SetInvertedStairs(bool value) {
  if (invertedStairs_ == value) return;
  invertedStairs_ = value;
  RequestRepaint();
}

void TCustomSeries::SetDark3D(bool value) {
  if (dark3D_ == value) return;
  dark3D_ = value;
  RequestRepaint();
}

void TCustomSeries::SetDrawArea(bool value) {
  if (drawArea_ == value) return;
  drawArea_ = value;
  RequestRepaint();
}

void TCustomSeries::SetAreaBrush(platform::BrushStyle value) {
  if (areaBrush_ == value) return;
  areaBrush_ = value;
  RequestRepaint();
}

void TCustomSeries::SetAreaColor(Color value) {
  if (areaColor_ == value) return;
  areaColor_ = value;
  RequestRepaint();
}

void TCustomSeries::SetConnectPoints(bool value) {
  if (connectPoints_ == value) return;
  connectPoints_ = value;
  RequestRepaint();
}

void TCustomSeries::SetHitTestLine(bool value) {
  if (hitTestLine_ == value) return;
  hitTestLine_ = value;
  RequestRepaint();
}

// ---- drawing

bool TCustomSeries::Is3D() const { return ParentChart() != nullptr && ParentChart()->View3D(); }

int TCustomSeries::OriginPixel(int /*index*/) const {
  return GetVertAxis() != nullptr ? GetVertAxis()->EndPixel() : 0;
}

Color TCustomSeries::AreaColorFor(Color pointColor) const {
  return ColorEachPoint() || areaColor_ == clAutoColor ? pointColor : areaColor_;
}

void TCustomSeries::SeriesOffset3D(int& dx, int& dy) const {
  dx = dy = 0;
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || !chart->View3D()) return;
  // The screen step of one series' depth, as the surface projects it.
  const TPlotCanvas3D& canvas = chart->Canvas();
  const Point front = canvas.ProjectPoint(0, 0, 0);
  const Point back = canvas.ProjectPoint(0, 0, chart->SeriesDepth3D());
  dx = back.x - front.x;
  dy = front.y - back.y;
}

void TCustomSeries::DrawPointer(int index, int x, int y, Color color) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  TPlotCanvas3D& canvas = chart->Canvas();
  pointer_->PrepareCanvas(canvas, color);
  const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(*this, index) : pointer_->Style();
  pointer_->Draw(canvas, chart->View3D(), x, y, pointer_->HorizSize(), pointer_->VertSize(), color, style);
}

void TCustomSeries::DrawValue(int index) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  const bool first = index == FirstVisibleIndex();
  // A paint starts with no previous point, so a first point that is skipped
  // below cannot join the next one to the last point of the previous paint.
  if (first) previous_.color = clNone;
  const DrawnPoint p{CalcXPos(index), CalcYPos(index), PointColor(index), index};
  if (!Drawable(p.x, p.y)) return;

  TPlotCanvas3D& canvas = chart->Canvas();
  canvas.Pen().color = clBlack;
  canvas.Brush().color = p.color;
  // No line leaves a null point: the segment into this one has no length.
  if (previous_.color == clNone) {
    previous_.x = p.x;
    previous_.y = p.y;
  }
  const int origin = OriginPixel(index);
  const bool isLast = index == LastVisibleIndex();

  if (first) {
    if (dark3D_) {
      int dx = 0, dy = 0;
      SeriesOffset3D(dx, dy);
      darkSlope_ = dx == 0 ? 1.0 : static_cast<double>(dy) / dx;
    }
    if (index > 0) JoinFromLeftEdge(p);
    if (isLast && pointer_->Visible() && p.color != clNone) DrawPointer(index, p.x, p.y, p.color);
  } else {
    DrawSegmentTo(p, isLast, true);
  }
  AdvanceTo(p, origin);
}

void TCustomSeries::AdvanceTo(const DrawnPoint& p, int origin) {
  previous_ = p;
  origin_ = origin;
  previousOrigin_ = origin;
}

void TCustomSeries::JoinFromLeftEdge(const DrawnPoint& p) {
  const int before = p.index - 1;
  if (drawArea_) {
    previous_.x = CalcXPos(before);
    previous_.y = CalcYPos(before);
    previousOrigin_ = OriginPixel(before);
  } else {
    const TCustomChartAxis* horiz = GetHorizAxis();
    const TCustomChartAxis* vert = GetVertAxis();
    if (horiz == nullptr || vert == nullptr) return;
    const Rect& r = ParentChart()->ChartRect();
    const int edge = horiz->Inverted() ? r.right : r.left;
    previous_.x = edge;
    const double x0 = XValueAt(before), x1 = XValueAt(p.index);
    if (stairs_ || x1 == x0) {
      previous_.y = CalcYPos(before);
    } else {
      // Where the line from point i-1 to point i crosses the edge, in values.
      const double y0 = YValueAt(before), y1 = YValueAt(p.index);
      const double xEdge = horiz->PixelToValue(edge);
      previous_.y = vert->ValueToPixel(y0 + (y1 - y0) * (xEdge - x0) / (x1 - x0));
    }
  }
  if (PointColor(before) != clNone) DrawSegmentTo(p, p.index == LastVisibleIndex(), false);
}

void TCustomSeries::DrawSegmentTo(const DrawnPoint& p, bool isLast, bool withMarkers) {
  const bool moved = p.x != previous_.x || p.y != previous_.y;
  if (moved && p.color != clNone) {
    if (Is3D()) {
      if (drawArea_ || (connectPoints_ && lineBrush_ != platform::BrushStyle::Clear)) DrawBand(p, isLast);
    } else if (!drawArea_ && connectPoints_) {
      DrawFlatLine(p);
    }
    if (drawArea_) {
      FillAreaSegment({previous_.x, previous_.y}, {p.x, p.y}, previousOrigin_, OriginPixel(p.index), p.color, isLast);
    }
  }
  if (!withMarkers || !pointer_->Visible()) return;
  // Markers go on top of the segments that touch them.
  if (previous_.color != clNone) DrawPointer(previous_.index, previous_.x, previous_.y, previous_.color);
  if (isLast && p.color != clNone) DrawPointer(p.index, p.x, p.y, p.color);
}

void TCustomSeries::DrawFlatLine(const DrawnPoint& p) {
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  canvas.ApplyChartPen(*linePen_);
  if (linePen_->Visible()) chart.CheckPenWidth(canvas.Pen());
  canvas.Pen().color = p.color;
  canvas.Brush().style = platform::BrushStyle::Clear;
  if (stairs_) {
    if (invertedStairs_) {
      canvas.DrawVerticalLine(previous_.x, previous_.y, p.y);
    } else {
      canvas.DrawHorizontalLine(previous_.x, p.x, previous_.y);
    }
    canvas.LineToPoint(p.x, p.y);
  } else {
    canvas.DrawLine(previous_.x, previous_.y, p.x, p.y);
  }
}

void TCustomSeries::DrawBand(const DrawnPoint& p, bool isLast) {
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  canvas.Brush().color = AreaColorFor(p.color);
  canvas.ApplyChartPen(*linePen_);
  if (linePen_->Visible()) chart.CheckPenWidth(canvas.Pen());
  canvas.Brush().style = lineBrush_;
  const int front = StartZ(), back = EndZ();
  const Color brushColor = canvas.Brush().color;
  auto darken = [&] { canvas.Brush().color = Darken(ColorToRGB(brushColor), 64); };
  auto restore = [&] { canvas.Brush().color = brushColor; };

  if (stairs_ && !invertedStairs_) {
    canvas.DrawFloorPlane(previous_.x, previous_.y, p.x, front, back);
    if (dark3D_) darken();
    canvas.DrawSidePlane(p.x, p.y, previous_.y, front, back);
    restore();
    return;
  }
  if (stairs_) {
    if (dark3D_) darken();
    canvas.DrawSidePlane(previous_.x, previous_.y, p.y, front, back);
    restore();
    canvas.DrawFloorPlane(p.x, p.y, previous_.x, front, back);
    return;
  }
  const bool thick = lineHeight_ > 0 && !drawArea_;
  if (thick) {
    canvas.DrawQuadBetweenDepths({p.x, p.y}, {previous_.x, previous_.y}, {previous_.x, previous_.y + lineHeight_},
                                 {p.x, p.y + lineHeight_}, front, front);
    if (isLast) canvas.DrawSidePlane(p.x, p.y, p.y + lineHeight_, front, back);
  }
  int y = p.y, previousY = previous_.y;
  if (dark3D_ && p.x != previous_.x && darkSlope_ != 0) {
    const double slope = static_cast<double>(previous_.y - p.y) / (p.x - previous_.x);
    if (slope > darkSlope_) {
      // A segment steeper than the depth shows its underside.
      darken();
      if (thick) {
        y += lineHeight_;
        previousY += lineHeight_;
      }
    }
  }
  canvas.DrawDepthPlane({p.x, y}, {previous_.x, previousY}, front, back);
  restore();
}

void TCustomSeries::DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  Marks().SetZPosition(StartZ());
  const int lift = Marks().ArrowLength();
  position.BoxLeftTop.y -= lift;
  position.ArrowEnd.y -= lift;
  Marks().DrawMarkAt(index, PointColor(index), position, text);
}


}  // namespace plot
