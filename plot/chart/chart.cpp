// The chart's layout steps: titles and legend, axis room and the plotting
// rectangle, series margins, and the walls.
#include "plot/chart/chart.h"

#include <algorithm>

#include "plot/chart/chart_series.h"
#include "runtime/rounding.h"

namespace plot {

namespace {

int Round(double value) { return static_cast<int>(runtime::RoundHalfEven(value)); }

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

}  // namespace

TCustomChart::TCustomChart()
    : title_(std::make_unique<TChartTitle>(this)),
      foot_(std::make_unique<TChartTitle>(this)),
      backWall_(std::make_unique<TChartWall>(this, clAutoColor)),
      leftWall_(std::make_unique<TChartWall>(this, 0x80FFFF)),
      bottomWall_(std::make_unique<TChartWall>(this, clWhite)),
      legend_(std::make_unique<TChartLegend>(this)) {
  const bool autoRepaint = AutoRepaint();
  SetAutoRepaint(false);
  backWall_->Brush().SetStyle(platform::BrushStyle::Clear);
  SetAutoRepaint(autoRepaint);
}

TCustomChart::~TCustomChart() {
  SetAutoRepaint(false);
  RemoveAllSeries();
}

void TCustomChart::SetBackImageInside(bool value) {
  if (backImageInside_ == value) return;
  backImageInside_ = value;
  Invalidate();
}

plot::Color TCustomChart::BackColor() const { return backWall_->Color(); }

void TCustomChart::SetBackColor(plot::Color value) {
  backWall_->SetColor(value);
  if (Host() != nullptr && !Loading()) backWall_->Brush().SetStyle(platform::BrushStyle::Solid);
}

TChartPen& TCustomChart::Frame() { return backWall_->Pen(); }

std::string TCustomChart::FormattedValueLegend(const TChartSeries& series, int valueIndex) const {
  return series.LegendString(valueIndex, legend_->TextStyle());
}

bool TCustomChart::IsFreeSeriesColor(plot::Color color, bool checkBackground) const {
  for (TChartSeries* s : SeriesList()) {
    if (s->SeriesColor() == color) return false;
  }
  if (!checkBackground) return true;
  const plot::Color rgb = ColorToRGB(color);
  return rgb != ColorToRGB(Color()) && rgb != ColorToRGB(BackColor());
}

int TCustomChart::GetAxisSeparationWall(const TCustomChartAxis* axis) const {
  if (!View3D() || !View3DWalls()) return 0;
  if (axis == &const_cast<TCustomChart*>(this)->LeftAxis()) return leftWall_->Size();
  if (axis == &const_cast<TCustomChart*>(this)->BottomAxis()) return bottomWall_->Size();
  return 0;
}

void TCustomChart::DrawBackImage(const Rect& rect) {
  // An image inside the walls is drawn with the walls instead.
  if (!backImageInside_) TCustomAxisPanel::DrawBackImage(rect);
}

void TCustomChart::DrawTitlesAndLegend() {
  auto titles = [this] {
    if (title_->Visible()) title_->Draw(true);
    if (foot_->Visible()) foot_->Draw(false);
  };
  if (!legend_->Visible() || CountActiveSeries() == 0) {
    titles();
  } else if (legend_->Vertical()) {
    legend_->Draw();
    titles();
  } else {
    titles();
    legend_->Draw();
  }
}

void TCustomChart::CalcAxisRect() {
  for (TCustomChartAxis* axis : Axes()) axis->RefreshRange();
  if (View3D()) {
    int seriesDepth = Round(ChartWidth() * Chart3DPercent() * 0.001);
    if (!View3DOptions().Orthogonal()) seriesDepth *= 2;
    const int total = seriesDepth * (DepthStacking() ? std::max(1, MaxZOrder() + 1) : 1);
    SetSeriesDepth(seriesDepth, total, total);
    if (View3DOptions().Orthogonal()) {
      const int d = total + (View3DWalls() ? backWall_->Size() : 0);
      Rect r = ChartRect();
      r.right -= d;
      r.top += d;
      SetChartRect(r);
    }
  } else {
    SetSeriesDepth(0, 0, 0);
  }
  RecalcWidthHeight();
  const Rect start = ChartRect();
  Rect result = start;
  for (TCustomChartAxis* axis : Axes()) {
    if (!IsAxisShown(axis)) continue;
    Rect r = start;
    axis->ReserveRoom(r, IsBuiltInAxis(axis));
    result = Intersect(result, r);
  }
  SetChartRect(result);
  RecalcWidthHeight();
  for (TCustomChartAxis* axis : Axes()) axis->PlaceAlongChart();
}

void TCustomChart::CalcSeriesRect() {
  for (TCustomChartAxis* axis : {static_cast<TCustomChartAxis*>(&TopAxis()), static_cast<TCustomChartAxis*>(&LeftAxis()),
                                 static_cast<TCustomChartAxis*>(&RightAxis()),
                                 static_cast<TCustomChartAxis*>(&BottomAxis())}) {
    int a = 0, b = 0;
    for (TChartSeries* s : SeriesList()) {
      if (!s->Active() || !s->UsesAxis(axis)) continue;
      int m0 = 0, m1 = 0;
      if (axis->IsHorizontal()) {
        s->HorizMargins(m0, m1);
        if (axis->AutomaticMinimum()) a = std::max(a, m0);
        if (axis->AutomaticMaximum()) b = std::max(b, m1);
      } else {
        s->VertMargins(m0, m1);
        if (axis->AutomaticMaximum()) a = std::max(a, m0);
        if (axis->AutomaticMinimum()) b = std::max(b, m1);
      }
    }
    axis->WidenRangeForMargins(a, b);
  }
}

void TCustomChart::DrawWalls() {
  const Rect& r = ChartRect();
  TPlotCanvas3D& canvas = Canvas();
  const int depth = Width3D();
  backWall_->Prepare();
  if (!View3D()) {
    canvas.DrawRectangle(r.left, r.top, r.right + 1, r.bottom);
  } else if (View3DWalls() && backWall_->Size() > 0) {
    canvas.DrawBox({r.left - leftWall_->Size(), r.top, r.right, r.bottom + bottomWall_->Size()}, depth,
                   depth + backWall_->Size(), backWall_->IsDark());
  } else {
    canvas.DrawRectangleAtDepth({r.left + 1, r.top - 1, r.right, r.bottom}, depth);
  }
  if (backImageInside_ && !BackImage().Empty()) {
    Rect inside = r;
    if (backWall_->Pen().Visible()) {
      ++inside.top;
      --inside.bottom;
    }
    DrawBackImageAt(inside, depth);
  }
  if (!View3D() || !View3DWalls()) return;
  leftWall_->Prepare();
  if (leftWall_->Size() > 0) {
    canvas.DrawBox({r.left - leftWall_->Size(), r.top, r.left, r.bottom}, 0, depth, leftWall_->IsDark());
  } else {
    canvas.DrawSidePlane(r.left, r.top, r.bottom, 0, depth + 1);
  }
  bottomWall_->Prepare();
  if (bottomWall_->Size() > 0) {
    canvas.DrawBox({r.left, r.bottom, r.right, r.bottom + bottomWall_->Size()}, 0, depth, bottomWall_->IsDark());
  } else {
    canvas.DrawFloorPlane(r.left, r.bottom, r.right, 0, depth + 1);
  }
}

}  // namespace plot
