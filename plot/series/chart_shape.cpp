// Shape series: one rectangle, ellipse, triangle or text box between two
// corners, its text, hit test, mark and legend row.
#include "plot/series/chart_shape.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "plot/axes/chart_axis.h"
#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/axis_panel.h"
#include "plot/series/series_marks.h"

namespace plot {

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\r', start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

TChartShape::TChartShape() : pen_(CreateChartPen()) {
  brush_.OnChange = [this] { RequestRepaint(); };
  font_.OnChange = [this] { RequestRepaint(); };
  XValues().SetOrder(loNone);
}

TChartShape::~TChartShape() = default;

// ---- corners

double TChartShape::X0() const { return PointCount() > 0 ? XValueAt(0) : 0; }
double TChartShape::Y0() const { return PointCount() > 0 ? YValueAt(0) : 0; }
double TChartShape::X1() const { return PointCount() > 1 ? XValueAt(1) : 0; }
double TChartShape::Y1() const { return PointCount() > 1 ? YValueAt(1) : 0; }

void TChartShape::EnsureCorners() {
  while (PointCount() < 2) AddPointXY(X0(), Y0());
}

void TChartShape::SetX0(double value) {
  EnsureCorners();
  SetXValueAt(0, value);
}

void TChartShape::SetY0(double value) {
  EnsureCorners();
  SetYValueAt(0, value);
}

void TChartShape::SetX1(double value) {
  EnsureCorners();
  SetXValueAt(1, value);
}

void TChartShape::SetY1(double value) {
  EnsureCorners();
  SetYValueAt(1, value);
}

void TChartShape::SetCorners(double x0, double y0, double x1, double y1) {
  EnsureCorners();
  SetXValueAt(0, x0);
  SetYValueAt(0, y0);
  SetXValueAt(1, x1);
  SetYValueAt(1, y1);
}

void TChartShape::FillSampleValues(int count) {
  if (count <= 0) throw std::invalid_argument("FillSampleValues NumValues must be > 0");
  double x0 = 0, x1 = 1000, y0 = 0, y1 = 1000;
  TCustomAxisPanel* chart = ParentChart();
  if (chart != nullptr && chart->GetMaxValuesCount() > PointCount() && GetHorizAxis() != nullptr &&
      GetVertAxis() != nullptr) {
    // Other series show data: the shape goes in the middle of their ranges.
    x0 = GetHorizAxis()->Minimum();
    x1 = GetHorizAxis()->Maximum();
    y0 = GetVertAxis()->Minimum();
    y1 = GetVertAxis()->Maximum();
  }
  ClearPoints();
  AddPointXY(x0 + (x1 - x0) / 4, y0 + (y1 - y0) / 4);
  AddPointXY(x1 - (x1 - x0) / 4, y1 - (y1 - y0) / 4);
  NotifyDependents(ChangeRefreshed);
}

// ---- settings

void TChartShape::SetStyle(TChartShapeStyle value) {
  if (style_ == value) return;
  style_ = value;
  RequestRepaint();
}

void TChartShape::SetText(const std::string& value) {
  if (text_ == value) return;
  text_ = value;
  RequestRepaint();
}

void TChartShape::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  RequestRepaint();
}

void TChartShape::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  RequestRepaint();
}

void TChartShape::SetDark3D(bool value) {
  if (dark3D_ == value) return;
  dark3D_ = value;
  RequestRepaint();
}

// ---- geometry

Rect TChartShape::ShapeBounds() const {
  const TCustomChartAxis* horiz = GetHorizAxis();
  const TCustomChartAxis* vert = GetVertAxis();
  if (horiz == nullptr || vert == nullptr || PointCount() < 2) return {};
  const int ax = horiz->ValueToPixel(X0()), bx = horiz->ValueToPixel(X1());
  const int ay = vert->ValueToPixel(Y0()), by = vert->ValueToPixel(Y1());
  return {std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
}

// The triangle's base is at the first corner's Y, its apex at the second's.
bool TChartShape::PointsUp() const {
  const TCustomChartAxis* vert = GetVertAxis();
  if (vert == nullptr) return Y1() >= Y0();
  return vert->ValueToPixel(Y1()) <= vert->ValueToPixel(Y0());
}

bool TChartShape::Inside(Point p, const Rect& box) const {
  switch (style_) {
    case chasEllipse: return hit_test::PointInEllipse(p, box);
    case chasTriangle:
      return PointsUp() ? hit_test::PointInVerticalTriangle(p, box.left, box.right, box.bottom, box.top)
                        : hit_test::PointInVerticalTriangle(p, box.left, box.right, box.top, box.bottom);
    default: return p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
  }
}

void TChartShape::HorizMargins(int& left, int& right) {
  left = right = pen_->Visible() ? pen_->Width() + 1 : 1;
}

void TChartShape::VertMargins(int& top, int& bottom) { HorizMargins(top, bottom); }

// ---- drawing

void TChartShape::Prepare(Color color) {
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  canvas.ApplyChartPen(*pen_);
  if (pen_->Visible()) chart.CheckPenWidth(canvas.Pen());
  if (transparent_) {
    canvas.Brush().style = platform::BrushStyle::Clear;
  } else if (brush_.Bitmap()) {
    canvas.Brush().bitmap = brush_.Bitmap();
  } else {
    chart.SetBrushCanvas(brush_.Color() == clAutoColor ? color : brush_.Color(), brush_.Style(), chart.Color());
  }
}

void TChartShape::DrawValue(int index) {
  TCustomAxisPanel* chart = ParentChart();
  // The shape is drawn once, for its first point.
  if (chart == nullptr || index != 0 || PointCount() < 2) return;
  const Color color = PointColor(0);
  if (color == clNone) return;
  TPlotCanvas3D& canvas = chart->Canvas();
  const Rect box = ShapeBounds();
  Prepare(color);
  const bool is3D = chart->View3D();
  switch (style_) {
    case chasEllipse:
      if (is3D) {
        canvas.DrawEllipseAtDepth(box, StartZ());
      } else {
        canvas.DrawEllipse(box.left, box.top, box.right, box.bottom);
      }
      break;
    case chasTriangle: {
      const int baseY = PointsUp() ? box.bottom : box.top, apexY = PointsUp() ? box.top : box.bottom;
      if (is3D) {
        canvas.DrawPyramidShape(true, {box.left, apexY, box.right, baseY}, StartZ(), EndZ(), dark3D_);
      } else {
        const Point points[] = {{box.left, baseY}, {(box.left + box.right) / 2, apexY}, {box.right, baseY}};
        canvas.DrawPolygon(points, 2);
      }
      break;
    }
    default:
      if (is3D) {
        canvas.DrawBox(box, StartZ(), EndZ(), dark3D_);
      } else {
        canvas.DrawRectangle(box.left, box.top, box.right, box.bottom);
      }
      break;
  }
  DrawText(box);
}

void TChartShape::DrawText(const Rect& box) {
  const std::vector<std::string> lines = SplitLines(text_);
  if (lines.empty()) return;
  TCustomAxisPanel& chart = *ParentChart();
  TPlotCanvas3D& canvas = chart.Canvas();
  chart.AssignFont(font_);
  canvas.Brush().style = platform::BrushStyle::Clear;
  const int h = canvas.MeasureFontHeight();
  const int inset = canvas.MeasureTextWidth("W") / 2;
  int x = (box.left + box.right) / 2;
  unsigned align = platform::text_align::kCenter;
  if (alignment_ == taLeftJustify) {
    x = box.left + inset;
    align = platform::text_align::kLeft;
  } else if (alignment_ == taRightJustify) {
    x = box.right - inset;
    align = platform::text_align::kRight;
  }
  const int n = static_cast<int>(lines.size());
  int y = style_ == chasTextBox ? box.top + inset : (box.top + box.bottom) / 2 - n * h / 2;
  canvas.SetTextAlignment(align | platform::text_align::kTop);
  for (const std::string& line : lines) {
    if (chart.View3D()) {
      canvas.WriteTextAtDepth(x, y, StartZ(), line);
    } else {
      canvas.WriteText(x, y, line);
    }
    y += h;
  }
  canvas.SetTextAlignment(0);
}

int TChartShape::ClickedPoint(int x, int y) {
  if (ParentChart() == nullptr || PointCount() < 2 || PointColor(0) == clNone) return -1;
  ParentChart()->Canvas().UnprojectPoint(x, y, StartZ());
  return Inside({x, y}, ShapeBounds()) ? 0 : -1;
}

void TChartShape::DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  if (index != 0 || PointCount() < 2) return;
  const Rect box = ShapeBounds();
  const int dx = (box.left + box.right) / 2 - position.ArrowStart.x, dy = box.top - position.ArrowStart.y;
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

std::string TChartShape::LegendString(int index, int textStyle) const {
  if (text_.empty()) return TChartSeries::LegendString(index, textStyle);
  std::string text = text_;
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

void TChartShape::DrawLegendShape(int index, const Rect& rect) {
  if (ParentChart() == nullptr) return;
  Prepare(index == -1 ? SeriesColor() : LegendItemColor(index));
  TPlotCanvas3D& canvas = ParentChart()->Canvas();
  switch (style_) {
    case chasEllipse: canvas.DrawEllipse(rect.left, rect.top, rect.right, rect.bottom); break;
    case chasTriangle: {
      const int apex = PointsUp() ? rect.top : rect.bottom, base = PointsUp() ? rect.bottom : rect.top;
      const Point points[] = {{rect.left, base}, {(rect.left + rect.right) / 2, apex}, {rect.right, base}};
      canvas.DrawPolygon(points, 2);
      break;
    }
    default: canvas.DrawRectangleRect(rect); break;
  }
}

}  // namespace plot
