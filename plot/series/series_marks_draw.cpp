// Drawing of series marks: the framed text boxes joined to their points.
#include <algorithm>
#include <string>
#include <vector>

#include "plot/surface/plot_canvas_3d.h"
#include "plot/surface/view3d_options.h"
#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_series.h"
#include "runtime/rounding.h"
#include "plot/series/series_marks.h"

namespace plot {

namespace {

bool checkArrowColor = true;

// Lines of a mark text; a trailing carriage return adds no line.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\r', start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

}  // namespace

bool CheckMarkArrowColor() { return checkArrowColor; }
void SetCheckMarkArrowColor(bool value) { checkArrowColor = value; }

void TSeriesMarks::DrawAll() {
  TCustomAxisPanel* chart = series_ != nullptr ? series_->ParentChart() : nullptr;
  if (chart == nullptr) return;
  TPlotCanvas3D& canvas = chart->Canvas();
  const int first = series_->FirstVisibleIndex(), last = series_->LastVisibleIndex();
  if (first < 0) return;
  const bool zoomText = chart->View3D() && chart->View3DOptions().ZoomText();
  for (int i = first; i <= last && i < series_->PointCount(); ++i) {
    if (series_->PointColor(i) == clNone) continue;
    const std::string text = series_->MarkText(i);
    if (text.empty()) continue;
    chart->AssignFont(font_);
    if (zoomText) {
      const double size = font_.Size() * chart->View3DOptions().Zoom() * 0.01;
      canvas.Font().SetSize(std::max(1, static_cast<int>(runtime::RoundHalfEven(size))));
    }
    const std::vector<std::string> lines = SplitLines(text);
    int widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, canvas.MeasureTextWidth(line));
    TSeriesMarkPosition position;
    position.Width = widest + canvas.MeasureTextWidth("W");
    position.Height = static_cast<int>(lines.size()) * canvas.MeasureFontHeight();
    if (frame_.Visible()) {
      position.Width += 2 * frame_.Width();
      position.Height += 2 * frame_.Width();
    }
    canvas.ApplyChartPen(frame_);
    const Point at{series_->CalcXPos(i), series_->CalcYPos(i)};
    position.ArrowStart = position.ArrowEnd = at;
    position.BoxLeftTop = {at.x - position.Width / 2, at.y - position.Height + 1};
    series_->DrawMark(i, text, position);
  }
}

void TSeriesMarks::DrawMarkAt(int index, Color color, TSeriesMarkPosition& position, const std::string& text) {
  TCustomAxisPanel* chart = series_ != nullptr ? series_->ParentChart() : nullptr;
  if (chart == nullptr) return;
  TCanvas3D& canvas = chart->Canvas();
  const bool is3D = chart->View3D();

  // A position placed from outside survives repaints.
  TSeriesMarkPosition& stored = positions_.Ensure(index);
  if (stored.UserPlaced) {
    position = stored;
  } else {
    stored.Assign(position);
  }

  if (arrow_.Visible()) {
    canvas.ApplyChartPen(arrow_);
    canvas.Brush().style = platform::BrushStyle::Clear;
    if (checkArrowColor) {
      // An arrow that would vanish against its point or the chart.
      const Color pen = ColorToRGB(arrow_.Color());
      const Color chartColor = ColorToRGB(chart->Color());
      if (pen == ColorToRGB(color) || pen == chartColor) canvas.Pen().color = chartColor == clBlack ? clWhite : clBlack;
    }
    if (is3D) {
      canvas.DrawLineAtDepth(position.ArrowStart.x, position.ArrowStart.y, position.ArrowEnd.x, position.ArrowEnd.y,
                             zPosition_);
    } else {
      canvas.DrawLine(position.ArrowStart.x, position.ArrowStart.y, position.ArrowEnd.x, position.ArrowEnd.y);
    }
  }

  const bool inDepth = is3D && canvas.CanDrawTextInDepth();
  if (is3D && !inDepth) {
    // Flat text: the box follows its arrow's projected end.
    const Point end = canvas.ProjectPoint(position.ArrowEnd.x, position.ArrowEnd.y, zPosition_);
    position.BoxLeftTop.x += end.x - position.ArrowEnd.x;
    position.BoxLeftTop.y += end.y - position.ArrowEnd.y;
    position.ArrowEnd = end;
  }

  int textTop = position.BoxLeftTop.y;
  if (frame_.Visible() || !transparent_) {
    canvas.Brush().color = backColor_;
    canvas.Brush().style = transparent_ ? platform::BrushStyle::Clear : platform::BrushStyle::Solid;
    canvas.ApplyChartPen(frame_);
    if (inDepth) {
      canvas.DrawRectangleAtDepth(position.Bounds(), zPosition_ + 1);
    } else {
      canvas.DrawRectangleRect(position.Bounds());
    }
    if (frame_.Visible()) textTop += frame_.Width();
  }

  canvas.Brush().style = platform::BrushStyle::Clear;
  canvas.SetTextAlignment(platform::text_align::kCenter | platform::text_align::kTop);
  const int x = position.BoxLeftTop.x + position.Width / 2;
  const int lineHeight = canvas.MeasureFontHeight();
  for (const std::string& line : SplitLines(text)) {
    if (inDepth) {
      canvas.WriteTextAtDepth(x, textTop, zPosition_, line);
    } else {
      canvas.WriteText(x, textTop, line);
    }
    textTop += lineHeight;
  }
  canvas.SetTextAlignment(0);
}

}  // namespace plot
