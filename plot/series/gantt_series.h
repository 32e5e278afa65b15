#pragma once

#include <memory>
#include <string>

#include "plot/surface/chart_brush.h"
#include "plot/chart/chart_series.h"

namespace plot {

/// Tasks over time: one horizontal bar per point from its start to its end
/// value along the horizontal axis, in the row of its Y value.
///
/// Behaviour chosen for what a planner expects:
/// - XValues (named "Start") hold the starts, `EndValues` ("End") the ends,
///   YValues the rows, `NextTask` ("NextTask") the index of the task that
///   follows this one, or -1. Start and end are date-times at creation.
/// - Tasks keep the order they were added in (starts are not sorted), so
///   `NextTask` indices stay valid whatever order the tasks come in.
/// - Every task is drawn whatever the axis range: a bar that starts before
///   the visible range still reaches into it, and the plot clips it.
/// - A bar is `BarHeightPercent` (70) of the row spacing high: the smallest
///   distance between two different rows, 1 with a single row. The vertical
///   range reaches half a row spacing beyond the outer rows, so their bars
///   are whole; the horizontal range covers every start and end, with as
///   many pixels as the outline is wide, plus one, beyond.
/// - A bar whose end lies before its start is drawn from end to start.
/// - Each task takes its own palette colour (`ColorEachPoint` on); a null
///   point is a gap. The point labels name the rows on the vertical axis.
/// - A line in `ConnectingPen` joins the end of a task to the start of its
///   next task: an elbow when the next one starts later, else straight. It
///   is drawn before the bar it leaves.
/// - Clicked: inside a bar (edges included); the bar drawn last first.
/// - Marks sit above the middle of their bar.
/// - In 3D a bar is a box through the series' depth.
/// - AddPointXY(x, y) alone adds a task of no length in row y.
class TGanttSeries : public TChartSeries {
 public:
  TGanttSeries();
  ~TGanttSeries() override;

  TChartValueList& StartValues() { return XValues(); }
  TChartValueList& EndValues() { return *endValues_; }
  const TChartValueList& EndValues() const { return *endValues_; }
  TChartValueList& NextTask() { return *nextTask_; }
  const TChartValueList& NextTask() const { return *nextTask_; }

  /// Adds a task from `start` to `end` in row `y`; returns its index.
  int AddGantt(double start, double end, double y, const std::string& label = {}, Color color = clAutoColor);
  int AddPointXY(double x, double y, const std::string& label = {}, Color color = clAutoColor) override;

  /// Outline of the bars.
  TChartPen& Pen() { return *pen_; }
  /// Fill style of the bars; its colour is the background of a hatch.
  TChartBrush& Brush() { return brush_; }
  /// The lines from a task to its next task.
  TChartPen& ConnectingPen() { return *connectingPen_; }
  /// Share of the row spacing a bar fills; ChartException outside 1 .. 100.
  int BarHeightPercent() const { return barHeightPercent_; }
  void SetBarHeightPercent(int value);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);

  /// Smallest distance between two different rows; 1 with fewer than two.
  double RowSpacing() const;
  /// Bar height in pixels and the bar's rectangle (left < right, top <
  /// bottom) as the last paint laid them out.
  int BarHeight() const;
  Rect BarBounds(int index) const;

  // ---- chart interface
  using TChartSeries::MandatoryValueList;
  TChartValueList& MandatoryValueList() override { return XValues(); }
  double MinXValue() const override;
  double MaxXValue() const override;
  double MinYValue() const override;
  double MaxYValue() const override;
  void HorizMargins(int& left, int& right) override;
  void BeforeChartDraw() override;
  void DrawValue(int index) override;
  int ClickedPoint(int x, int y) override;
  void DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  void PrepareLegendCanvas(int index, Color& background, platform::BrushStyle& style) override;
  std::string LegendString(int index, int textStyle) const override;
  int CopyPointFrom(TChartSeries& source, int index) override;
  /// `count` tasks named "Task 1" and on, one row each, each starting a
  /// day after the one before ends and leading to the next.
  void FillSampleValues(int count) override;
  int NumSampleValues() const override { return 6; }

 private:
  void DrawConnection(int index);
  int NextTaskOf(int index) const;

  std::unique_ptr<TChartValueList> endValues_;
  std::unique_ptr<TChartValueList> nextTask_;
  std::unique_ptr<TChartPen> pen_;
  TChartBrush brush_;
  std::unique_ptr<TChartPen> connectingPen_;
  int barHeightPercent_ = 70;
  bool dark3D_ = true;
  // Extra values staged by AddGantt for the next AddPointXY.
  bool staged_ = false;
  // The row spacing of the current paint (computed once per paint).
  double paintRowSpacing_ = 1.0;
};

}  // namespace plot
