#pragma once

#include <functional>
#include <memory>

#include "plot/surface/chart_colors.h"
#include "platform/device_canvas.h"

namespace plot {

/// A fill of a chart element: colour (automatic at first), style and an
/// optional bitmap. Changes raise OnChange, which repaints the chart.
class TChartBrush {
 public:
  TChartBrush() = default;
  TChartBrush(const TChartBrush&) = delete;
  TChartBrush& operator=(const TChartBrush&) = delete;

  plot::Color Color() const { return color_; }
  void SetColor(plot::Color value);
  platform::BrushStyle Style() const { return style_; }
  void SetStyle(platform::BrushStyle value);
  const std::shared_ptr<const platform::Bitmap>& Bitmap() const { return bitmap_; }
  void SetBitmap(std::shared_ptr<const platform::Bitmap> value);
  void Assign(const TChartBrush& source);

  std::function<void()> OnChange;

 private:
  void Changed();
  plot::Color color_ = clAutoColor;
  platform::BrushStyle style_ = platform::BrushStyle::Solid;
  std::shared_ptr<const platform::Bitmap> bitmap_;
};

}  // namespace plot
