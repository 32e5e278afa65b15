// Drawing of pies: flat slices through the surface's pie, and the 3D disc
// face by face.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "plot/chart/axis_panel.h"
#include "plot/series/pie_series.h"
#include "plot/surface/plot_canvas_3d.h"

namespace plot {

namespace {

// The arc of a 3D slice is traced at least every this many degrees.
constexpr double kArcStep = 3.0;

}  // namespace

Point TPieSeries::Project(Point p) const {
  return Is3D() ? ParentChart()->Canvas().ProjectPoint(p.x, p.y, MiddleZ()) : p;
}

void TPieSeries::PolygonProjected(const std::vector<Point>& points) {
  std::vector<Point> projected;
  projected.reserve(points.size());
  for (const Point& p : points) projected.push_back(Project(p));
  ParentChart()->Canvas().DrawPolygon(projected, static_cast<int>(projected.size()) - 1);
}

void TPieSeries::PrepareSliceCanvas(Color color) {
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  canvas.ApplyChartPen(*piePen_);
  if (piePen_->Visible()) chart.CheckPenWidth(canvas.Pen());
  chart.SetBrushCanvas(color, platform::BrushStyle::Solid, chart.Color());
}

std::vector<Point> TPieSeries::ArcPoints(Point centre, double from, double sweep) const {
  const int steps = std::max(1, static_cast<int>(std::ceil(sweep / kArcStep)));
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(steps) + 1);
  for (int k = 0; k <= steps; ++k) {
    points.push_back(OnEllipse(centre, layout_.radiusX, layout_.radiusY, from + sweep * k / steps));
  }
  return points;
}

void TPieSeries::DrawAllValues() {
  CalcLayout();
  if (layout_.radiusX <= 0 || layout_.radiusY <= 0) return;
  const std::vector<Slice> slices = Slices();
  std::vector<int> shown;
  for (int i = FirstVisibleIndex(); i >= 0 && i <= LastVisibleIndex(); ++i) {
    if (slices[static_cast<std::size_t>(i)].sweep > 0 && PointColor(i) != clNone) shown.push_back(i);
  }
  if (Is3D()) {
    DrawDisc(shown);
    return;
  }
  for (int i : shown) DrawFlatSlice(i, slices[static_cast<std::size_t>(i)], PointColor(i));
}

void TPieSeries::DrawValue(int index) {
  if (index == FirstVisibleIndex()) CalcLayout();
  if (layout_.radiusX <= 0 || layout_.radiusY <= 0) return;
  const Slice slice = Slices()[static_cast<std::size_t>(index)];
  const Color color = PointColor(index);
  if (slice.sweep <= 0 || color == clNone) return;
  if (Is3D()) {
    DrawDisc({index});
  } else {
    DrawFlatSlice(index, slice, color);
  }
}

void TPieSeries::DrawFlatSlice(int /*index*/, const Slice& slice, Color color) {
  TPlotCanvas3D& canvas = ParentChart()->Canvas();
  PrepareSliceCanvas(color);
  const Point c = SliceCenter(slice);
  const int rx = layout_.radiusX, ry = layout_.radiusY;
  const Rect box{c.x - rx, c.y - ry, c.x + rx + 1, c.y + ry + 1};
  // The surface's pie runs counter-clockwise from its first ray to its
  // second: from the slice's clockwise end back to its start.
  const Point from = OnEllipse(c, rx, ry, slice.start + slice.sweep);
  const Point to = OnEllipse(c, rx, ry, slice.start);
  if (from == to) {
    // Rays this close would be read as the whole circle: only a slice that
    // is nearly all of it is drawn so.
    if (slice.sweep > 180) canvas.DrawEllipse(box.left, box.top, box.right, box.bottom);
    return;
  }
  canvas.DrawPieSlice(box.left, box.top, box.right, box.bottom, from.x, from.y, to.x, to.y);
}

void TPieSeries::DrawDisc(const std::vector<int>& indices) {
  TPlotCanvas3D& canvas = ParentChart()->Canvas();
  const std::vector<Slice> slices = Slices();
  const int t = layout_.thickness;
  auto down = [t](Point p) { return Point{p.x, p.y + t}; };
  auto shade = [this, &canvas](Color color, int amount) {
    PrepareSliceCanvas(color);
    if (dark3D_) canvas.Brush().color = Darken(ColorToRGB(color), amount);
  };

  // The radial sides, farthest first; they show where slices are exploded.
  struct Wall {
    std::vector<Point> points;
    int depth;
    Color color;
  };
  std::vector<Wall> walls;
  for (int i : indices) {
    const Slice& s = slices[static_cast<std::size_t>(i)];
    if (s.sweep >= 360) continue;
    const Point c = SliceCenter(s);
    for (double bearing : {s.start, s.start + s.sweep}) {
      const Point rim = OnEllipse(c, layout_.radiusX, layout_.radiusY, bearing);
      walls.push_back({{c, rim, down(rim), down(c)}, std::max(c.y, rim.y), PointColor(i)});
    }
  }
  std::stable_sort(walls.begin(), walls.end(), [](const Wall& a, const Wall& b) { return a.depth < b.depth; });
  for (const Wall& w : walls) {
    shade(w.color, 64);
    PolygonProjected(w.points);
  }
  // The rim below the front half of each slice.
  if (t > 0) {
    for (int i : indices) {
      const Slice& s = slices[static_cast<std::size_t>(i)];
      const std::vector<Point> arc = ArcPoints(SliceCenter(s), s.start, s.sweep);
      shade(PointColor(i), 32);
      const int steps = static_cast<int>(arc.size()) - 1;
      auto front = [&](int k) { return std::cos((s.start + s.sweep * (k + 0.5) / steps) * std::numbers::pi / 180.0) < 0; };
      // Each stretch of the arc in front is one band: the arc, then the arc
      // moved down, back.
      for (int k = 0; k < steps;) {
        if (!front(k)) {
          ++k;
          continue;
        }
        int last = k;
        while (last + 1 < steps && front(last + 1)) ++last;
        std::vector<Point> band(arc.begin() + k, arc.begin() + last + 2);
        for (int j = last + 1; j >= k; --j) band.push_back(down(arc[static_cast<std::size_t>(j)]));
        PolygonProjected(band);
        k = last + 1;
      }
    }
  }
  // The tops last: seen from above they cover everything below them.
  for (int i : indices) {
    const Slice& s = slices[static_cast<std::size_t>(i)];
    const Point c = SliceCenter(s);
    std::vector<Point> top = ArcPoints(c, s.start, s.sweep);
    if (s.sweep < 360) top.insert(top.begin(), c);
    PrepareSliceCanvas(PointColor(i));
    PolygonProjected(top);
  }
}

}  // namespace plot
