// Pie series: settings, the slices' angles, the layout in the plotting
// rectangle, the hit test and the marks around the rim.
#include "plot/series/pie_series.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_exceptions.h"
#include "plot/series/series_marks.h"
#include "plot/surface/plot_canvas_3d.h"
#include "runtime/rounding.h"

namespace plot {

namespace {

// The top of a 3D pie, as high as this part of its width.
constexpr double kTilt = 0.6;

int Round(double value) { return static_cast<int>(runtime::RoundHalfEven(value)); }

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

void CheckPercent(int percent) {
  if (percent < 0 || percent > 100) throw ChartException("Exploded slice percent must be between 0 and 100");
}

}  // namespace

TPieSeries::TPieSeries() : piePen_(CreateChartPen()) {
  YValues().SetName("Pie");
  // Slices keep the order they were added in.
  XValues().SetOrder(loNone);
  SetColorEachPoint(true);
  Marks().SetVisible(true);
}

TPieSeries::~TPieSeries() = default;

bool TPieSeries::SameClassOrBase(const TChartSeries& other) const {
  return dynamic_cast<const TPieSeries*>(&other) != nullptr;
}

int TPieSeries::AddPie(double value, const std::string& label, Color color) { return AddPoint(value, label, color); }

// ---- settings

void TPieSeries::SetCircled(bool value) {
  if (circled_ == value) return;
  circled_ = value;
  RequestRepaint();
}

void TPieSeries::SetRotationAngle(int value) {
  value %= 360;
  if (value < 0) value += 360;
  if (rotationAngle_ == value) return;
  rotationAngle_ = value;
  RequestRepaint();
}

int TPieSeries::ExplodedSlice(int index) const {
  return index >= 0 && static_cast<std::size_t>(index) < explode_.size() ? explode_[static_cast<std::size_t>(index)]
                                                                         : 0;
}

void TPieSeries::SetExplodedSlice(int index, int percent) {
  CheckPercent(percent);
  if (index < 0 || index >= PointCount() || ExplodedSlice(index) == percent) return;
  if (explode_.size() <= static_cast<std::size_t>(index)) explode_.resize(static_cast<std::size_t>(index) + 1, 0);
  explode_[static_cast<std::size_t>(index)] = percent;
  RequestRepaint();
}

void TPieSeries::SetExplodeBiggest(int percent) {
  CheckPercent(percent);
  if (explodeBiggest_ == percent) return;
  explodeBiggest_ = percent;
  RequestRepaint();
}

void TPieSeries::SetDark3D(bool value) {
  if (dark3D_ == value) return;
  dark3D_ = value;
  RequestRepaint();
}

void TPieSeries::PrepareForGallery(bool enabled) {
  TChartSeries::PrepareForGallery(enabled);
  // A pie in one colour is no pie.
  if (enabled) SetColorEachPoint(true);
}

// ---- points: the exploded percentages stay with their slices

void TPieSeries::DeletePoint(int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < explode_.size()) explode_.erase(explode_.begin() + index);
  TChartSeries::DeletePoint(index);
}

void TPieSeries::ClearAllLists() {
  TChartSeries::ClearAllLists();
  explode_.clear();
}

void TPieSeries::SwapPoints(int a, int b) {
  TChartSeries::SwapPoints(a, b);
  const std::size_t need = static_cast<std::size_t>(std::max(a, b)) + 1;
  if (explode_.empty()) return;
  if (explode_.size() < need) explode_.resize(need, 0);
  std::swap(explode_[static_cast<std::size_t>(a)], explode_[static_cast<std::size_t>(b)]);
}

// ---- slices and layout

std::vector<TPieSeries::Slice> TPieSeries::Slices() const {
  const int n = PointCount();
  std::vector<double> weight(static_cast<std::size_t>(n), 0.0);
  double total = 0;
  int biggest = -1;
  for (int i = 0; i < n; ++i) {
    const double v = YValueAt(i);
    // A null point or a value that is no number takes no room.
    if (IsNullPoint(i) || !std::isfinite(v)) continue;
    weight[static_cast<std::size_t>(i)] = std::fabs(v);
    total += std::fabs(v);
    if (biggest < 0 || std::fabs(v) > weight[static_cast<std::size_t>(biggest)]) biggest = i;
  }
  std::vector<Slice> slices(static_cast<std::size_t>(n));
  double angle = rotationAngle_;
  for (int i = 0; i < n; ++i) {
    Slice& s = slices[static_cast<std::size_t>(i)];
    s.start = angle;
    s.sweep = total > 0 && std::isfinite(total) ? weight[static_cast<std::size_t>(i)] * 360.0 / total : 0.0;
    s.explode = std::max(ExplodedSlice(i), i == biggest ? explodeBiggest_ : 0);
    angle += s.sweep;
  }
  return slices;
}

double TPieSeries::SliceStartAngle(int index) const { return Slices()[static_cast<std::size_t>(index)].start; }

double TPieSeries::SliceEndAngle(int index) const {
  const Slice s = Slices()[static_cast<std::size_t>(index)];
  return s.start + s.sweep;
}

bool TPieSeries::Is3D() const { return ParentChart() != nullptr && ParentChart()->View3D(); }

void TPieSeries::CalcLayout() {
  layout_ = {};
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  const Rect& r = chart->ChartRect();
  layout_.centerX = (r.left + r.right) / 2;
  layout_.centerY = (r.top + r.bottom) / 2;
  // Room beside the pie for the widest and tallest mark and its arrow.
  int roomX = 0, roomY = 0;
  if (Marks().Visible() && PointCount() > 0) {
    chart->AssignFont(Marks().Font());
    TPlotCanvas3D& canvas = chart->Canvas();
    int widest = 0, mostLines = 1;
    for (int i = 0; i < PointCount(); ++i) {
      if (IsNullPoint(i)) continue;
      int lines = 1;
      widest = std::max(widest, chart->MultiLineTextWidth(MarkText(i), lines));
      mostLines = std::max(mostLines, lines);
    }
    const int frame = Marks().Frame().Visible() ? 2 * Marks().Frame().Width() : 0;
    roomX = widest + canvas.MeasureTextWidth("W") + frame + Marks().ArrowLength();
    roomY = mostLines * canvas.MeasureFontHeight() + frame + Marks().ArrowLength();
  }
  int mostExploded = 0;
  for (const Slice& s : Slices()) mostExploded = std::max(mostExploded, s.explode);
  const double shrink = 100.0 / (100.0 + mostExploded);
  const double halfWidth = std::max(0.0, (r.right - r.left) / 2.0 - roomX);
  const double halfHeight = std::max(0.0, (r.bottom - r.top) / 2.0 - roomY);
  if (Is3D()) {
    // The top's height and the thickness below it share the height.
    const double thick = chart->Chart3DPercent() / 100.0;
    const double rx = std::min(halfWidth, 2 * halfHeight / (2 * kTilt + thick)) * shrink;
    layout_.radiusX = Round(rx);
    layout_.radiusY = Round(rx * kTilt);
    layout_.thickness = Round(rx * thick);
    layout_.centerY -= layout_.thickness / 2;
  } else {
    layout_.radiusX = static_cast<int>(halfWidth * shrink);
    layout_.radiusY = static_cast<int>(halfHeight * shrink);
    if (circled_) layout_.radiusX = layout_.radiusY = std::min(layout_.radiusX, layout_.radiusY);
  }
}

Point TPieSeries::OnEllipse(Point centre, int rx, int ry, double bearing) {
  const double a = Radians(bearing);
  return {centre.x + Round(rx * std::sin(a)), centre.y - Round(ry * std::cos(a))};
}

Point TPieSeries::SliceCenter(const Slice& slice) const {
  const Point centre{layout_.centerX, layout_.centerY};
  if (slice.explode == 0 || slice.sweep <= 0) return centre;
  const double middle = Radians(slice.start + slice.sweep / 2);
  const double out = slice.explode / 100.0;
  return {centre.x + Round(layout_.radiusX * out * std::sin(middle)),
          centre.y - Round(layout_.radiusY * out * std::cos(middle))};
}

Point TPieSeries::SliceCenter(int index) const { return SliceCenter(Slices()[static_cast<std::size_t>(index)]); }

int TPieSeries::CalcXPos(int index) const {
  const Slice s = Slices()[static_cast<std::size_t>(index)];
  return OnEllipse(SliceCenter(s), layout_.radiusX, layout_.radiusY, s.start + s.sweep / 2).x;
}

int TPieSeries::CalcYPos(int index) const {
  const Slice s = Slices()[static_cast<std::size_t>(index)];
  const double middle = s.start + s.sweep / 2;
  const Point p = OnEllipse(SliceCenter(s), layout_.radiusX, layout_.radiusY, middle);
  // Below the front slices the rim shows: their marks hang from its foot.
  return std::cos(Radians(middle)) < 0 ? p.y + layout_.thickness : p.y;
}

// ---- mouse

int TPieSeries::ClickedPoint(int x, int y) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || layout_.radiusX <= 0 || layout_.radiusY <= 0) return -1;
  if (Is3D()) chart->Canvas().UnprojectPoint(x, y, MiddleZ());
  const std::vector<Slice> slices = Slices();
  auto within = [](const Slice& s, double bearing) {
    if (s.sweep >= 360) return true;
    const double into = std::fmod(bearing - s.start + 720.0, 360.0);
    return into < s.sweep;
  };
  auto bearingOf = [](double u, double v) {
    const double b = std::atan2(u, -v) * 180.0 / std::numbers::pi;
    return b < 0 ? b + 360.0 : b;
  };
  const double rx = layout_.radiusX, ry = layout_.radiusY;
  // The tops first: they cover the rim.
  for (std::size_t i = 0; i < slices.size(); ++i) {
    const Slice& s = slices[i];
    if (s.sweep <= 0 || PointColor(static_cast<int>(i)) == clNone) continue;
    const Point c = SliceCenter(s);
    const double u = (x - c.x) / rx, v = (y - c.y) / ry;
    if (u * u + v * v <= 1 && within(s, bearingOf(u, v))) return static_cast<int>(i);
  }
  if (layout_.thickness <= 0) return -1;
  for (std::size_t i = 0; i < slices.size(); ++i) {
    const Slice& s = slices[i];
    if (s.sweep <= 0 || PointColor(static_cast<int>(i)) == clNone) continue;
    const Point c = SliceCenter(s);
    const double u = (x - c.x) / rx;
    if (std::fabs(u) > 1) continue;
    // How far the pixel lies below the front edge of the top.
    const double below = y - (c.y + ry * std::sqrt(1 - u * u));
    if (below >= 0 && below <= layout_.thickness && within(s, bearingOf(u, std::sqrt(1 - u * u)))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// ---- marks

void TPieSeries::DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  const Slice s = Slices()[static_cast<std::size_t>(index)];
  if (s.sweep <= 0) return;
  const double middle = s.start + s.sweep / 2;
  const int reach = Marks().ArrowLength();
  Point end = OnEllipse(SliceCenter(s), layout_.radiusX + reach, layout_.radiusY + reach, middle);
  const double across = std::sin(Radians(middle)), up = std::cos(Radians(middle));
  if (up < 0) end.y += layout_.thickness;
  // The box leans away from the pie: right of the arrow on the right, above
  // it at the top, and so on round the rim.
  position.ArrowStart = {CalcXPos(index), CalcYPos(index)};
  position.ArrowEnd = end;
  position.BoxLeftTop = {end.x - position.Width / 2 + Round(position.Width / 2.0 * across),
                         end.y - position.Height / 2 - Round(position.Height / 2.0 * up)};
  Marks().SetZPosition(MiddleZ());
  Marks().DrawMarkAt(index, PointColor(index), position, text);
}

}  // namespace plot
