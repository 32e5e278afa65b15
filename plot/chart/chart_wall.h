#pragma once

#include "plot/surface/chart_pen.h"
#include "plot/surface/chart_brush.h"

namespace plot {

class TCustomChart;

/// A wall of the chart: the back wall behind the series, and in 3D the left
/// and bottom walls.
class TChartWall {
 public:
  TChartWall(TCustomChart* chart, Color defaultColor);
  TChartWall(const TChartWall&) = delete;
  TChartWall& operator=(const TChartWall&) = delete;

  plot::Color Color() const { return color_; }
  void SetColor(plot::Color value);
  plot::Color DefaultColor() const { return defaultColor_; }
  TChartBrush& Brush() { return brush_; }
  const TChartBrush& Brush() const { return brush_; }
  TChartPen& Pen() { return pen_; }
  const TChartPen& Pen() const { return pen_; }
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);
  int Size() const { return size_; }
  void SetSize(int value);

  /// Pen and fill of the wall on the chart's surface.
  void Prepare();
  /// Hollow, bitmap and Dark3D off give flat sides.
  bool IsDark() const;
  void Assign(const TChartWall& source);

 private:
  void Repaint();
  TCustomChart* chart_;
  plot::Color color_;
  plot::Color defaultColor_;
  TChartBrush brush_;
  TChartPen pen_;
  bool dark3D_ = true;
  int size_ = 0;
};

}  // namespace plot
