// Arrow series: the shape of each arrow on screen, drawing, hit test, marks,
// legend symbol and sample arrows.
#include "plot/series/arrow_series.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <stdexcept>
#include <vector>

#include "plot/axes/chart_axis.h"
#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_exceptions.h"
#include "runtime/rounding.h"
#include "plot/series/series_marks.h"

namespace plot {

namespace {

int Round(double value) { return static_cast<int>(runtime::RoundHalfEven(value)); }

}  // namespace

TArrowSeries::TArrowSeries()
    : endX_(std::make_unique<TChartValueList>(this, "EndX")),
      endY_(std::make_unique<TChartValueList>(this, "EndY")),
      pen_(CreateChartPen()) {
  pen_->SetColor(clAutoColor);
  brush_.OnChange = [this] { RequestRepaint(); };
  SetLimitToVisibleRange(false);
}

TArrowSeries::~TArrowSeries() {
  UnregisterValueList(endX_.get());
  UnregisterValueList(endY_.get());
}

// ---- points

int TArrowSeries::AddArrow(double x0, double y0, double x1, double y1, const std::string& label, Color color) {
  endX_->SetPendingValue(x1);
  endY_->SetPendingValue(y1);
  staged_ = true;
  return AddPointXY(x0, y0, label, color);
}

int TArrowSeries::AddPointXY(double x, double y, const std::string& label, Color color) {
  if (!staged_) {
    endX_->SetPendingValue(x);
    endY_->SetPendingValue(y);
  }
  staged_ = false;
  return TChartSeries::AddPointXY(x, y, label, color);
}

int TArrowSeries::CopyPointFrom(TChartSeries& source, int index) {
  const int at = TChartSeries::CopyPointFrom(source, index);
  // A source without ends gives arrows of no length, not arrows to 0.
  if (source.ValueLists().size() < 4) {
    endX_->RemoveAt(at);
    endX_->InsertAt(at, XValues().ValueAt(at));
    endY_->RemoveAt(at);
    endY_->InsertAt(at, YValues().ValueAt(at));
  }
  return at;
}

void TArrowSeries::FillSampleValues(int count) {
  if (count <= 0) throw std::invalid_argument("FillSampleValues NumValues must be > 0");
  ClearPoints();
  const double x0 = SampleStartX();
  AddSampleValues([&] {
    for (int i = 0; i < count; ++i) {
      // Starts along a wave; each arrow turns a little further than the last.
      const double x = x0 + i, y = 500 + 250 * std::sin(i * 0.6);
      const double angle = 0.9 * i;
      endX_->SetPendingValue(x + 0.8 * std::cos(angle));
      endY_->SetPendingValue(y + 200 * std::sin(angle));
      staged_ = true;
      AddPointXY(x, y);
    }
  });
}

// ---- settings

void TArrowSeries::SetHeadWidth(int value) {
  if (value < 0) throw ChartException("Arrow head size must be >= 0");
  if (headWidth_ == value) return;
  headWidth_ = value;
  RequestRepaint();
}

void TArrowSeries::SetHeadLength(int value) {
  if (value < 0) throw ChartException("Arrow head size must be >= 0");
  if (headLength_ == value) return;
  headLength_ = value;
  RequestRepaint();
}

// ---- geometry

TArrowSeries::Shape TArrowSeries::ShapeBetween(Point from, Point to, int headWidth, int headLength) {
  Shape shape;
  shape.from = from;
  shape.to = to;
  const double dx = to.x - from.x, dy = to.y - from.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length <= 0) return shape;
  shape.empty = false;
  const double head = std::min<double>(length, headLength);
  const double ux = dx / length, uy = dy / length;
  // Across the shaft: a quarter turn from its direction.
  const double nx = -uy, ny = ux;
  const double bx = to.x - head * ux, by = to.y - head * uy;
  const double half = headWidth / 2.0;
  shape.base = {Round(bx), Round(by)};
  shape.head = {Point{Round(bx + nx * half), Round(by + ny * half)}, to,
                Point{Round(bx - nx * half), Round(by - ny * half)}};
  return shape;
}

TArrowSeries::Shape TArrowSeries::ShapeOf(int index) const {
  const TCustomChartAxis* horiz = GetHorizAxis();
  const TCustomChartAxis* vert = GetVertAxis();
  if (horiz == nullptr || vert == nullptr) return {};
  const Point from{CalcXPos(index), CalcYPos(index)};
  const Point to{horiz->ValueToPixel(endX_->ValueAt(index)), vert->ValueToPixel(endY_->ValueAt(index))};
  return ShapeBetween(from, to, headWidth_, headLength_);
}

double TArrowSeries::MinXValue() const { return std::min(XValues().LowestValue(), endX_->LowestValue()); }
double TArrowSeries::MaxXValue() const { return std::max(XValues().HighestValue(), endX_->HighestValue()); }
double TArrowSeries::MinYValue() const { return std::min(YValues().LowestValue(), endY_->LowestValue()); }
double TArrowSeries::MaxYValue() const { return std::max(YValues().HighestValue(), endY_->HighestValue()); }

void TArrowSeries::HorizMargins(int& left, int& right) { left = right = (headWidth_ + 1) / 2; }

void TArrowSeries::VertMargins(int& top, int& bottom) { top = bottom = (headWidth_ + 1) / 2; }

// ---- drawing

void TArrowSeries::DrawShape(const Shape& shape, Color color, int z) {
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  canvas.ApplyChartPen(*pen_);
  if (pen_->Visible()) {
    chart.CheckPenWidth(canvas.Pen());
    if (pen_->Color() == clAutoColor) canvas.Pen().color = color;
  }
  const bool open = brush_.Style() == platform::BrushStyle::Clear && !brush_.Bitmap();
  // An open head leaves the shaft's end in view; a filled one covers it.
  const Point shaftEnd = open ? shape.to : shape.base;
  canvas.DrawLineAtDepth(shape.from.x, shape.from.y, shaftEnd.x, shaftEnd.y, z);
  if (open) {
    canvas.DrawLineAtDepth(shape.head[1].x, shape.head[1].y, shape.head[0].x, shape.head[0].y, z);
    canvas.DrawLineAtDepth(shape.head[1].x, shape.head[1].y, shape.head[2].x, shape.head[2].y, z);
    return;
  }
  if (brush_.Bitmap()) {
    canvas.Brush().bitmap = brush_.Bitmap();
  } else {
    chart.SetBrushCanvas(brush_.Color() == clAutoColor ? color : brush_.Color(), brush_.Style(), chart.Color());
  }
  if (chart.View3D()) {
    canvas.DrawTriangleAtDepth(shape.head[0], shape.head[1], shape.head[2], z);
  } else {
    canvas.DrawPolygon(shape.head, 2);
  }
}

void TArrowSeries::DrawValue(int index) {
  if (ParentChart() == nullptr) return;
  const Color color = PointColor(index);
  if (color == clNone) return;
  const Shape shape = ShapeOf(index);
  if (!shape.empty) DrawShape(shape, color, MiddleZ());
}

int TArrowSeries::ClickedPoint(int x, int y) {
  if (ParentChart() != nullptr) ParentChart()->Canvas().UnprojectPoint(x, y, MiddleZ());
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0) return -1;
  const Point p{x, y};
  for (int t = std::min(last, PointCount() - 1); t >= first; --t) {
    if (PointColor(t) == clNone) continue;
    const Shape shape = ShapeOf(t);
    if (shape.empty) continue;
    if (hit_test::PointInLine(p, shape.from, shape.to) ||
        hit_test::PointInPolygon(p, std::vector<Point>(shape.head.begin(), shape.head.end())))
      return t;
  }
  return -1;
}

void TArrowSeries::DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  const Shape shape = ShapeOf(index);
  const int dx = shape.to.x - position.ArrowStart.x, dy = shape.to.y - position.ArrowStart.y;
  for (Point* p : {&position.ArrowStart, &position.ArrowEnd, &position.BoxLeftTop}) {
    p->x += dx;
    p->y += dy;
  }
  const int lift = Marks().ArrowLength();
  position.ArrowEnd.y -= lift;
  position.BoxLeftTop.y -= lift;
  Marks().SetZPosition(MiddleZ());
  Marks().DrawMarkAt(index, PointColor(index), position, text);
}

void TArrowSeries::DrawLegendShape(int index, const Rect& rect) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  const Color color = index == -1 ? SeriesColor() : LegendItemColor(index);
  const int middle = (rect.top + rect.bottom) / 2;
  const Shape shape = ShapeBetween({rect.left, middle}, {rect.right, middle}, std::min(headWidth_, rect.Height()),
                                   std::min(headLength_, rect.Width() / 2));
  // The legend is drawn flat, so the depth is ignored.
  if (!shape.empty) DrawShape(shape, color, 0);
}

}  // namespace plot
