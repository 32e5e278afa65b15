// Bubble series: circles sized in axis units, their ranges and margins, hit
// test, marks and sample bubbles.
#include "plot/series/bubble_series.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>
#include <stdexcept>

#include "plot/axes/chart_axis.h"
#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/axis_panel.h"
#include "plot/series/series_marks.h"

namespace plot {

TBubbleSeries::TBubbleSeries() : radius_(std::make_unique<TChartValueList>(this, "Radius")) {
  Pointer().SetStyle(psCircle);
  SetLimitToVisibleRange(false);
  SetColorEachPoint(true);
}

TBubbleSeries::~TBubbleSeries() { UnregisterValueList(radius_.get()); }

bool TBubbleSeries::SameClassOrBase(const TChartSeries& other) const {
  return dynamic_cast<const TBubbleSeries*>(&other) != nullptr;
}

// ---- points

int TBubbleSeries::AddBubble(double x, double y, double radius, const std::string& label, Color color) {
  radius_->SetPendingValue(radius);
  staged_ = true;
  return AddPointXY(x, y, label, color);
}

int TBubbleSeries::AddPointXY(double x, double y, const std::string& label, Color color) {
  if (!staged_) radius_->SetPendingValue(0);
  staged_ = false;
  return TPointSeries::AddPointXY(x, y, label, color);
}

void TBubbleSeries::FillSampleValues(int count) {
  if (count <= 0) throw std::invalid_argument("FillSampleValues NumValues must be > 0");
  ClearPoints();
  const double x0 = SampleStartX();
  std::minstd_rand random(static_cast<unsigned>(count) * 7919u + 17u);
  std::uniform_real_distribution<double> step(-200.0, 200.0), size(20.0, 60.0);
  AddSampleValues([&] {
    double y = 500;
    for (int i = 0; i < count; ++i) {
      y = std::clamp(y + step(random), 150.0, 850.0);
      radius_->SetPendingValue(size(random));
      staged_ = true;
      AddPointXY(x0 + i, y);
    }
  });
}

// ---- geometry

int TBubbleSeries::RadiusPixels(int index) const {
  const TCustomChartAxis* vert = GetVertAxis();
  if (vert == nullptr) return 0;
  const double r = std::fabs(radius_->ValueAt(index));
  return std::max(1, std::abs(vert->SpanToPixels(r)));
}

double TBubbleSeries::MinYValue() const {
  if (PointCount() == 0) return TPointSeries::MinYValue();
  double lowest = YValueAt(0) - std::fabs(radius_->ValueAt(0));
  for (int i = 1; i < PointCount(); ++i) lowest = std::min(lowest, YValueAt(i) - std::fabs(radius_->ValueAt(i)));
  return lowest;
}

double TBubbleSeries::MaxYValue() const {
  if (PointCount() == 0) return TPointSeries::MaxYValue();
  double highest = YValueAt(0) + std::fabs(radius_->ValueAt(0));
  for (int i = 1; i < PointCount(); ++i) highest = std::max(highest, YValueAt(i) + std::fabs(radius_->ValueAt(i)));
  return highest;
}

void TBubbleSeries::HorizMargins(int& left, int& right) {
  // The vertical axis is laid out before the horizontal one takes its
  // margins, so the radii in pixels are those of this paint.
  int widest = 0;
  for (int i = 0; i < PointCount(); ++i) widest = std::max(widest, RadiusPixels(i));
  left = right = PointCount() > 0 ? widest + 1 : 0;
}

void TBubbleSeries::VertMargins(int& top, int& bottom) {
  // The range already holds the bubbles; one pixel keeps their outline
  // clear of the plot's clip.
  top = bottom = PointCount() > 0 ? 1 : 0;
}

// ---- drawing

void TBubbleSeries::DrawAllValues() { TChartSeries::DrawAllValues(); }

void TBubbleSeries::DrawValue(int index) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || !Pointer().Visible()) return;
  const Color color = PointColor(index);
  if (color == clNone) return;
  const int r = RadiusPixels(index);
  TPlotCanvas3D& canvas = chart->Canvas();
  Pointer().PrepareCanvas(canvas, color);
  const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(*this, index) : Pointer().Style();
  Pointer().Draw(canvas, chart->View3D(), CalcXPos(index), CalcYPos(index), r, r, color, style);
}

int TBubbleSeries::ClickedPoint(int x, int y) {
  if (ParentChart() != nullptr) ParentChart()->Canvas().UnprojectPoint(x, y, StartZ());
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0 || !Pointer().Visible()) return -1;
  for (int t = std::min(last, PointCount() - 1); t >= first; --t) {
    if (PointColor(t) == clNone) continue;
    const int cx = CalcXPos(t), cy = CalcYPos(t), r = RadiusPixels(t);
    if (hit_test::PointInEllipse({x, y}, {cx - r, cy - r, cx + r, cy + r})) {
      if (OnClickPointer) OnClickPointer(*this, t, x, y);
      return t;
    }
  }
  return -1;
}

void TBubbleSeries::DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  const int r = RadiusPixels(index);
  for (Point* p : {&position.ArrowStart, &position.ArrowEnd, &position.BoxLeftTop}) p->y -= r;
  TPointSeries::DrawMark(index, text, position);
}

void TBubbleSeries::DrawLegendShape(int index, const Rect& rect) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  const Color color = index == -1 ? SeriesColor() : LegendItemColor(index);
  TPlotCanvas3D& canvas = chart->Canvas();
  Pointer().PrepareCanvas(canvas, color);
  const int h = std::max(1, (rect.right - rect.left) / 2), v = std::max(1, (rect.bottom - rect.top) / 2);
  const int r = std::min(h, v);
  Pointer().Draw(canvas, false, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, r, r, color,
                 Pointer().Style());
}

}  // namespace plot
