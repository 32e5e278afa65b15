#pragma once

#include <memory>

#include "chart/axis_panel.h"
#include "chart/chart_legend.h"
#include "chart/chart_title.h"
#include "chart/chart_wall.h"

namespace plot {

/// A chart with title, foot, walls and legend; it fixes the layout steps
/// the axis panel leaves open.
class TCustomChart : public TCustomAxisPanel {
 public:
  TCustomChart();
  ~TCustomChart() override;

  TChartTitle& Title() { return *title_; }
  TChartTitle& Foot() { return *foot_; }
  TChartWall& BackWall() { return *backWall_; }
  TChartWall& LeftWall() { return *leftWall_; }
  TChartWall& BottomWall() { return *bottomWall_; }
  TChartLegend& Legend() { return *legend_; }
  const TChartLegend& Legend() const { return *legend_; }
  bool BackImageInside() const { return backImageInside_; }
  void SetBackImageInside(bool value);
  /// The back wall's colour; setting it makes the back wall's brush solid.
  plot::Color BackColor() const;
  void SetBackColor(plot::Color value);
  /// The back wall's pen.
  TChartPen& Frame();

  /// Legend text of a point in the legend's text style.
  std::string FormattedValueLegend(const TChartSeries& series, int valueIndex) const override;
  bool IsFreeSeriesColor(plot::Color color, bool checkBackground) const override;
  int GetAxisSeparationWall(const TCustomChartAxis* axis) const override;
  void DrawBackImage(const Rect& rect) override;

  TGetLegendTextEvent OnGetLegendText;
  TGetLegendPosEvent OnGetLegendPos;
  TGetLegendRectEvent OnGetLegendRect;

 protected:
  void DrawTitlesAndLegend() override;
  void CalcAxisRect() override;
  void CalcSeriesRect() override;
  void DrawWalls() override;

 private:
  std::unique_ptr<TChartTitle> title_, foot_;
  std::unique_ptr<TChartWall> backWall_, leftWall_, bottomWall_;
  std::unique_ptr<TChartLegend> legend_;
  bool backImageInside_ = false;
};

/// The chart component.
class TChart : public TCustomChart {
 public:
  TChart() = default;
};

}  // namespace plot
