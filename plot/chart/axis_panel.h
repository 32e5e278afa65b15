#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plot/axes/chart_axis.h"
#include "plot/chart/plot_panel_extended.h"

namespace plot {

class TChartSeries;
class TCustomAxisPanel;

/// The series of a chart in drawing (and legend) order. The chart only
/// refers to them: whoever created a series owns it.
class TChartSeriesList {
 public:
  explicit TChartSeriesList(TCustomAxisPanel* chart) : chart_(chart) {}
  TCustomAxisPanel* Chart() const { return chart_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TChartSeries* operator[](int index) const { return items_[static_cast<std::size_t>(index)]; }
  int IndexOf(const TChartSeries* series) const;
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  friend class TCustomAxisPanel;
  TCustomAxisPanel* chart_;
  std::vector<TChartSeries*> items_;
};

using TAxisGetLabelEvent =
    std::function<void(TCustomChartAxis& sender, TChartSeries* series, int valueIndex, std::string& labelText)>;
using TAxisGetNextLabelEvent =
    std::function<void(TCustomChartAxis& sender, int labelIndex, double& labelValue, bool& stop)>;

/// Adds to the panel the series list, the five axes and the ordered drawing
/// of one chart picture. Layout steps it cannot know (titles, legend,
/// walls) are left to the chart class.
class TCustomAxisPanel : public TCustomPlotPanelExtended {
 public:
  TCustomAxisPanel();
  ~TCustomAxisPanel() override;

  // ---- series
  const TChartSeriesList& SeriesList() const { return seriesList_; }
  int SeriesCount() const { return seriesList_.Count(); }
  TChartSeries* Series(int index) const { return seriesList_[index]; }
  /// Adds a series (ignored when already there); it joins this chart.
  void AddSeries(TChartSeries* series);
  /// Removes a series (ignored when not there); it leaves this chart.
  void RemoveSeries(TChartSeries* series);
  /// Swaps two list positions, then repaints.
  void ExchangeSeries(int a, int b);
  int CountActiveSeries() const;
  TChartSeries* GetFirstActiveSeries() const;
  int GetMaxValuesCount() const;
  /// Detaches every series.
  void RemoveAllSeries();

  // ---- axes
  TChartAxis& BottomAxis() { return *bottomAxis_; }
  TChartAxis& TopAxis() { return *topAxis_; }
  TChartAxis& LeftAxis() { return *leftAxis_; }
  TChartAxis& RightAxis() { return *rightAxis_; }
  TChartDepthAxis& DepthAxis() { return *depthAxis_; }
  /// Bottom, top, left, right, depth, then custom axes.
  const std::vector<TCustomChartAxis*>& Axes() const { return axes_; }
  void RegisterAxis(TCustomChartAxis* axis) { axes_.push_back(axis); }
  void UnregisterAxis(TCustomChartAxis* axis);
  bool AxisVisible() const { return axisVisible_; }
  void SetAxisVisible(bool value);
  /// True when some active series uses axes, or when none is active; a
  /// chart of series beside the axes only (pies) draws no axes and walls.
  bool ActiveSeriesUseAxis() const;
  /// Whether an axis is drawn (and takes room) in this paint.
  bool IsAxisShown(const TCustomChartAxis* axis) const;
  bool IsBuiltInAxis(const TCustomChartAxis* axis) const;

  // ---- range service for the axes
  double MinXValue(const TCustomChartAxis* axis) const;
  double MaxXValue(const TCustomChartAxis* axis) const;
  double MinYValue(const TCustomChartAxis* axis) const;
  double MaxYValue(const TCustomChartAxis* axis) const;
  double MinZValue() const;
  double MaxZValue() const;
  /// Widest point label (multi-line) over the series that have labels, and
  /// widest mark text over the active series, with the surface's font.
  int MaxLabelsWidth();
  int MaxMarkWidth();
  /// Text of the series in depth slot `slot` (depth axis labels).
  std::string SeriesTitleForDepth(int slot) const;
  /// The series' legend title: Title, component name or "Series " + n.
  std::string SeriesTitleLegend(int index) const;

  // ---- settings
  bool ClipPoints() const { return clipPoints_; }
  void SetClipPoints(bool value);
  bool View3DWalls() const { return view3DWalls_; }
  void SetView3DWalls(bool value);
  int MaxPointsPerPage() const { return maxPointsPerPage_; }
  /// ChartException "MaxPointsPerPage must be >= 0" below 0.
  void SetMaxPointsPerPage(int value);
  int Page() const { return page_; }
  virtual void SetPage(int value);
  bool ScaleLastPage() const { return scaleLastPage_; }
  void SetScaleLastPage(bool value);
  int NumPages() const;
  void NextPage();
  void PreviousPage();
  /// The chart is being designed (sample values) or read from a form.
  bool Designing() const { return designing_; }
  void SetDesigning(bool value) { designing_ = value; }
  bool Loading() const { return loading_; }
  void SetLoading(bool value) { loading_ = value; }

  // ---- 3D bookkeeping of the current paint (0 in 2D)
  int SeriesDepth3D() const { return seriesDepth3D_; }
  int Width3D() const { return width3D_; }
  int Height3D() const { return height3D_; }
  int MaxZOrder() const { return maxZOrder_; }
  /// The next free depth slot of this paint.
  int AllocateZOrder() { return nextZOrder_++; }
  /// Set before a click handler runs; a handler that clears it lets the
  /// chart go on with its own reaction.
  bool CancelMouse() const { return cancelMouse_; }
  void SetCancelMouse(bool value) { cancelMouse_ = value; }

  // ---- services
  plot::Color PickFreeSeriesColor(bool checkBackground) const;
  virtual bool IsFreeSeriesColor(plot::Color color, bool checkBackground) const = 0;
  virtual void CheckDataSource(TChartSeries& series);
  virtual bool IsValidDataSource(const TChartSeries& series, const TChartSeries* source) const;
  /// Wall thickness beside an axis (3D only).
  virtual int GetAxisSeparationWall(const TCustomChartAxis* axis) const = 0;
  /// A value's legend text (the legend's format).
  virtual std::string FormattedValueLegend(const TChartSeries& series, int valueIndex) const = 0;
  /// The background the legend gives series symbols.
  plot::Color LegendColor() const { return legendColor_; }
  void SetLegendColor(plot::Color value) { legendColor_ = value; }

  void InternalDraw(const Rect& bounds) override;

  TNotifyEvent OnBeforeDrawAxes;
  TNotifyEvent OnBeforeDrawSeries;
  TNotifyEvent OnPageChange;
  TAxisGetLabelEvent OnGetAxisLabel;
  TAxisGetNextLabelEvent OnGetNextAxisLabel;

 protected:
  /// Step 3: titles and legend, drawn flat.
  virtual void DrawTitlesAndLegend() = 0;
  /// Step 5: axis ranges, 3D sizes, axis room and the plotting rectangle.
  virtual void CalcAxisRect() = 0;
  /// Step 7: series margins widen the axes.
  virtual void CalcSeriesRect() = 0;
  /// Step 9.
  virtual void DrawWalls() = 0;
  /// Step 13: the zoom box drawn with a not-xor pen.
  void DrawZoomRectangle();
  /// Step 12 for one series, or a group sharing one depth in 3D.
  void DrawSeries(TChartSeries& series);
  void DrawSeriesGroup(const std::vector<TChartSeries*>& group);
  void SetSeriesDepth(int seriesDepth, int width, int height) {
    seriesDepth3D_ = seriesDepth;
    width3D_ = width;
    height3D_ = height;
  }
  void RecalcSeriesZOrders();

 private:
  void ClipSeries(bool clip);
  double PagedValue(const TCustomChartAxis* axis, bool highest, bool& handled) const;
  double AxisExtreme(const TCustomChartAxis* axis, bool horizontal, bool highest) const;

  TChartSeriesList seriesList_;
  std::vector<TCustomChartAxis*> axes_;
  std::unique_ptr<TChartAxis> bottomAxis_, topAxis_, leftAxis_, rightAxis_;
  std::unique_ptr<TChartDepthAxis> depthAxis_;
  bool axisVisible_ = true;
  bool clipPoints_ = true;
  bool view3DWalls_ = true;
  int maxPointsPerPage_ = 0;
  int page_ = 1;
  bool scaleLastPage_ = true;
  bool designing_ = false;
  bool loading_ = false;
  int seriesDepth3D_ = 0, width3D_ = 0, height3D_ = 0, maxZOrder_ = 0;
  int nextZOrder_ = 0;
  // The widest point label is asked for at every paint; it only changes
  // with the labels or the font.
  struct LabelsWidthCache {
    std::vector<std::pair<const TChartSeries*, unsigned>> key;
    platform::Font font;
    const platform::DeviceCanvas* device = nullptr;
    int width = 0;
    bool valid = false;
  } labelsWidthCache_;
  bool cancelMouse_ = false;
  plot::Color legendColor_ = clWhite;
};

}  // namespace plot
