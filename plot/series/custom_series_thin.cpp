// Dense lines: when the visible points outnumber the pixel columns by more
// than four to one, the points that share a pixel column and a colour (a
// run) are not joined one by one. Within a column every segment is
// vertical, so a run covers one vertical span of pixels; the run's first
// point still takes the ordinary steps (the segment into it), then the span
// is filled at once, or, where a fill could differ from the pen, the run is
// reduced to its first, lowest, highest and last point. The picture is the
// same; the cost follows the pixel columns.
#include <algorithm>
#include <cmath>

#include "plot/axes/chart_axis.h"
#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/axis_panel.h"
#include "plot/series/custom_series.h"

namespace plot {

namespace {

constexpr int kMaxPixel = 32766;
// Thinning starts above this many visible points per pixel column.
constexpr int kThinningRatio = 4;

bool InRange(int v) { return v >= -kMaxPixel && v <= kMaxPixel; }

// The vertical axis's linear value-to-pixel mapping, inlined for the
// per-point pass: the same arithmetic and the same rounding (halves to
// even) as the axis, without a call per point.
class LinearMap {
 public:
  explicit LinearMap(const TCustomChartAxis& axis)
      : low_(axis.LowValue()),
        span_(axis.ValueSpan()),
        start_(axis.StartPixel()),
        end_(axis.EndPixel()),
        length_(axis.PixelLength()),
        center_(axis.CenterPixel()),
        fromStart_(axis.IsHorizontal() != axis.Inverted()) {}
  int operator()(double value) const {
    if (span_ == 0) return center_;
    const double t = (value - low_) * length_ / span_;
    if (!(std::fabs(t) < 2147483647.0)) return center_;
    const int r = RoundHalfEven(t);
    return fromStart_ ? start_ + r : end_ - r;
  }

 private:
  // Branch-free: the fraction of the values of one column is random, and a
  // mispredicted branch per point would cost more than the arithmetic.
  static int RoundHalfEven(double v) {
    long long i = static_cast<long long>(v);
    i -= static_cast<long long>(static_cast<double>(i) > v);  // floor
    const double d = v - static_cast<double>(i);
    i += static_cast<long long>(d > 0.5) | (static_cast<long long>(d == 0.5) & (i & 1));
    return static_cast<int>(i);
  }
  double low_, span_;
  int start_, end_, length_, center_;
  bool fromStart_;
};

// The pixels a run covers: the union of its segments, each from its start
// pixel up to (not including) its end pixel. Always one interval.
struct Coverage {
  int low = 1, high = 0;  // empty while low > high
  void AddSegment(int from, int to) {
    if (from == to) return;
    const int a = from < to ? from : to + 1;
    const int b = from < to ? to - 1 : from;
    if (low > high) {
      low = a;
      high = b;
    } else {
      low = std::min(low, a);
      high = std::max(high, b);
    }
  }
};

}  // namespace

bool TCustomSeries::CanThin() const {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || chart->View3D() || !connectPoints_ || drawArea_ || pointer_->Visible()) return false;
  // Raster operations would see each pixel drawn a different number of times.
  if (linePen_->Mode() != PenMode::Copy) return false;
  const TCustomChartAxis* horiz = GetHorizAxis();
  const TCustomChartAxis* vert = GetVertAxis();
  if (horiz == nullptr || vert == nullptr) return false;
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  if (first < 0 || last < first) return false;
  const long long columns = std::max(1, std::abs(horiz->PixelLength()));
  return static_cast<long long>(last - first + 1) > kThinningRatio * columns;
}

void TCustomSeries::DrawAllValues() {
  if (CanThin() && DrawThinned()) return;
  TChartSeries::DrawAllValues();
}

bool TCustomSeries::DrawThinned() {
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  // The first point keeps its exact steps (the join from the left edge).
  DrawValue(first);

  // A one-pixel solid pen covers exactly the pixels of a one-pixel-wide
  // fill on a device without scaling; anything else is drawn with lines.
  const bool fillSpans = linePen_->Visible() && linePen_->Style() == PenStyle::Solid && linePen_->Width() <= 1 &&
                         !linePen_->SmallDots() && !chart.PrintingNow() && !canvas.Metafiling() &&
                         !canvas.Ref().GetMapping().anisotropic;

  const TChartValueList& xs = XValues();
  // Pixel columns are contiguous runs of indices while X ascends, so a
  // column's end can be found by galloping and bisection.
  const bool sorted = xs.KnownAscending() && xs.Multiplier() > 0;
  auto columnEnd = [&](int start, int x) {
    if (!sorted) {
      int end = start;
      while (end < last && CalcXPos(end + 1) == x) ++end;
      return end;
    }
    int lo = start, step = 1;
    int hi = start + step;
    while (hi <= last && CalcXPos(hi) == x) {
      lo = hi;
      step *= 2;
      hi = start + step;
    }
    hi = std::min(hi, last + 1);
    // CalcXPos(lo) == x, and hi is past the end or already another column.
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

  // Logarithmic axes keep the axis's own mapping.
  const TCustomChartAxis& vert = *GetVertAxis();
  const LinearMap linear(vert);
  const bool inlineMap = !vert.Logarithmic();
  const TChartValueList& ys = YValues();
  auto pixelY = [&](int k) { return inlineMap ? linear(ys.ValueAt(k)) : CalcYPos(k); };

  const int origin = OriginPixel(first);
  auto step = [&](const DrawnPoint& p) {
    canvas.Pen().color = clBlack;
    canvas.Brush().color = p.color;
    if (previous_.color == clNone) {
      previous_.x = p.x;
      previous_.y = p.y;
    }
    DrawSegmentTo(p, p.index == last, false);
    AdvanceTo(p, origin);
  };

  auto pixelOf = [&](double value) { return inlineMap ? linear(value) : vert.ValueToPixel(value); };
  auto fillSpan = [&](int x, int low, int high, Color color) {
    if (color == clNone || low > high) return;
    canvas.Brush().style = platform::BrushStyle::Solid;
    canvas.Brush().bitmap.reset();
    canvas.Brush().color = color;
    canvas.FillRectangle({x, low, x + 1, high + 1});
  };

  // Runs whose points are not all drawable: gathered point by point in
  // pixels, skipping what the exact steps skip.
  struct Run {
    bool open = false;
    Color color = clNone;
    DrawnPoint first, lowest, highest, last;
    Coverage covered;
  } run;
  auto flush = [&] {
    if (!run.open) return;
    run.open = false;
    step(run.first);
    if (run.first.index == run.last.index) return;
    if (fillSpans) {
      fillSpan(run.first.x, run.covered.low, run.covered.high, run.color);
      AdvanceTo(run.last, origin);
      return;
    }
    const DrawnPoint* middle[] = {&run.lowest, &run.highest};
    if (middle[0]->index > middle[1]->index) std::swap(middle[0], middle[1]);
    int done = run.first.index;
    for (const DrawnPoint* p : middle) {
      if (p->index == done || p->index == run.last.index) continue;
      step(*p);
      done = p->index;
    }
    step(run.last);
  };
  auto gatherPixels = [&](int from, int to, int x) {
    for (int k = from; k <= to; ++k) {
      const int y = pixelY(k);
      if (!InRange(y)) continue;
      const DrawnPoint p{x, y, PointColor(k), k};
      if (run.open && p.color != run.color) flush();
      if (!run.open) {
        run.open = true;
        run.color = p.color;
        run.first = run.lowest = run.highest = run.last = p;
        run.covered = Coverage{};
        continue;
      }
      run.covered.AddSegment(run.last.y, y);
      if (y < run.lowest.y) run.lowest = p;
      if (y > run.highest.y) run.highest = p;
      run.last = p;
    }
    flush();
  };

  // One run of a column in one colour, known by its values: the extremes of
  // all its points and of all but the last. Pixels are worked out only for
  // these, since the mapping to pixels keeps the order of values.
  struct ValueRun {
    int from, to;
    Color color;
    double low, high, lowBefore, highBefore;
    int lowest, highest;
  };
  auto drawValueRun = [&](const ValueRun& r, int x) {
    const int yLow = pixelOf(r.low), yHigh = pixelOf(r.high);
    if (!InRange(yLow) || !InRange(yHigh)) {
      gatherPixels(r.from, r.to, x);
      return;
    }
    const int yLast = pixelY(r.to);
    step({x, pixelY(r.from), r.color, r.from});
    if (r.from == r.to) return;
    if (!fillSpans) {
      DrawnPoint middle[] = {{x, yLow, r.color, r.lowest}, {x, yHigh, r.color, r.highest}};
      if (middle[0].index > middle[1].index) std::swap(middle[0], middle[1]);
      int done = r.from;
      for (const DrawnPoint& p : middle) {
        if (p.index == done || p.index == r.to) continue;
        step(p);
        done = p.index;
      }
      step({x, yLast, r.color, r.to});
      return;
    }
    // The segments of the run cover the pixels of all points but the last,
    // and reach towards the last without covering it, unless an earlier
    // segment starts there. Only the points that share the last one's pixel
    // at the end of the run (a trailing block) need looking at.
    int low = std::min(pixelOf(r.lowBefore), pixelOf(r.highBefore));
    int high = std::max(pixelOf(r.lowBefore), pixelOf(r.highBefore));
    const int q = yLast;
    if (q == low || q == high) {
      int j = r.to;
      while (j > r.from && pixelY(j - 1) == q) --j;
      if (j == r.from) {
        low = 1;
        high = 0;
      } else if (j < r.to) {
        double a = ys.ValueAt(r.from), b = a;
        for (int k = r.from + 1; k < j; ++k) {
          a = std::min(a, ys.ValueAt(k));
          b = std::max(b, ys.ValueAt(k));
        }
        low = std::min(pixelOf(a), pixelOf(b));
        high = std::max(pixelOf(a), pixelOf(b));
      }
    }
    if (low <= high) {
      if (q > high) high = q - 1;
      if (q < low) low = q + 1;
    }
    fillSpan(x, low, high, r.color);
    AdvanceTo({x, yLast, r.color, r.to}, origin);
  };

  int i = first + 1;
  while (i <= last) {
    const int x = CalcXPos(i);
    const int end = columnEnd(i, x);
    if (InRange(x)) {
      for (int k = i; k <= end;) {
        ValueRun r;
        r.from = r.to = r.lowest = r.highest = k;
        r.color = PointColor(k);
        r.low = r.high = r.lowBefore = r.highBefore = ys.ValueAt(k);
        while (r.to < end) {
          const int n = r.to + 1;
          if (PointColor(n) != r.color) break;
          r.lowBefore = r.low;
          r.highBefore = r.high;
          const double v = ys.ValueAt(n);
          if (v < r.low) {
            r.low = v;
            r.lowest = n;
          }
          if (v > r.high) {
            r.high = v;
            r.highest = n;
          }
          r.to = n;
        }
        drawValueRun(r, x);
        k = r.to + 1;
      }
    }
    i = end + 1;
  }
  return true;
}

}  // namespace plot
