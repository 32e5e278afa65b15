#include "plot/surface/chart_pen.h"

namespace plot {

void TChartPen::Changed() {
  if (OnChange) OnChange();
}

void TChartPen::SetColor(plot::Color value) {
  if (color_ == value) return;
  color_ = value;
  Changed();
}

void TChartPen::SetStyle(PenStyle value) {
  if (style_ == value) return;
  style_ = value;
  Changed();
}

void TChartPen::SetWidth(int value) {
  if (width_ == value) return;
  width_ = value;
  Changed();
}

void TChartPen::SetMode(PenMode value) {
  if (mode_ == value) return;
  mode_ = value;
  Changed();
}

void TChartPen::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Changed();
}

void TChartPen::SetSmallDots(bool value) {
  if (smallDots_ == value) return;
  smallDots_ = value;
  Changed();
}

void TChartPen::Assign(const TChartPen& source) {
  const bool same = color_ == source.color_ && style_ == source.style_ && width_ == source.width_ &&
                    mode_ == source.mode_ && visible_ == source.visible_ && smallDots_ == source.smallDots_;
  if (same) return;
  color_ = source.color_;
  style_ = source.style_;
  width_ = source.width_;
  mode_ = source.mode_;
  visible_ = source.visible_;
  smallDots_ = source.smallDots_;
  Changed();
}

platform::Pen TChartPen::AsPlatformPen() const {
  platform::Pen pen;
  pen.color = ColorToRGB(color_);
  pen.style = style_;
  pen.width = width_;
  pen.mode = mode_;
  return pen;
}

}  // namespace plot
