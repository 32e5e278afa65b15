#include "plot/chart/chart_wall.h"

#include "plot/chart/chart.h"

namespace plot {

TChartWall::TChartWall(TCustomChart* chart, plot::Color defaultColor)
    : chart_(chart), color_(defaultColor), defaultColor_(defaultColor) {
  auto repaint = [this] { Repaint(); };
  brush_.OnChange = repaint;
  pen_.OnChange = repaint;
}

void TChartWall::Repaint() {
  if (chart_ != nullptr) chart_->Invalidate();
}

void TChartWall::SetColor(plot::Color value) {
  if (color_ == value) return;
  color_ = value;
  Repaint();
}

void TChartWall::SetDark3D(bool value) {
  if (dark3D_ == value) return;
  dark3D_ = value;
  Repaint();
}

void TChartWall::SetSize(int value) {
  if (size_ == value) return;
  size_ = value;
  Repaint();
}

bool TChartWall::IsDark() const {
  return dark3D_ && brush_.Style() != platform::BrushStyle::Clear && !brush_.Bitmap();
}

void TChartWall::Prepare() {
  TPlotCanvas3D& canvas = chart_->Canvas();
  canvas.ApplyChartPen(pen_);
  if (brush_.Bitmap()) {
    canvas.Brush().bitmap = brush_.Bitmap();
    canvas.Brush().style = platform::BrushStyle::Solid;
    return;
  }
  if (color_ == clAutoColor && brush_.Style() == platform::BrushStyle::Solid) {
    canvas.Brush().bitmap.reset();
    canvas.Brush().style = platform::BrushStyle::Clear;
    return;
  }
  chart_->SetBrushCanvas(color_, brush_.Style(), brush_.Color());
}

void TChartWall::Assign(const TChartWall& source) {
  brush_.Assign(source.brush_);
  SetColor(source.color_);
  SetDark3D(source.dark3D_);
  pen_.Assign(source.pen_);
  SetSize(source.size_);
}

}  // namespace plot
