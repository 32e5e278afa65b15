#pragma once

#include <functional>
#include <memory>
#include <string>

#include "plot/surface/chart_brush.h"
#include "plot/surface/plot_canvas.h"
#include "plot/chart/chart_series.h"

namespace plot {

enum TBarStyle { bsRectangle, bsPyramid, bsInvPyramid, bsCilinder, bsEllipse, bsArrow, bsRectGradient };
enum TMultiBar { mbNone, mbSide, mbStacked, mbStacked100 };

/// One bar per point from an origin to the point's value. Bar series of the
/// same kind on one chart share each slot side by side, stacked, or stacked
/// to 100 %.
class TCustomBarSeries : public TChartSeries {
 public:
  TCustomBarSeries();
  ~TCustomBarSeries() override;

  bool AutoBarSize() const { return autoBarSize_; }
  void SetAutoBarSize(bool value);
  /// Stored and copied only; no drawing step reads it.
  bool AutoMarkPosition() const { return autoMarkPosition_; }
  void SetAutoMarkPosition(bool value);
  TChartBrush& BarBrush() { return barBrush_; }
  const TChartBrush& BarBrush() const { return barBrush_; }
  TChartPen& BarPen() { return *barPen_; }
  const TChartPen& BarPen() const { return *barPen_; }
  TBarStyle BarStyle() const { return barStyle_; }
  void SetBarStyle(TBarStyle value);
  /// ChartException outside 1 .. 100; the old value stays.
  int BarWidthPercent() const { return barWidthPercent_; }
  void SetBarWidthPercent(int value);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);
  /// Copied to every series of the same kind on the chart.
  TMultiBar MultiBar() const { return multiBar_; }
  void SetMultiBar(TMultiBar value);
  /// ChartException outside -100 .. 100; the old value stays.
  int OffsetPercent() const { return offsetPercent_; }
  void SetOffsetPercent(int value);
  /// Copied to every other series of the same kind on the chart.
  bool SideMargins() const { return sideMargins_; }
  void SetSideMargins(bool value);
  bool UseYOrigin() const { return useYOrigin_; }
  void SetUseYOrigin(bool value);
  double YOrigin() const { return yOrigin_; }
  void SetYOrigin(double value);
  /// Fixed bar width in pixels when not 0 (published by TBarSeries).
  int CustomBarWidth() const { return customBarWidth_; }
  void SetCustomBarWidth(int value);

  /// Bar width in pixels, as last computed (before each paint's axis
  /// margins).
  int BarWidth() const { return barWidth_; }
  /// Recomputes BarWidth from the axis length and the point counts.
  void CalcBarWidth();

  /// Copies the bar settings from another bar series, then the common
  /// series settings.
  virtual void Assign(const TChartSeries& source);

  // ---- chart interface
  /// Vertical bars: the bar's left edge; horizontal bars: the pixel of its
  /// value end.
  int CalcXPos(int index) const override;
  /// Vertical bars: the pixel of the bar's value end; horizontal bars: its
  /// top edge.
  int CalcYPos(int index) const override;
  double MaxXValue() const override;
  double MinXValue() const override;
  double MaxYValue() const override;
  double MinYValue() const override;
  void HorizMargins(int& left, int& right) override;
  void VertMargins(int& top, int& bottom) override;
  void DrawValue(int index) override;
  bool DrawValuesForward() const override;
  bool DrawSeriesForward(int valueIndex) const override;
  int ClickedPoint(int x, int y) override;
  void DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  void DrawLegendShape(int index, const Rect& rect) override;
  void PrepareLegendCanvas(int index, Color& background, platform::BrushStyle& style) override;
  void CalcZOrder() override;
  int NumSampleValues() const override { return 6; }
  bool SameClassOrBase(const TChartSeries& other) const override;

  /// The value bar `index` starts from (the sum of the earlier stacked
  /// series, or YOrigin).
  double PointOrigin(int index) const;
  /// The pixel bar `index` starts from, along the value axis.
  int OriginPixel(int index) const;
  /// Where bar `index` begins across its width: the left edge of a
  /// vertical bar, the top edge of a horizontal one.
  int BarStart(int index) const;
  /// The pixel of bar `index`'s value end, stacked when stacking.
  int ValuePixel(int index) const;
  /// The stacking total at `index`, this series included.
  double StackTotal(int index) const;

  std::function<void(TCustomBarSeries& sender, int valueIndex, TBarStyle& style)> OnGetBarStyle;

 protected:
  /// The axis bars are laid out along, and the one values run on.
  TCustomChartAxis* PositionAxis() const;
  TCustomChartAxis* ValueAxis() const;
  /// Active series of the same kind on the chart (this one counted even when
  /// inactive), and this series' 1-based place among them.
  int SideBySideCount() const;
  int SideBySidePosition() const;
  /// The highest and lowest value the bars reach along the value axis.
  double ValueHighest() const;
  double ValueLowest() const;
  /// Pixel margins beside the bars across their width (position) and
  /// beyond their ends for the marks (value).
  void PositionMargins(int& low, int& high);
  void ValueMargins(int& low, int& high);

 private:
  // A bar BarWidth wide from `barStart` (its left, or top when horizontal)
  // and from `origin` to `valueEnd` along the values; horizontal bars go
  // on to DrawHorizontalBar with their rectangle.
  void DrawBar(int barStart, int valueEnd, int origin, Color color, TBarStyle style);
  void DrawHorizontalBar(int left, int top, int right, int bottom, bool growsRight, Color color, TBarStyle style);
  void BarRectangle(int left, int top, int right, int bottom);
  // A gradient bar (the first colour where the surface puts it for
  // `direction`), as a box with a gradient front in 3D.
  void GradientBar(const Rect& r, int zf, int zb, Color first, TGradientDirection direction, Color second);
  template <typename F>
  void ForEachSameKind(F&& f) const;

  bool autoBarSize_ = false;
  bool autoMarkPosition_ = true;
  TChartBrush barBrush_;
  std::unique_ptr<TChartPen> barPen_;
  TBarStyle barStyle_ = bsRectangle;
  int barWidthPercent_ = 70;
  bool dark3D_ = true;
  TMultiBar multiBar_ = mbSide;
  int offsetPercent_ = 0;
  bool sideMargins_ = true;
  bool useYOrigin_ = true;
  double yOrigin_ = 0;
  int customBarWidth_ = 0;

  int barWidth_ = 0;
};

/// Vertical bars.
class TBarSeries : public TCustomBarSeries {
 public:
  TBarSeries() = default;
  bool SameClassOrBase(const TChartSeries& other) const override;
};

}  // namespace plot
