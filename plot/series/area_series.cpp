// Area series: origins and stacking, the axis range they need, and the
// fill below each run of segments.
#include "plot/series/area_series.h"

#include <algorithm>

#include "plot/axes/chart_axis.h"
#include "plot/chart/axis_panel.h"
#include "plot/surface/plot_canvas_3d.h"

namespace plot {

TAreaSeries::TAreaSeries() {
  SetDrawArea(true);
  SetConnectPoints(true);
  Pointer().SetVisible(false);
  AreaLinesPen().SetVisible(false);
}

bool TAreaSeries::SameClassOrBase(const TChartSeries& other) const {
  return dynamic_cast<const TAreaSeries*>(&other) != nullptr;
}

// ---- properties

void TAreaSeries::SetMultiArea(TMultiArea value) {
  multiArea_ = value;
  if (ParentChart() != nullptr) {
    for (TChartSeries* s : ParentChart()->SeriesList()) {
      if (auto* area = dynamic_cast<TAreaSeries*>(s)) area->multiArea_ = value;
    }
  }
  RequestRepaint();
}

void TAreaSeries::SetUseYOrigin(bool value) {
  if (useYOrigin_ == value) return;
  useYOrigin_ = value;
  RequestRepaint();
}

void TAreaSeries::SetYOrigin(double value) {
  if (yOrigin_ == value) return;
  yOrigin_ = value;
  RequestRepaint();
}

void TAreaSeries::Assign(const TChartSeries& source) {
  TCustomSeries::Assign(source);
  if (const auto* other = dynamic_cast<const TAreaSeries*>(&source)) {
    SetMultiArea(other->multiArea_);
    SetUseYOrigin(other->useYOrigin_);
    SetYOrigin(other->yOrigin_);
  }
  SetDrawArea(true);
  SetConnectPoints(true);
}

// ---- origins and stacking

double TAreaSeries::PointOrigin(int index) const {
  if (multiArea_ != maNone) return SumOfOrigins(index, false);
  return useYOrigin_ ? yOrigin_ : 0;
}

double TAreaSeries::StackTotal(int index) const { return SumOfOrigins(index, true); }

double TAreaSeries::StackedValue(int index, double value) const {
  if (multiArea_ != maStacked100) return value;
  const double total = StackTotal(index);
  // A column that sums to nothing lies on 0.
  return total == 0 ? 0 : value * 100 / total;
}

int TAreaSeries::PixelOf(double value) const {
  return GetVertAxis() != nullptr ? GetVertAxis()->ValueToPixel(value) : 0;
}

int TAreaSeries::CalcYPos(int index) const {
  if (multiArea_ == maNone) return TCustomSeries::CalcYPos(index);
  return PixelOf(StackedValue(index, YValueAt(index) + PointOrigin(index)));
}

int TAreaSeries::OriginPixel(int index) const {
  const TCustomChartAxis* axis = GetVertAxis();
  if (axis == nullptr) return 0;
  if (multiArea_ != maNone) return PixelOf(StackedValue(index, PointOrigin(index)));
  if (useYOrigin_) return axis->ValueToPixel(yOrigin_);
  // Down to the axis: where its low values lie.
  return axis->Inverted() ? axis->StartPixel() : axis->EndPixel();
}

double TAreaSeries::MaxYValue() const {
  if (multiArea_ == maStacked100) return 100;
  double result = TCustomSeries::MaxYValue();
  if (multiArea_ == maStacked) {
    for (int i = 0; i < PointCount(); ++i) {
      const double origin = PointOrigin(i);
      result = std::max({result, origin, origin + YValueAt(i)});
    }
  } else if (useYOrigin_ && PointCount() > 0) {
    result = std::max(result, yOrigin_);
  }
  return result;
}

double TAreaSeries::MinYValue() const {
  if (multiArea_ == maStacked100) return 0;
  double result = TCustomSeries::MinYValue();
  if (multiArea_ == maStacked) {
    for (int i = 0; i < PointCount(); ++i) {
      const double origin = PointOrigin(i);
      result = std::min({result, origin, origin + YValueAt(i)});
    }
  } else if (useYOrigin_ && PointCount() > 0) {
    result = std::min(result, yOrigin_);
  }
  return result;
}

void TAreaSeries::CalcZOrder() {
  if (multiArea_ != maNone && ParentChart() != nullptr) {
    for (TChartSeries* s : ParentChart()->SeriesList()) {
      if (s == this) break;
      if (s->Active() && SameKindAs(*s)) {
        SetComputedZOrder(s->ComputedZOrder());
        return;
      }
    }
  }
  TCustomSeries::CalcZOrder();
}

// ---- drawing

void TAreaSeries::DrawAllValues() {
  top_.clear();
  bottom_.clear();
  dataPoint_.clear();
  TCustomSeries::DrawAllValues();
  FlushRun();
}

void TAreaSeries::FillAreaSegment(Point from, Point to, int fromOrigin, int toOrigin, Color color, bool isLast) {
  const Color fill = AreaColorFor(color);
  // The step's corner on the top edge and on the origin below it.
  const bool stairs = Stairs();
  const Point corner = InvertedStairs() ? Point{from.x, to.y} : Point{to.x, from.y};
  const Point cornerOrigin = InvertedStairs() ? Point{from.x, toOrigin} : Point{to.x, fromOrigin};
  TCustomAxisPanel& chart = *ParentChart();

  if (chart.View3D()) {
    std::vector<Point> outline{from};
    if (stairs) outline.push_back(corner);
    outline.insert(outline.end(), {to, {to.x, toOrigin}});
    if (stairs) outline.push_back(cornerOrigin);
    outline.push_back({from.x, fromOrigin});
    FillFrontFace(outline, fill);
    TPlotCanvas3D& canvas = chart.Canvas();
    canvas.ApplyChartPen(LinePen());
    if (stairs) {
      canvas.DrawLineAtDepth(from.x, from.y, corner.x, corner.y, StartZ());
      canvas.DrawLineAtDepth(corner.x, corner.y, to.x, to.y, StartZ());
    } else {
      canvas.DrawLineAtDepth(from.x, from.y, to.x, to.y, StartZ());
    }
    if (isLast) {
      // The slab's right end.
      canvas.Brush().color = Dark3D() ? Darken(ColorToRGB(fill), 64) : fill;
      canvas.Brush().style = AreaBrush();
      canvas.DrawSidePlane(to.x, to.y, toOrigin, StartZ(), EndZ());
    }
    return;
  }

  if (!top_.empty() && (fill != runColor_ || top_.back() != from)) FlushRun();
  if (top_.empty()) {
    top_.push_back(from);
    bottom_.push_back({from.x, fromOrigin});
    dataPoint_.push_back(1);
    runColor_ = fill;
  }
  if (stairs) {
    top_.push_back(corner);
    bottom_.push_back(cornerOrigin);
    dataPoint_.push_back(0);
  }
  top_.push_back(to);
  bottom_.push_back({to.x, toOrigin});
  dataPoint_.push_back(1);
  if (isLast) FlushRun();
}

void TAreaSeries::FillFrontFace(const std::vector<Point>& outline, Color fill) {
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  canvas.Pen().style = platform::PenStyle::Clear;
  chart.SetBrushCanvas(fill, AreaBrush(), chart.Color());
  std::vector<Point> projected;
  projected.reserve(outline.size());
  for (const Point& p : outline) projected.push_back(canvas.ProjectPoint(p.x, p.y, StartZ()));
  canvas.DrawPolygon(projected, static_cast<int>(projected.size()) - 1);
}

void TAreaSeries::FlushRun() {
  if (top_.size() >= 2) {
    TCustomAxisPanel& chart = *ParentChart();
    TPlotCanvas3D& canvas = chart.Canvas();
    // The top edge left to right, then the origin right to left.
    std::vector<Point> outline = top_;
    outline.insert(outline.end(), bottom_.rbegin(), bottom_.rend());
    FillFrontFace(outline, runColor_);
    if (AreaLinesPen().Visible()) {
      canvas.ApplyChartPen(AreaLinesPen());
      chart.CheckPenWidth(canvas.Pen());
      for (std::size_t i = 0; i < top_.size(); ++i) {
        if (dataPoint_[i] != 0) canvas.DrawLine(top_[i].x, top_[i].y, bottom_[i].x, bottom_[i].y);
      }
    }
    if (LinePen().Visible()) {
      canvas.ApplyChartPen(LinePen());
      chart.CheckPenWidth(canvas.Pen());
      canvas.Brush().style = platform::BrushStyle::Clear;
      canvas.Ref().Polyline(top_);
    }
  }
  top_.clear();
  bottom_.clear();
  dataPoint_.clear();
}

void TAreaSeries::PrepareLegendCanvas(int /*index*/, Color& /*background*/, platform::BrushStyle& style) {
  if (ParentChart() != nullptr) ParentChart()->Canvas().ApplyChartPen(LinePen());
  style = AreaBrush();
}

}  // namespace plot
