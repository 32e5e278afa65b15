// Dense lines: when the visible points outnumber the pixel columns by more
// than four to one, each run of points that share a pixel column and a
// colour is reduced to its first, lowest, highest and last point before the
// ordinary drawing steps run. Within a column every segment is vertical, so
// the reduced chain covers the same pixels: the column's vertical extent and
// the joins to its neighbours. Drawing cost then follows the pixels.
#include <algorithm>

#include "canvas/axis_custom.h"
#include "canvas/plot_canvas_3d.h"
#include "chart/axis_panel.h"
#include "series/custom_series.h"

namespace plot {

namespace {

constexpr int kMaxPixel = 32766;
// Thinning starts above this many visible points per pixel column.
constexpr int kThinningRatio = 4;

}  // namespace

bool TCustomSeries::CanThin() const {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || chart->View3D() || !connectPoints_ || drawArea_ || pointer_->Visible()) return false;
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
  auto exact = [&](int from, int to, int x, Color color) {
    for (int k = from; k <= to; ++k) {
      const int y = CalcYPos(k);
      if (y >= -kMaxPixel && y <= kMaxPixel) step({x, y, color, k});
    }
  };
  // One run of a column in one colour: its first, extreme and last points
  // in index order.
  auto flush = [&](int from, int to, int lowest, int highest, int x, Color color) {
    const int ends[] = {CalcYPos(from), CalcYPos(lowest), CalcYPos(highest), CalcYPos(to)};
    for (int y : ends) {
      if (y < -kMaxPixel || y > kMaxPixel) {
        // A point off the drawable range is skipped; keep the exact steps.
        exact(from, to, x, color);
        return;
      }
    }
    int order[] = {from, std::min(lowest, highest), std::max(lowest, highest), to};
    int previousIndex = -1;
    for (int k : order) {
      if (k == previousIndex) continue;
      previousIndex = k;
      const int y = k == from ? ends[0] : k == to ? ends[3] : k == lowest ? ends[1] : ends[2];
      step({x, y, color, k});
    }
  };

  int i = first + 1;
  while (i <= last) {
    const int x = CalcXPos(i);
    const int end = columnEnd(i, x);
    if (x >= -kMaxPixel && x <= kMaxPixel) {
      int runStart = i, lowest = i, highest = i;
      Color runColor = PointColor(i);
      double low = YValueAt(i), high = low;
      for (int k = i + 1; k <= end; ++k) {
        const Color c = PointColor(k);
        if (c != runColor) {
          flush(runStart, k - 1, lowest, highest, x, runColor);
          runStart = lowest = highest = k;
          runColor = c;
          low = high = YValueAt(k);
          continue;
        }
        const double v = YValueAt(k);
        if (v < low) {
          low = v;
          lowest = k;
        } else if (v > high) {
          high = v;
          highest = k;
        }
      }
      flush(runStart, end, lowest, highest, x, runColor);
    }
    i = end + 1;
  }
  return true;
}

}  // namespace plot
