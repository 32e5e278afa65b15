// Line-kind series: axis margins, the hit test, the legend symbol and
// assignment.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "plot/axes/chart_axis.h"
#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/axis_panel.h"
#include "plot/series/custom_series.h"
#include "plot/series/series_assign.h"
#include "plot/series/series_marks.h"

namespace plot {

void TCustomSeries::HorizMargins(int& left, int& right) {
  TChartSeries::HorizMargins(left, right);
  pointer_->CalcHorizMargins(left, right);
  if (stairs_ && connectPoints_) {
    left = std::max(left, linePen_->Width());
    right = std::max(right, linePen_->Width());
  }
}

void TCustomSeries::VertMargins(int& top, int& bottom) {
  TChartSeries::VertMargins(top, bottom);
  pointer_->CalcVerticalMargins(top, bottom);
  if (stairs_ && connectPoints_) {
    top = std::max(top, linePen_->Width());
    bottom = std::max(bottom, linePen_->Width() + 1);
  }
  // The 3D band hangs below its points.
  if (lineHeight_ > 0 && !drawArea_) bottom = std::max(bottom, lineHeight_);
}

int TCustomSeries::ClickedPoint(int x, int y) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart != nullptr) chart->Canvas().UnprojectPoint(x, y, StartZ());
  const int found = TChartSeries::ClickedPoint(x, y);
  if (found != -1) return found;
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0 || last < 0) return -1;

  const Point p{x, y};
  const bool is3D = Is3D();
  int dx = 0, dy = 0;
  SeriesOffset3D(dx, dy);
  Point before;
  int beforeOrigin = 0;
  for (int t = first; t <= last && t < PointCount(); ++t) {
    const Point at{CalcXPos(t), CalcYPos(t)};
    // Stacked areas stand on a different origin at every point.
    const int atOrigin = drawArea_ ? OriginPixel(t) : 0;
    if (pointer_->Visible() && std::abs(at.x - x) < pointer_->HorizSize() && std::abs(at.y - y) < pointer_->VertSize()) {
      if (OnClickPointer) OnClickPointer(*this, t, x, y);
      return t;
    }
    if (at == p) return t;
    if (t != first && hitTestLine_) {
      bool hit = false;
      if (is3D) {
        hit = hit_test::PointInPolygon(p, {at, {at.x + dx, at.y - dy}, {before.x + dx, before.y - dy}, before});
      } else if (stairs_) {
        if (invertedStairs_) {
          hit = hit_test::PointInLine(p, before, {before.x, at.y}) || hit_test::PointInLine(p, {before.x, at.y}, at);
        } else {
          hit = hit_test::PointInLine(p, before, {at.x, before.y}) || hit_test::PointInLine(p, {at.x, before.y}, at);
        }
      } else {
        hit = hit_test::PointInLine(p, before, at);
      }
      if (!hit && drawArea_) {
        // The filled area under the segment, with its steps when stairs.
        std::vector<Point> area{before};
        if (stairs_) area.push_back(invertedStairs_ ? Point{before.x, at.y} : Point{at.x, before.y});
        area.insert(area.end(), {at, {at.x, atOrigin}});
        if (stairs_) area.push_back(invertedStairs_ ? Point{before.x, atOrigin} : Point{at.x, beforeOrigin});
        area.push_back({before.x, beforeOrigin});
        hit = hit_test::PointInPolygon(p, area);
      }
      if (hit) return t - 1;
    }
    before = at;
    beforeOrigin = atOrigin;
  }
  return -1;
}

void TCustomSeries::PrepareLegendCanvas(int /*index*/, Color& /*background*/, platform::BrushStyle& style) {
  if (ParentChart() != nullptr) ParentChart()->Canvas().ApplyChartPen(*linePen_);
  style = lineBrush_;
}

void TCustomSeries::DrawLegendShape(int index, const Rect& rect) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  TPlotCanvas3D& canvas = chart->Canvas();
  const Color color = index == -1 ? SeriesColor() : LegendItemColor(index);
  const int middleY = (rect.top + rect.bottom) / 2;
  auto middleLine = [&] {
    canvas.ApplyChartPen(*linePen_);
    canvas.Pen().color = color;
    canvas.DrawHorizontalLine(rect.left, rect.right, middleY);
  };
  if (pointer_->Visible()) {
    if (connectPoints_) middleLine();
    const int width = rect.Width(), height = rect.Height();
    // A visible line leaves room beside the marker.
    const int h = linePen_->Visible() ? std::min(pointer_->HorizSize(), width / 3)
                                      : std::min(pointer_->HorizSize(), width / 2 + 1);
    const int v = linePen_->Visible() ? std::min(pointer_->VertSize(), height / 3)
                                      : std::min(pointer_->VertSize(), height / 2 + 1);
    pointer_->PrepareCanvas(canvas, color);
    pointer_->Draw(canvas, false, (rect.left + rect.right) / 2, middleY, h, v, color, pointer_->Style());
    return;
  }
  if (connectPoints_ && !drawArea_) {
    if (!chart->View3D()) {
      middleLine();
      return;
    }
    canvas.ApplyChartPen(*linePen_);
    canvas.Brush().style = lineBrush_;
    canvas.Brush().color = color;
    canvas.DrawRectangleRect(rect);
    return;
  }
  TChartSeries::DrawLegendShape(index, rect);
}

void TCustomSeries::Assign(const TChartSeries& source) {
  if (const auto* other = dynamic_cast<const TCustomSeries*>(&source)) {
    SetHitTestLine(other->hitTestLine_);
    SetAreaBrush(other->areaBrush_);
    SetAreaColor(other->areaColor_);
    areaLinesPen_->Assign(*other->areaLinesPen_);
    SetDark3D(other->dark3D_);
    SetDrawArea(other->drawArea_);
    SetConnectPoints(other->connectPoints_);
    SetInvertedStairs(other->invertedStairs_);
    linePen_->Assign(*other->linePen_);
    SetLineBrush(other->lineBrush_);
    SetLineHeight(other->lineHeight_);
    pointer_->Assign(*other->pointer_);
    SetStairs(other->stairs_);
  }
  AssignSeriesCommon(*this, source);
}

}  // namespace plot
