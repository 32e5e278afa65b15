#include <algorithm>

#include "plot/surface/plot_canvas_3d.h"
#include "runtime/rounding.h"

namespace plot {

namespace {

// The point size text is written at under the 3D zoom: never below 1.
int ZoomedSize(int size, double zoom) {
  return std::max(1, static_cast<int>(runtime::RoundHalfEven(size * zoom)));
}

int HeightForSize(int size, int pixelsPerInch) { return -platform::MulDiv(size, pixelsPerInch, 72); }

}  // namespace

void TPlotCanvas3D::TextWithCurrentBrush(int x, int y, const std::string& text) {
  platform::DeviceCanvas& canvas = Ref();
  // A clear brush means see-through text, whatever background mode a hatch
  // fill left behind.
  const bool seeThrough =
      canvas.Brush().style == platform::BrushStyle::Clear && canvas.BkMode() == platform::BackgroundMode::Opaque;
  if (seeThrough) canvas.SetBkMode(platform::BackgroundMode::Transparent);
  canvas.TextOut(x, y, text);
  if (seeThrough) canvas.SetBkMode(platform::BackgroundMode::Opaque);
}

void TPlotCanvas3D::WriteText(int x, int y, const std::string& text) { TextWithCurrentBrush(x, y, text); }

void TPlotCanvas3D::WriteRotatedText(int x, int y, int angle, const std::string& text) {
  Brush().style = platform::BrushStyle::Clear;
  if (angle > 360) angle -= 360;
  platform::Font& font = Font();
  const platform::Font saved = font;
  font.escapement = angle * 10;
  font.orientation = angle * 10;
  if (scaleTextWithZoom_ && zoomFactor_ != 1.0) {
    font.height = HeightForSize(ZoomedSize(saved.Size(), zoomFactor_), saved.pixelsPerInch);
  }
  TextWithCurrentBrush(x, y, text);
  Font() = saved;
}

void TPlotCanvas3D::WriteTextAtDepth(int x, int y, int z, const std::string& text) {
  ProjectInPlace(x, y, z);
  const int size = Font().Size();
  if (!scaleTextWithZoom_ || zoomFactor_ == 1.0 || ZoomedSize(size, zoomFactor_) == size) {
    TextWithCurrentBrush(x, y, text);
    return;
  }
  platform::Font& font = Font();
  const platform::Font saved = font;
  font.height = HeightForSize(ZoomedSize(size, zoomFactor_), saved.pixelsPerInch);
  TextWithCurrentBrush(x, y, text);
  Font() = saved;
}

void TPlotCanvas3D::WriteRotatedTextAtDepth(int x, int y, int z, int angle, const std::string& text) {
  ProjectInPlace(x, y, z);
  WriteRotatedText(x, y, angle, text);
}

}  // namespace plot
