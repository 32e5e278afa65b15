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
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The lowest and highest of v[0 .. n - 1] (v[0] alone when n is 0), compared
// as the point-by-point pass compares: a value replaces the extreme only
// when strictly beyond it, so a NaN counts only as the first value. Several
// lanes keep the comparisons independent; the SSE2 minimum and maximum
// compare exactly so.
void ColumnExtremes(const double* v, int n, double& low, double& high) {
  double lo[4] = {v[0], v[0], v[0], v[0]};
  double hi[4] = {v[0], v[0], v[0], v[0]};
  int k = 1;
#if defined(__SSE2__)
  __m128d lo0 = _mm_set1_pd(v[0]), lo1 = lo0, hi0 = lo0, hi1 = lo0;
  for (; k + 4 <= n; k += 4) {
    const __m128d a = _mm_loadu_pd(v + k), b = _mm_loadu_pd(v + k + 2);
    lo0 = _mm_min_pd(a, lo0);  // a < lo ? a : lo
    lo1 = _mm_min_pd(b, lo1);
    hi0 = _mm_max_pd(a, hi0);  // a > hi ? a : hi
    hi1 = _mm_max_pd(b, hi1);
  }
  _mm_storeu_pd(lo, lo0);
  _mm_storeu_pd(lo + 2, lo1);
  _mm_storeu_pd(hi, hi0);
  _mm_storeu_pd(hi + 2, hi1);
#else
  for (; k + 4 <= n; k += 4) {
    for (int j = 0; j < 4; ++j) {
      lo[j] = v[k + j] < lo[j] ? v[k + j] : lo[j];
      hi[j] = v[k + j] > hi[j] ? v[k + j] : hi[j];
    }
  }
#endif
  for (; k < n; ++k) {
    lo[0] = v[k] < lo[0] ? v[k] : lo[0];
    hi[0] = v[k] > hi[0] ? v[k] : hi[0];
  }
  low = lo[0];
  high = hi[0];
  for (int j = 1; j < 4; ++j) {
    low = lo[j] < low ? lo[j] : low;
    high = hi[j] > high ? hi[j] : high;
  }
}

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
  // Pixels of points, through the axes' mappings held for the whole pass
  // rather than asked for point by point; logarithmic axes keep their own.
  const TCustomChartAxis& horiz = *GetHorizAxis();
  const TLinearPixelMap linearX = horiz.LinearMap();
  const bool inlineX = horiz.IsLinear();
  auto pixelX = [&](int k) { return inlineX ? linearX(xs.ValueAt(k)) : CalcXPos(k); };
  // Pixel columns are contiguous runs of indices while X ascends, so a
  // column's end can be found by galloping and bisection. Columns of evenly
  // spaced points hold about as many points as the one before: that guess,
  // checked and corrected nearby, keeps the search among points that are
  // read next anyway instead of jumping about a long list.
  const bool sorted = xs.KnownAscending() && xs.Multiplier() > 0;
  int expected = 1;
  auto columnEnd = [&](int start, int x) {
    if (!sorted) {
      int end = start;
      while (end < last && pixelX(end + 1) == x) ++end;
      return end;
    }
    int lo = start;
    int hi = last + 1;  // past the end, or a point of another column
    const int guess = std::min(last, start + expected - 1);
    if (guess > start) {
      if (pixelX(guess) == x) {
        lo = guess;
      } else if (pixelX(guess - 1) == x) {
        lo = guess - 1;
        hi = guess;
      } else {
        hi = guess - 1;
      }
    }
    if (hi == last + 1) {
      int step = 1;
      while (lo + step <= last && pixelX(lo + step) == x) {
        lo += step;
        step *= 2;
      }
      hi = std::min(lo + step, last + 1);
    }
    // pixelX(lo) == x, and hi is past the end or already another column.
    while (hi - lo > 1) {
      const int mid = lo + (hi - lo) / 2;
      if (pixelX(mid) == x) {
        lo = mid;
      } else {
        hi = mid;
      }
    }
    expected = lo - start + 1;
    return lo;
  };

  const TCustomChartAxis& vert = *GetVertAxis();
  const TLinearPixelMap linear = vert.LinearMap();
  const bool inlineMap = vert.IsLinear();
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
  // Every point in the series colour: a column is one run, and only its
  // extremes count. The column fills then wait until the end and go out in
  // one call; all the pixels drawn here have that one colour, so the order
  // does not matter.
  const bool uniform = fillSpans && !PointColorsVary();
  const Color seriesColor = PointColor(first);
  columns_.clear();
  auto fillSpan = [&](int x, int low, int high, Color color) {
    if (color == clNone || low > high) return;
    if (uniform) {
      columns_.push_back({x, low, high + 1});
      return;
    }
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
    // Values put at the centre for lying far out break the order the
    // extremes rely on: such columns go point by point.
    if (!InRange(yLow) || !InRange(yHigh) || (inlineMap && (linear.Saturates(r.low) || linear.Saturates(r.high)))) {
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

  const double* values = ys.Multiplier() == 1.0 ? ys.Data() : nullptr;
  int i = first + 1;
  while (i <= last) {
    const int x = pixelX(i);
    const int end = columnEnd(i, x);
    if (InRange(x) && uniform && values != nullptr) {
      ValueRun r;
      r.from = r.lowest = r.highest = i;
      r.to = end;
      r.color = seriesColor;
      ColumnExtremes(values + i, end - i, r.lowBefore, r.highBefore);
      const double lastValue = values[end];
      r.low = end > i && lastValue < r.lowBefore ? lastValue : r.lowBefore;
      r.high = end > i && lastValue > r.highBefore ? lastValue : r.highBefore;
      drawValueRun(r, x);
    } else if (InRange(x)) {
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
  if (!columns_.empty()) {
    canvas.Brush().style = platform::BrushStyle::Solid;
    canvas.Brush().bitmap.reset();
    canvas.Brush().color = seriesColor;
    canvas.FillColumns(columns_);
  }
  return true;
}

}  // namespace plot
