// Fast line: the visible points gathered into polylines in one pass, dense
// pixel columns reduced to the points that shape them.
#include "plot/series/fast_line_series.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "plot/axes/chart_axis.h"
#include "plot/chart/axis_panel.h"
#include "plot/surface/plot_canvas_3d.h"

namespace plot {

namespace {

// The devices the chart was made for keep coordinates in 16 bits.
constexpr int kMaxPixel = 32766;

bool InRange(int v) { return v >= -kMaxPixel && v <= kMaxPixel; }

}  // namespace

TFastLineSeries::TFastLineSeries() : linePen_(CreateChartPen()) { SetExtendPastVisibleRange(true); }

TFastLineSeries::~TFastLineSeries() = default;

bool TFastLineSeries::SameClassOrBase(const TChartSeries& other) const {
  return dynamic_cast<const TFastLineSeries*>(&other) != nullptr;
}

Color TFastLineSeries::LegendItemColor(int index) const {
  return IsNullPoint(index) ? clNone : SeriesColor();
}

// ---- drawing

void TFastLineSeries::SelectPen() {
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  canvas.ApplyChartPen(*linePen_);
  if (linePen_->Visible()) chart.CheckPenWidth(canvas.Pen());
  canvas.Pen().color = ColorToRGB(SeriesColor());
  canvas.Brush().style = platform::BrushStyle::Clear;
}

void TFastLineSeries::Add(int x, int y) {
  if (!points_.empty() && points_.back().x == x && points_.back().y == y) return;
  points_.push_back({x, y});
}

void TFastLineSeries::Flush() {
  if (points_.size() >= 2) {
    TCustomAxisPanel& chart = *ParentChart();
    TPlotCanvas3D& canvas = chart.Canvas();
    if (chart.View3D()) {
      for (Point& p : points_) p = canvas.ProjectPoint(p.x, p.y, MiddleZ());
    }
    if (FillsColumns()) {
      DrawFillingColumns();
    } else {
      DrawPolyline(points_);
    }
  }
  points_.clear();
}

bool TFastLineSeries::FillsColumns() {
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  // Only where a one-pixel-wide fill sets exactly the pixels the pen would.
  return !chart.View3D() && linePen_->Visible() && linePen_->Style() == PenStyle::Solid && linePen_->Width() <= 1 &&
         linePen_->Mode() == PenMode::Copy && !linePen_->SmallDots() && !chart.PrintingNow() &&
         !canvas.Metafiling() && !canvas.Ref().GetMapping().anisotropic;
}

void TFastLineSeries::DrawPolyline(std::span<const Point> points) {
  TPlotCanvas3D& canvas = ParentChart()->Canvas();
  if (canvas.Pen().width > 1) {
    canvas.Ref().Polyline(points);
    return;
  }
  // A thin line goes out in pieces that share their end points: the same
  // pixels, while the canvas's work per call stays bounded.
  constexpr std::size_t kPiece = 64;
  for (std::size_t from = 0; from + 1 < points.size(); from += kPiece - 1) {
    canvas.Ref().Polyline(points.subspan(from, std::min(kPiece, points.size() - from)));
  }
}

void TFastLineSeries::DrawFillingColumns() {
  TPlotCanvas3D& canvas = ParentChart()->Canvas();
  const std::span<const Point> all(points_);
  // `start`: the first point of the polyline not drawn yet.
  std::size_t start = 0, i = 1;
  while (i < all.size()) {
    if (all[i].x != all[i - 1].x) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j + 1 < all.size() && all[j + 1].x == all[j].x) ++j;
    if (i - 1 > start) DrawPolyline(all.subspan(start, i - start));
    // Each vertical segment covers its start pixel up to, not including, its
    // end pixel; together one interval. The next segment starts at the last.
    int low = all[i - 1].y, high = low;
    for (std::size_t k = i; k < j; ++k) {
      low = std::min(low, all[k].y);
      high = std::max(high, all[k].y);
    }
    const int end = all[j].y;
    const bool last = j + 1 == all.size();
    if (end < low) low = last ? end + 1 : end;
    if (end > high) high = last ? end - 1 : end;
    const Color color = canvas.Pen().color;
    canvas.Brush().style = platform::BrushStyle::Solid;
    canvas.Brush().bitmap.reset();
    canvas.Brush().color = color;
    canvas.FillRectangle({all[i].x, low, all[i].x + 1, high + 1});
    canvas.Brush().style = platform::BrushStyle::Clear;
    start = j;
    i = j + 1;
  }
  if (all.size() - start >= 2) DrawPolyline(all.subspan(start));
}

Point TFastLineSeries::EdgeEntry(int before, int after) const {
  const TCustomChartAxis& horiz = *GetHorizAxis();
  const TCustomChartAxis& vert = *GetVertAxis();
  const Rect& r = ParentChart()->ChartRect();
  const int edge = horiz.Inverted() ? r.right : r.left;
  const double x0 = XValueAt(before), x1 = XValueAt(after);
  if (x1 == x0) return {edge, CalcYPos(before)};
  const double y0 = YValueAt(before), y1 = YValueAt(after);
  const double xEdge = horiz.PixelToValue(edge);
  return {edge, vert.ValueToPixel(y0 + (y1 - y0) * (xEdge - x0) / (x1 - x0))};
}

void TFastLineSeries::DrawAllValues() {
  TCustomAxisPanel* chart = ParentChart();
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (chart == nullptr || GetHorizAxis() == nullptr || GetVertAxis() == nullptr || first < 0 || last < first) return;
  SelectPen();
  points_.clear();
  // A zoomed line comes in from the left edge.
  if (first > 0 && !IsNullPoint(first - 1) && !IsNullPoint(first)) {
    const Point entry = EdgeEntry(first - 1, first);
    if (InRange(entry.y)) Add(entry.x, entry.y);
  }
  int i = first;
  while (i <= last) {
    if (IsNullPoint(i)) {
      Flush();
      ++i;
      continue;
    }
    int j = i;
    while (j < last && !IsNullPoint(j + 1)) ++j;
    AppendStretch(i, j);
    i = j + 1;
  }
  Flush();
}

void TFastLineSeries::AppendStretch(int from, int to) {
  const TChartValueList& xs = XValues();
  // Pixel columns are runs of neighbouring indices while X ascends.
  if (xs.KnownAscending() && xs.Multiplier() > 0) {
    AppendColumnsAscending(from, to);
  } else {
    AppendPointByPoint(from, to);
  }
}

void TFastLineSeries::AppendColumnsAscending(int from, int to) {
  const TCustomChartAxis& vert = *GetVertAxis();
  const TChartValueList& ys = YValues();
  // The last index of the column that starts at `start`: galloping, then
  // bisection.
  auto columnEnd = [&](int start, int x) {
    int lo = start, step = 1;
    int hi = start + step;
    while (hi <= to && CalcXPos(hi) == x) {
      lo = hi;
      step *= 2;
      hi = start + step;
    }
    hi = std::min(hi, to + 1);
    while (hi - lo > 1) {
      const int mid = lo + (hi - lo) / 2;
      if (CalcXPos(mid) == x) {
        lo = mid;
      } else {
        hi = mid;
      }
    }
    return lo;
  };
  int i = from;
  while (i <= to) {
    const int x = CalcXPos(i);
    const int end = columnEnd(i, x);
    if (!InRange(x)) {
      i = end + 1;
      continue;
    }
    if (end == i) {
      const int y = CalcYPos(i);
      if (InRange(y)) Add(x, y);
      i = end + 1;
      continue;
    }
    // The column's extremes are found among the values: the mapping to
    // pixels keeps their order, so only four points are mapped.
    int lowest = i, highest = i;
    double low = ys.ValueAt(i), high = low;
    for (int k = i + 1; k <= end; ++k) {
      const double v = ys.ValueAt(k);
      if (v < low) {
        low = v;
        lowest = k;
      } else if (v > high) {
        high = v;
        highest = k;
      }
    }
    const int yFirst = CalcYPos(i), yLast = CalcYPos(end);
    const int yLow = vert.ValueToPixel(low), yHigh = vert.ValueToPixel(high);
    if (!InRange(yFirst) || !InRange(yLast) || !InRange(yLow) || !InRange(yHigh)) {
      AppendPointByPoint(i, end);
      i = end + 1;
      continue;
    }
    Add(x, yFirst);
    if (lowest < highest) {
      Add(x, yLow);
      Add(x, yHigh);
    } else {
      Add(x, yHigh);
      Add(x, yLow);
    }
    Add(x, yLast);
    i = end + 1;
  }
}

void TFastLineSeries::AppendPointByPoint(int from, int to) {
  // Neighbours in one pixel column still shrink to its first, lowest,
  // highest and last point.
  struct Run {
    bool open = false;
    int x = 0, first = 0, last = 0;
    Point low, high;
    int lowAt = 0, highAt = 0;
  } run;
  auto emit = [&] {
    if (!run.open) return;
    Add(run.x, run.first);
    if (run.lowAt < run.highAt) {
      Add(run.low.x, run.low.y);
      Add(run.high.x, run.high.y);
    } else {
      Add(run.high.x, run.high.y);
      Add(run.low.x, run.low.y);
    }
    Add(run.x, run.last);
    run.open = false;
  };
  for (int k = from; k <= to; ++k) {
    const int x = CalcXPos(k), y = CalcYPos(k);
    if (!InRange(x) || !InRange(y)) continue;
    if (run.open && run.x != x) emit();
    if (!run.open) {
      run = {true, x, y, y, {x, y}, {x, y}, k, k};
      continue;
    }
    run.last = y;
    // Screen y grows downwards: "low" is the smallest pixel.
    if (y < run.low.y) {
      run.low = {x, y};
      run.lowAt = k;
    }
    if (y > run.high.y) {
      run.high = {x, y};
      run.highAt = k;
    }
  }
  emit();
}

void TFastLineSeries::DrawValue(int index) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || index <= 0 || IsNullPoint(index) || IsNullPoint(index - 1)) return;
  const Point from =
      index == FirstVisibleIndex() ? EdgeEntry(index - 1, index) : Point{CalcXPos(index - 1), CalcYPos(index - 1)};
  const Point to{CalcXPos(index), CalcYPos(index)};
  if (!InRange(from.x) || !InRange(from.y) || !InRange(to.x) || !InRange(to.y)) return;
  SelectPen();
  chart->Canvas().DrawLineAtDepth(from.x, from.y, to.x, to.y, MiddleZ());
}

// ---- mouse and legend

int TFastLineSeries::ClickedPoint(int x, int y) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || GetHorizAxis() == nullptr) return -1;
  chart->Canvas().UnprojectPoint(x, y, MiddleZ());
  int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0 || last < first) return -1;
  const TChartValueList& xs = XValues();
  if (xs.KnownAscending() && xs.Multiplier() > 0) {
    // Only the segments that reach the clicked column can be hit.
    const TCustomChartAxis& horiz = *GetHorizAxis();
    const double a = horiz.PixelToValue(x - 1), b = horiz.PixelToValue(x + 1);
    auto firstAtOrAbove = [&](double v) {
      int lo = first, hi = last + 1;
      while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (xs.ValueAt(mid) >= v) {
          hi = mid;
        } else {
          lo = mid + 1;
        }
      }
      return lo;
    };
    const int from = std::max(first, firstAtOrAbove(std::min(a, b)) - 1);
    const int to = std::min(last, firstAtOrAbove(std::nextafter(std::max(a, b), INFINITY)));
    first = from;
    last = to;
  }
  const Point p{x, y};
  bool havePrevious = false;
  Point previous;
  int previousIndex = -1;
  for (int t = first; t <= last; ++t) {
    if (IsNullPoint(t)) {
      havePrevious = false;
      continue;
    }
    const Point at{CalcXPos(t), CalcYPos(t)};
    if (!InRange(at.x) || !InRange(at.y)) continue;
    if (at == p) return t;
    if (havePrevious && hit_test::PointInLine(p, previous, at)) return previousIndex;
    previous = at;
    previousIndex = t;
    havePrevious = true;
  }
  return -1;
}

void TFastLineSeries::PrepareLegendCanvas(int /*index*/, Color& /*background*/, platform::BrushStyle& style) {
  if (ParentChart() != nullptr) ParentChart()->Canvas().ApplyChartPen(*linePen_);
  style = platform::BrushStyle::Clear;
}

void TFastLineSeries::DrawLegendShape(int index, const Rect& rect) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  TPlotCanvas3D& canvas = chart->Canvas();
  canvas.ApplyChartPen(*linePen_);
  canvas.Pen().color = ColorToRGB(index == -1 ? SeriesColor() : LegendItemColor(index));
  canvas.DrawHorizontalLine(rect.left, rect.right, (rect.top + rect.bottom) / 2);
}

}  // namespace plot
