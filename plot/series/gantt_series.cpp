// Gantt series: tasks as bars from start to end in their rows, the lines to
// the next task, hit test, marks and sample tasks.
#include "plot/series/gantt_series.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <stdexcept>
#include <vector>

#include "plot/axes/chart_axis.h"
#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_exceptions.h"
#include "plot/chart/chart_legend.h"
#include "runtime/rounding.h"
#include "plot/series/series_marks.h"

namespace plot {

TGanttSeries::TGanttSeries()
    : endValues_(std::make_unique<TChartValueList>(this, "End")),
      nextTask_(std::make_unique<TChartValueList>(this, "NextTask")),
      pen_(CreateChartPen()),
      connectingPen_(CreateChartPen()) {
  brush_.OnChange = [this] { RequestRepaint(); };
  XValues().SetName("Start");
  XValues().SetOrder(loNone);
  XValues().SetDateTime(true);
  endValues_->SetDateTime(true);
  SetLimitToVisibleRange(false);
  SetColorEachPoint(true);
}

TGanttSeries::~TGanttSeries() {
  UnregisterValueList(endValues_.get());
  UnregisterValueList(nextTask_.get());
}

// ---- points

int TGanttSeries::AddGantt(double start, double end, double y, const std::string& label, Color color) {
  endValues_->SetPendingValue(end);
  nextTask_->SetPendingValue(-1);
  staged_ = true;
  return AddPointXY(start, y, label, color);
}

int TGanttSeries::AddPointXY(double x, double y, const std::string& label, Color color) {
  if (!staged_) {
    endValues_->SetPendingValue(x);
    nextTask_->SetPendingValue(-1);
  }
  staged_ = false;
  return TChartSeries::AddPointXY(x, y, label, color);
}

int TGanttSeries::CopyPointFrom(TChartSeries& source, int index) {
  const int at = TChartSeries::CopyPointFrom(source, index);
  const std::size_t lists = source.ValueLists().size();
  // A source without ends or links gives tasks of no length and no next
  // task, not bars to 0 and links to the first task.
  if (lists < 3) {
    endValues_->RemoveAt(at);
    endValues_->InsertAt(at, XValues().ValueAt(at));
  }
  if (lists < 4) {
    nextTask_->RemoveAt(at);
    nextTask_->InsertAt(at, -1);
  }
  return at;
}

void TGanttSeries::FillSampleValues(int count) {
  if (count <= 0) throw std::invalid_argument("FillSampleValues NumValues must be > 0");
  ClearPoints();
  // Today (or 0 for plain numbers), then each task a day after the one
  // before it ends.
  double start = SampleStartX();
  static constexpr int kDays[] = {3, 2, 4, 3, 5, 2};
  AddSampleValues([&] {
    for (int i = 0; i < count; ++i) {
      const double end = start + kDays[i % 6];
      endValues_->SetPendingValue(end);
      nextTask_->SetPendingValue(i + 1 < count ? i + 1 : -1);
      staged_ = true;
      TChartSeries::AddPointXY(start, i, "Task " + std::to_string(i + 1));
      staged_ = false;
      start = end + 1;
    }
  });
}

// ---- settings

void TGanttSeries::SetBarHeightPercent(int value) {
  if (value < 1 || value > 100) throw ChartException("Bar Height Percent must be between 1 and 100");
  if (barHeightPercent_ == value) return;
  barHeightPercent_ = value;
  RequestRepaint();
}

void TGanttSeries::SetDark3D(bool value) {
  if (dark3D_ == value) return;
  dark3D_ = value;
  RequestRepaint();
}

// ---- geometry

double TGanttSeries::RowSpacing() const {
  std::vector<double> rows;
  rows.reserve(static_cast<std::size_t>(PointCount()));
  for (int i = 0; i < PointCount(); ++i) {
    const double y = YValueAt(i);
    if (std::isfinite(y)) rows.push_back(y);
  }
  std::sort(rows.begin(), rows.end());
  double spacing = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const double d = rows[i] - rows[i - 1];
    if (d > 0 && (spacing == 0 || d < spacing)) spacing = d;
  }
  return spacing > 0 ? spacing : 1.0;
}

double TGanttSeries::MinXValue() const { return std::min(XValues().LowestValue(), endValues_->LowestValue()); }

double TGanttSeries::MaxXValue() const { return std::max(XValues().HighestValue(), endValues_->HighestValue()); }

double TGanttSeries::MinYValue() const { return YValues().LowestValue() - RowSpacing() / 2; }

double TGanttSeries::MaxYValue() const { return YValues().HighestValue() + RowSpacing() / 2; }

void TGanttSeries::HorizMargins(int& left, int& right) {
  left = right = pen_->Visible() ? pen_->Width() + 1 : 1;
}

void TGanttSeries::BeforeChartDraw() { paintRowSpacing_ = RowSpacing(); }

int TGanttSeries::BarHeight() const {
  const TCustomChartAxis* vert = GetVertAxis();
  if (vert == nullptr) return 1;
  const double row = std::abs(vert->SpanToPixels(paintRowSpacing_));
  return std::max(1, static_cast<int>(runtime::RoundHalfEven(row * barHeightPercent_ * 0.01)));
}

Rect TGanttSeries::BarBounds(int index) const {
  const TCustomChartAxis* horiz = GetHorizAxis();
  const TCustomChartAxis* vert = GetVertAxis();
  if (horiz == nullptr || vert == nullptr) return {};
  const int x0 = horiz->ValueToPixel(XValueAt(index));
  const int x1 = horiz->ValueToPixel(endValues_->ValueAt(index));
  const int height = BarHeight();
  const int top = vert->ValueToPixel(YValueAt(index)) - height / 2;
  return {std::min(x0, x1), top, std::max(x0, x1), top + height};
}

int TGanttSeries::NextTaskOf(int index) const {
  const double v = nextTask_->ValueAt(index);
  // Any value can arrive here (a data source, a file): only a whole index
  // of another task links.
  if (!std::isfinite(v) || v < 0 || v >= PointCount() || v != std::floor(v)) return -1;
  const int next = static_cast<int>(v);
  return next == index ? -1 : next;
}

// ---- drawing

void TGanttSeries::DrawValue(int index) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  const Color color = PointColor(index);
  if (color == clNone) return;
  DrawConnection(index);
  TPlotCanvas3D& canvas = chart->Canvas();
  canvas.ApplyChartPen(*pen_);
  if (pen_->Visible()) chart->CheckPenWidth(canvas.Pen());
  if (brush_.Bitmap()) {
    canvas.Brush().bitmap = brush_.Bitmap();
  } else {
    chart->SetBrushCanvas(color, brush_.Style(), brush_.Color() == clAutoColor ? chart->Color() : brush_.Color());
  }
  const Rect r = BarBounds(index);
  if (chart->View3D()) {
    canvas.DrawBox(r, StartZ(), EndZ(), dark3D_);
  } else {
    canvas.DrawRectangle(r.left, r.top, r.right, r.bottom);
  }
}

void TGanttSeries::DrawConnection(int index) {
  const int next = NextTaskOf(index);
  if (next < 0 || PointColor(next) == clNone || !connectingPen_->Visible()) return;
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  canvas.ApplyChartPen(*connectingPen_);
  chart.CheckPenWidth(canvas.Pen());
  canvas.Brush().style = platform::BrushStyle::Clear;
  const Rect a = BarBounds(index), b = BarBounds(next);
  const int ya = (a.top + a.bottom) / 2, yb = (b.top + b.bottom) / 2;
  std::vector<Point> path{{a.right, ya}};
  if (b.left >= a.right) {
    const int middle = (a.right + b.left) / 2;
    path.insert(path.end(), {{middle, ya}, {middle, yb}});
  }
  path.push_back({b.left, yb});
  const int z = StartZ();
  canvas.MoveToPointAtDepth(path[0].x, path[0].y, z);
  for (std::size_t i = 1; i < path.size(); ++i) canvas.LineToPointAtDepth(path[i].x, path[i].y, z);
}

int TGanttSeries::ClickedPoint(int x, int y) {
  if (ParentChart() != nullptr) ParentChart()->Canvas().UnprojectPoint(x, y, StartZ());
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0) return -1;
  // Later bars cover earlier ones.
  for (int t = std::min(last, PointCount() - 1); t >= first; --t) {
    if (PointColor(t) == clNone) continue;
    const Rect r = BarBounds(t);
    if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) return t;
  }
  return -1;
}

void TGanttSeries::DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  const Rect r = BarBounds(index);
  const int dx = (r.left + r.right) / 2 - position.ArrowStart.x;
  const int dy = r.top - position.ArrowStart.y;
  for (Point* p : {&position.ArrowStart, &position.ArrowEnd, &position.BoxLeftTop}) {
    p->x += dx;
    p->y += dy;
  }
  const int lift = Marks().ArrowLength();
  position.ArrowEnd.y -= lift;
  position.BoxLeftTop.y -= lift;
  Marks().SetZPosition(StartZ());
  Marks().DrawMarkAt(index, PointColor(index), position, text);
}

// ---- legend

void TGanttSeries::PrepareLegendCanvas(int /*index*/, Color& background, platform::BrushStyle& style) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  chart->Canvas().ApplyChartPen(*pen_);
  style = brush_.Style();
  if (brush_.Color() != clAutoColor) background = brush_.Color();
}

std::string TGanttSeries::LegendString(int index, int textStyle) const {
  TCustomChartAxis* axis = GetHorizAxis();
  const bool withValue = textStyle == ltsLeftValue || textStyle == ltsRightValue;
  if (!withValue || !XValues().DateTime() || axis == nullptr) return TChartSeries::LegendString(index, textStyle);
  // A start is a date: say it as the time axis does, not as a day number.
  const std::string when = axis->FormatLabel(XValueAt(index), false);
  std::string text = textStyle == ltsLeftValue ? when + " " + PointLabel(index) : PointLabel(index) + " " + when;
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

}  // namespace plot
