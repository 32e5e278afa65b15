#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "plot/surface/plot_canvas_3d.h"
#include "runtime/rounding.h"

namespace plot {

namespace {

int Round(double value) { return static_cast<int>(runtime::RoundHalfEven(value)); }

long long Cross(Point o, Point a, Point b) {
  return static_cast<long long>(a.x - o.x) * (b.y - o.y) - static_cast<long long>(a.y - o.y) * (b.x - o.x);
}

// Convex hull, counter-clockwise on screen, of a handful of points: the
// outline of a projected box.
std::vector<Point> ConvexHull(std::vector<Point> points) {
  std::sort(points.begin(), points.end(), [](Point a, Point b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
  points.erase(std::unique(points.begin(), points.end()), points.end());
  if (points.size() < 3) return points;
  std::vector<Point> hull(2 * points.size());
  std::size_t k = 0;
  for (const Point& p : points) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
    hull[k++] = p;
  }
  for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  hull.resize(k - 1);
  return hull;
}

struct Face {
  std::vector<TPoint3D> points;
  double depth = 0;  // mean z: larger is farther
  int darken = 0;
};

double MeanDepth(const std::vector<TPoint3D>& points) {
  double sum = 0;
  for (const TPoint3D& p : points) sum += p.z;
  return points.empty() ? 0 : sum / static_cast<double>(points.size());
}

}  // namespace

void TPlotCanvas3D::PolygonAtDepths(const std::vector<TPoint3D>& points) {
  std::vector<Point> projected;
  projected.reserve(points.size());
  for (const TPoint3D& p : points) projected.push_back(ProjectPoint(p.x, p.y, p.z));
  Ref().Polygon(projected);
}

void TPlotCanvas3D::PolygonAtDepths(std::initializer_list<TPoint3D> points) {
  PolygonAtDepths(std::vector<TPoint3D>(points));
}

void TPlotCanvas3D::DarkenFace(int amount) {
  platform::DeviceCanvas& canvas = Ref();
  savedBrushColor_ = canvas.Brush().color;
  savedBkColor_ = canvas.BkColor();
  // A hatched face shows its darkness through the background colour.
  if (canvas.Brush().style == platform::BrushStyle::Solid) {
    canvas.Brush().color = Darken(savedBrushColor_, amount);
  } else {
    canvas.SetBkColor(Darken(savedBkColor_, amount));
  }
}

void TPlotCanvas3D::RestoreFace() {
  Ref().Brush().color = savedBrushColor_;
  Ref().SetBkColor(savedBkColor_);
}

bool TPlotCanvas3D::DepthGoesRight() const { return ProjectPoint(0, 0, 1000).x >= ProjectPoint(0, 0, 0).x; }

bool TPlotCanvas3D::DepthGoesUp() const { return ProjectPoint(0, 0, 1000).y <= ProjectPoint(0, 0, 0).y; }

void TPlotCanvas3D::PutPixelAtDepth(int x, int y, int z, Color color) {
  ProjectInPlace(x, y, z);
  if (Pen().width == 1) {
    PutPixel(x, y, color);
    return;
  }
  Pen().color = ColorToRGB(color);
  DrawLine(x, y, x, y);
}

void TPlotCanvas3D::MoveToPointAtDepth(int x, int y, int z) {
  ProjectInPlace(x, y, z);
  Ref().MoveTo(x, y);
}

void TPlotCanvas3D::LineToPointAtDepth(int x, int y, int z) {
  ProjectInPlace(x, y, z);
  Ref().LineTo(x, y);
}

void TPlotCanvas3D::DrawLineAtDepth(int x0, int y0, int x1, int y1, int z) {
  MoveToPointAtDepth(x0, y0, z);
  LineToPointAtDepth(x1, y1, z);
}

void TPlotCanvas3D::DrawHorizontalLineAtDepth(int left, int right, int y, int z) {
  DrawLineAtDepth(left, y, right, y, z);
}

void TPlotCanvas3D::DrawVerticalLineAtDepth(int x, int top, int bottom, int z) {
  DrawLineAtDepth(x, top, x, bottom, z);
}

void TPlotCanvas3D::DrawDepthLine(int x, int y, int z0, int z1) {
  MoveToPointAtDepth(x, y, z0);
  LineToPointAtDepth(x, y, z1);
}

void TPlotCanvas3D::DrawEllipseAtDepth(const Rect& rect, int z) {
  if (isOrthogonal_) {
    const Rect p = ProjectRect(rect, z);
    Ref().Ellipse(p);
  } else if (is3D_) {
    // A rotated circle is no screen ellipse: trace it point by point.
    constexpr int kSteps = 64;
    const double cx = (rect.left + rect.right) / 2.0, cy = (rect.top + rect.bottom) / 2.0;
    const double rx = (rect.right - rect.left) / 2.0, ry = (rect.bottom - rect.top) / 2.0;
    std::vector<TPoint3D> points;
    for (int i = 0; i < kSteps; ++i) {
      const double t = 2 * std::numbers::pi * i / kSteps;
      points.push_back({Round(cx + rx * std::cos(t)), Round(cy + ry * std::sin(t)), z});
    }
    PolygonAtDepths(points);
  } else {
    Ref().Ellipse({rect.left, rect.top, rect.right + 1, rect.bottom + 1});
  }
}

void TPlotCanvas3D::DrawRectangleAtDepth(const Rect& r, int z) {
  PolygonAtDepths({{r.left, r.top, z}, {r.right, r.top, z}, {r.right, r.bottom, z}, {r.left, r.bottom, z}});
}

void TPlotCanvas3D::DrawTriangleAtDepth(Point a, Point b, Point c, int z) {
  PolygonAtDepths({{a.x, a.y, z}, {b.x, b.y, z}, {c.x, c.y, z}});
}

void TPlotCanvas3D::DrawQuadAtDepth(Point p0, Point p1, Point p2, Point p3, int z) {
  PolygonAtDepths({{p0.x, p0.y, z}, {p1.x, p1.y, z}, {p2.x, p2.y, z}, {p3.x, p3.y, z}});
}

void TPlotCanvas3D::DrawQuadBetweenDepths(Point p0, Point p1, Point p2, Point p3, int z0, int z1) {
  PolygonAtDepths({{p0.x, p0.y, z0}, {p1.x, p1.y, z0}, {p2.x, p2.y, z1}, {p3.x, p3.y, z1}});
}

void TPlotCanvas3D::DrawDepthPlane(Point a, Point b, int z0, int z1) {
  PolygonAtDepths({{a.x, a.y, z1}, {b.x, b.y, z1}, {b.x, b.y, z0}, {a.x, a.y, z0}});
}

void TPlotCanvas3D::DrawFloorPlane(int left, int y, int right, int z0, int z1) {
  PolygonAtDepths({{left, y, z0}, {right, y, z0}, {right, y, z1}, {left, y, z1}});
}

void TPlotCanvas3D::DrawSidePlane(int x, int top, int bottom, int z0, int z1) {
  PolygonAtDepths({{x, top, z0}, {x, top, z1}, {x, bottom, z1}, {x, bottom, z0}});
}

void TPlotCanvas3D::ClipToBox(const Rect& r, int frontZ, int backZ) {
  if (!is3D_) {
    SetClipRectangle({r.left + 1, r.top + 1, r.right, r.bottom - 1});
    return;
  }
  std::vector<Point> corners;
  for (int z : {frontZ, backZ}) {
    for (Point p : {Point{r.left, r.top}, Point{r.right, r.top}, Point{r.right, r.bottom}, Point{r.left, r.bottom}}) {
      corners.push_back(ProjectPoint(p.x, p.y, z));
    }
  }
  const std::vector<Point> outline = ConvexHull(corners);
  Ref().SetClipPolygon(outline);
}

void TPlotCanvas3D::DrawBox(const Rect& r, int frontZ, int backZ, bool darkSides) {
  DrawRectangleAtDepth(r, frontZ);
  // The side that depth turns towards the viewer, then the top when depth
  // rises on screen.
  const int sideX = DepthGoesRight() ? r.right : r.left;
  if (darkSides) DarkenFace(128);
  DrawSidePlane(sideX, r.top, r.bottom, frontZ, backZ);
  if (darkSides) RestoreFace();
  if (DepthGoesUp()) {
    if (darkSides) DarkenFace(64);
    DrawFloorPlane(r.left, r.top, r.right, frontZ, backZ);
    if (darkSides) RestoreFace();
  }
}

void TPlotCanvas3D::DrawCylinderShape(bool vertical, const Rect& r, int frontZ, int backZ, bool darkSides) {
  constexpr int kSides = 16;
  const double midZ = (frontZ + backZ) / 2.0, radiusZ = (backZ - frontZ) / 2.0;
  // Vertical: the axis runs from top to bottom and the round section lies
  // across x and z; horizontal: the axis runs from left to right.
  const double mid = vertical ? (r.left + r.right) / 2.0 : (r.top + r.bottom) / 2.0;
  const double radius = vertical ? (r.right - r.left) / 2.0 : (r.bottom - r.top) / 2.0;
  auto at = [&](int i, bool farEnd) {
    const double t = 2 * std::numbers::pi * i / kSides;
    const int across = Round(mid + radius * std::cos(t));
    const int z = Round(midZ + radiusZ * std::sin(t));
    if (vertical) return TPoint3D{across, farEnd ? r.top : r.bottom, z};
    return TPoint3D{farEnd ? r.right : r.left, across, z};
  };
  std::vector<Face> faces;
  for (int i = 0; i < kSides; ++i) {
    Face face{{at(i, false), at(i + 1, false), at(i + 1, true), at(i, true)}, 0, darkSides ? 32 : 0};
    face.depth = MeanDepth(face.points);
    faces.push_back(face);
  }
  // Painter's order: far faces first.
  std::stable_sort(faces.begin(), faces.end(), [](const Face& a, const Face& b) { return a.depth > b.depth; });
  for (const Face& face : faces) {
    if (face.darken != 0) DarkenFace(face.darken);
    PolygonAtDepths(face.points);
    if (face.darken != 0) RestoreFace();
  }
  // The end cap that faces the viewer.
  const bool capAtFarEnd = vertical ? DepthGoesUp() : DepthGoesRight();
  std::vector<TPoint3D> cap;
  for (int i = 0; i < kSides; ++i) cap.push_back(at(i, capAtFarEnd));
  if (darkSides) DarkenFace(64);
  PolygonAtDepths(cap);
  if (darkSides) RestoreFace();
}

void TPlotCanvas3D::DrawPyramidShape(bool vertical, const Rect& r, int frontZ, int backZ, bool darkSides) {
  const int midZ = (frontZ + backZ) / 2;
  std::vector<Face> faces;
  if (vertical) {
    // Base on the bottom face, apex at the centre of the top face.
    const TPoint3D apex{(r.left + r.right) / 2, r.top, midZ};
    const TPoint3D a{r.left, r.bottom, frontZ}, b{r.right, r.bottom, frontZ};
    const TPoint3D c{r.right, r.bottom, backZ}, d{r.left, r.bottom, backZ};
    faces = {{{a, b, apex}, 0, 0}, {{b, c, apex}, 0, 128}, {{c, d, apex}, 0, 0}, {{d, a, apex}, 0, 128}};
  } else {
    // Base on the left face, apex at the centre of the right face.
    const TPoint3D apex{r.right, (r.top + r.bottom) / 2, midZ};
    const TPoint3D a{r.left, r.top, frontZ}, b{r.left, r.bottom, frontZ};
    const TPoint3D c{r.left, r.bottom, backZ}, d{r.left, r.top, backZ};
    faces = {{{a, b, apex}, 0, 0}, {{b, c, apex}, 0, 128}, {{c, d, apex}, 0, 0}, {{d, a, apex}, 0, 64}};
  }
  for (Face& face : faces) face.depth = MeanDepth(face.points);
  std::stable_sort(faces.begin(), faces.end(), [](const Face& x, const Face& y) { return x.depth > y.depth; });
  for (const Face& face : faces) {
    const bool dark = darkSides && face.darken != 0;
    if (dark) DarkenFace(face.darken);
    PolygonAtDepths(face.points);
    if (dark) RestoreFace();
  }
}

void TPlotCanvas3D::DrawSolidPieSlice(int centerX, int centerY, int radiusX, int radiusY, double startAngle,
                                      double endAngle, int frontZ, int backZ, bool darkSides) {
  constexpr int kArcPoints = 32;
  std::vector<TPoint3D> front{{centerX, centerY, frontZ}};
  for (int i = 0; i < kArcPoints; ++i) {
    const double a = startAngle + (endAngle - startAngle) * i / (kArcPoints - 1);
    front.push_back({Round(centerX + radiusX * std::cos(a)), Round(centerY - radiusY * std::sin(a)), frontZ});
  }
  // The thickness first (rim and the two radial sides), the face on top.
  if (darkSides) DarkenFace(32);
  for (std::size_t i = 0; i < front.size(); ++i) {
    const TPoint3D& p = front[i];
    const TPoint3D& q = front[(i + 1) % front.size()];
    PolygonAtDepths({p, q, {q.x, q.y, backZ}, {p.x, p.y, backZ}});
  }
  if (darkSides) RestoreFace();
  PolygonAtDepths(front);
}

void TPlotCanvas3D::DrawArrowShape(bool filled, Point from, Point to, int headWidth, int headLength, int z) {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length <= 0) return;
  const double head = std::min<double>(Round(length), headLength);
  const double ux = dx / length, uy = dy / length;
  // Across the shaft, a quarter turn from its direction.
  const double nx = -uy, ny = ux;
  const double baseX = to.x - head * ux, baseY = to.y - head * uy;
  auto at = [&](double x, double y, double across) {
    return TPoint3D{Round(x + nx * across), Round(y + ny * across), z};
  };
  const TPoint3D corner1 = at(baseX, baseY, headWidth / 2.0);
  const TPoint3D corner2 = at(baseX, baseY, -headWidth / 2.0);
  if (!filled) {
    DrawLineAtDepth(from.x, from.y, to.x, to.y, z);
    DrawLineAtDepth(to.x, to.y, corner1.x, corner1.y, z);
    DrawLineAtDepth(to.x, to.y, corner2.x, corner2.y, z);
    return;
  }
  const double shaft = headWidth / 4.0;
  PolygonAtDepths({at(from.x, from.y, shaft), at(baseX, baseY, shaft), corner1, {to.x, to.y, z}, corner2,
                   at(baseX, baseY, -shaft), at(from.x, from.y, -shaft)});
}

}  // namespace plot
