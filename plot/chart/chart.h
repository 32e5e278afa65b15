#pragma once

#include <array>
#include <functional>
#include <memory>

#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_legend.h"
#include "plot/chart/chart_title.h"
#include "plot/chart/chart_wall.h"

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

  // ---- zoom and scroll with the mouse
  /// A press offers the click to series, axes, titles, legend and
  /// background; on a series point, an axis or the empty plotting rectangle
  /// the zoom button starts a zoom box and the scroll button a scroll.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  /// Zooms the four axes onto the (normalised) zoom record.
  void ZoomToBox();
  /// A target range per axis, in the order left, right, top, bottom.
  using AxisRanges = std::array<std::pair<double, double>, 4>;
  /// Saves the axes before the first zoom, moves them (in steps when
  /// animated, repainting at once after each), sets the zoomed flag.
  void ZoomToValues(const AxisRanges& ranges);
  /// Restores the axes saved before the first zoom or scroll.
  void ResetZoom() override;
  /// Whether axes saved before a zoom or scroll are held.
  bool AxesSaved() const { return !axesUnsaved_; }

  std::function<void(TCustomChart& sender, TChartSeries& series, int valueIndex, TMouseButton button,
                     TShiftState shift, int x, int y)>
      OnClickSeries;
  std::function<void(TCustomChart& sender, TCustomChartAxis& axis, TMouseButton button, TShiftState shift, int x,
                     int y)>
      OnClickAxis;
  std::function<void(TCustomChart& sender, TMouseButton button, TShiftState shift, int x, int y)> OnClickLegend;
  std::function<void(TCustomChart& sender, TMouseButton button, TShiftState shift, int x, int y)> OnClickBackground;
  /// The axis about to scroll and its proposed range; clear `allow` to
  /// refuse.
  std::function<void(TCustomChartAxis& sender, double& min, double& max, bool& allow)> OnAllowScroll;

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

  struct SavedAxis {
    bool automatic, automaticMinimum, automaticMaximum;
    double minimum, maximum;
  };
  std::array<TChartAxis*, 4> ZoomAxes();  // left, right, top, bottom
  void SaveAxes();
  bool StartDrag(TMouseButton button, TShiftState shift, int x, int y);
  /// Offers a click to an event: sets the cancel flag, calls, and tells
  /// whether the handler kept it set (the click was handled).
  bool OfferClick(const std::function<void()>& call);
  bool PanDirection(bool horizontal, int from, int to);
  std::array<SavedAxis, 4> savedAxes_{};
  bool axesUnsaved_ = true;
};

/// The chart component.
class TChart : public TCustomChart {
 public:
  TChart() = default;
};

}  // namespace plot
