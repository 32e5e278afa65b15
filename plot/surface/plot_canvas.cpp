#include "plot/surface/plot_canvas.h"

#include "plot/surface/chart_pen.h"

namespace plot {

TPlotCanvas::TPlotCanvas(platform::DeviceCanvas* reference) : reference_(reference) {}

// The surface font is the reference canvas's own font, so measuring with it
// needs no copy.
int TPlotCanvas::MeasureTextWidth(const std::string& text) {
  platform::Size extent;
  return Ref().TextExtent(text, extent) ? extent.cx : 0;
}

int TPlotCanvas::MeasureTextHeight(const std::string& text) {
  platform::Size extent;
  return Ref().TextExtent(text, extent) ? extent.cy : 0;
}

void TPlotCanvas::ResetDrawingState() {
  platform::DeviceCanvas& canvas = Ref();
  canvas.Pen().color = clBlack;
  canvas.Pen().width = 1;
  canvas.Pen().style = platform::PenStyle::Solid;
  canvas.Pen().alternate = false;
  canvas.Brush().color = clWhite;
  canvas.Brush().style = platform::BrushStyle::Solid;
  canvas.Brush().bitmap.reset();
  canvas.Font().color = clBlack;
  canvas.Font().SetSize(10);
  SetBackgroundColor(clWhite);
  SetBackgroundMode(platform::BackgroundMode::Transparent);
}

void TPlotCanvas::ApplyChartPen(const TChartPen& pen) {
  platform::Pen& target = Ref().Pen();
  if (!pen.Visible()) {
    target.style = platform::PenStyle::Clear;
    return;
  }
  if (pen.SmallDots() && pen.Width() == 1 && Ref().SupportsAlternatePen()) {
    // A new cosmetic pen: only the colour comes along; the raster mode stays
    // the canvas's.
    target.color = ColorToRGB(pen.Color());
    target.style = platform::PenStyle::Solid;
    target.width = 1;
    target.alternate = true;
    return;
  }
  target = pen.AsPlatformPen();
}

Rect TCanvas3D::ProjectRect(const Rect& rect, int z) const {
  const Point a = ProjectPoint(rect.left, rect.top, z);
  const Point b = ProjectPoint(rect.right, rect.bottom, z);
  return {a.x, a.y, b.x, b.y};
}

}  // namespace plot
