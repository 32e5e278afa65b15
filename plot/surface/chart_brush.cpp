#include "plot/surface/chart_brush.h"

namespace plot {

void TChartBrush::Changed() {
  if (OnChange) OnChange();
}

void TChartBrush::SetColor(plot::Color value) {
  if (color_ == value) return;
  color_ = value;
  Changed();
}

void TChartBrush::SetStyle(platform::BrushStyle value) {
  if (style_ == value) return;
  style_ = value;
  Changed();
}

void TChartBrush::SetBitmap(std::shared_ptr<const platform::Bitmap> value) {
  if (bitmap_ == value) return;
  bitmap_ = std::move(value);
  Changed();
}

void TChartBrush::Assign(const TChartBrush& source) {
  if (color_ == source.color_ && style_ == source.style_ && bitmap_ == source.bitmap_) return;
  color_ = source.color_;
  style_ = source.style_;
  bitmap_ = source.bitmap_;
  Changed();
}

}  // namespace plot
