#pragma once

#include <string>
#include <vector>

#include "plot/axes/axis_pixel_map.h"
#include "plot/surface/chart_pen.h"
#include "plot/chart/chart_font.h"

namespace plot {

class TCustomAxisPanel;
class TChartSeries;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

/// The caption of an axis with its angle and font.
class TChartAxisTitle : public TChartFontObject {
 public:
  TChartAxisTitle(TCustomPlotPanel* chart, int defaultAngle);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  int Angle() const { return angle_; }
  /// ChartException "Axis Title Angle must be between 0 and 359 degrees"
  /// below 0 or above 360.
  void SetAngle(int value);
  int DefaultAngle() const { return defaultAngle_; }

 private:
  std::string caption_;
  int angle_;
  int defaultAngle_;
};

/// An axis: it turns values into pixels along one side of the plotting
/// rectangle and back, chooses its label step, reserves its room beside
/// the rectangle and draws its title, labels, ticks, grid and line.
class TCustomChartAxis {
 public:
  /// Adds itself to the chart's axis list.
  TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool farSide, bool depth = false);
  virtual ~TCustomChartAxis();
  TCustomChartAxis(const TCustomChartAxis&) = delete;
  TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;

  TCustomAxisPanel* ParentChart() const { return chart_; }

  // ---- scaling properties
  bool Automatic() const { return automatic_; }
  void SetAutomatic(bool value);
  bool AutomaticMinimum() const { return automaticMinimum_; }
  void SetAutomaticMinimum(bool value);
  bool AutomaticMaximum() const { return automaticMaximum_; }
  void SetAutomaticMaximum(bool value);
  double Minimum() const { return minimum_; }
  /// AxisException when above Maximum.
  void SetMinimum(double value);
  double Maximum() const { return maximum_; }
  /// AxisException when below Minimum.
  void SetMaximum(double value);
  double Increment() const { return increment_; }
  void SetIncrement(double value);
  bool Inverted() const { return inverted_; }
  void SetInverted(bool value);
  bool Logarithmic() const { return logarithmic_; }
  void SetLogarithmic(bool value);
  int LogarithmicBase() const { return logarithmicBase_; }
  void SetLogarithmicBase(int value);
  int LabelsSeparation() const { return labelsSeparation_; }
  void SetLabelsSeparation(int value);
  /// Start, end and position are percentages of the chart's size, held to
  /// +-10000 (a hundred chart sizes), so their pixels always fit an int.
  double StartPosition() const { return startPosition_; }
  void SetStartPosition(double value);
  double EndPosition() const { return endPosition_; }
  void SetEndPosition(double value);
  double PositionPercent() const { return positionPercent_; }
  void SetPositionPercent(double value);
  bool ExactDateTime() const { return exactDateTime_; }
  void SetExactDateTime(bool value);
  bool RoundFirstLabel() const { return roundFirstLabel_; }
  void SetRoundFirstLabel(bool value);

  // ---- drawing properties
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TChartAxisPen& Axis() { return axisPen_; }
  TDottedGrayPen& Grid() { return grid_; }
  TDarkGrayPen& Ticks() { return ticks_; }
  /// Tick lengths are pixels, held to +-1048576 (far beyond any page), so
  /// the tick's ends always fit an int.
  int TickLength() const { return tickLength_; }
  void SetTickLength(int value);
  TDarkGrayPen& TicksInner() { return ticksInner_; }
  int TickInnerLength() const { return tickInnerLength_; }
  void SetTickInnerLength(int value);
  TDarkGrayPen& MinorTicks() { return minorTicks_; }
  int MinorTickLength() const { return minorTickLength_; }
  void SetMinorTickLength(int value);
  int MinorTickCount() const { return minorTickCount_; }
  void SetMinorTickCount(int value);
  bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
  void SetTickOnLabelsOnly(bool value);
  bool Labels() const { return labels_; }
  void SetLabels(bool value);
  int LabelsAngle() const { return labelsAngle_; }
  /// ChartException "Axis Labels Angle must be between 0 and 359 degrees"
  /// below 0 or above 360 (360 is accepted).
  void SetLabelsAngle(int value);
  TFont& LabelsFont() { return labelsFont_; }
  bool LabelsMultiLine() const { return labelsMultiLine_; }
  void SetLabelsMultiLine(bool value);
  bool LabelsOnAxis() const { return labelsOnAxis_; }
  void SetLabelsOnAxis(bool value);
  int LabelsSize() const { return labelsSize_; }
  void SetLabelsSize(int value);
  TAxisLabelStyle LabelStyle() const { return labelStyle_; }
  void SetLabelStyle(TAxisLabelStyle value);
  const std::string& AxisValuesFormat() const { return axisValuesFormat_; }
  void SetAxisValuesFormat(const std::string& value);
  const std::string& DateTimeFormat() const { return dateTimeFormat_; }
  void SetDateTimeFormat(const std::string& value);
  TChartAxisTitle& Title() { return title_; }
  int TitleSize() const { return titleSize_; }
  void SetTitleSize(int value);

  // ---- working state of the current paint
  bool IsHorizontal() const { return horizontal_; }
  bool IsFarSide() const { return farSide_; }
  bool IsDepth() const { return depth_; }
  double LowValue() const { return lowValue_; }
  double HighValue() const { return highValue_; }
  double ValueSpan() const { return valueSpan_; }
  int StartPixel() const { return startPixel_; }
  int EndPixel() const { return endPixel_; }
  int PixelLength() const { return pixelLength_; }
  int CenterPixel() const { return centerPixel_; }
  bool ShowsDateTime() const { return showsDateTime_; }
  int AxisLinePos() const { return axisLinePos_; }
  int LabelsPos() const { return labelsPos_; }
  int TitlePos() const { return titlePos_; }

  // ---- scaling
  /// Automatic ends from the chart, then LowValue/HighValue/ValueSpan.
  virtual void RefreshRange();
  /// StartPixel .. EndPixel from the chart rectangle.
  virtual void PlaceAlongChart();
  /// Widens the range so the data keep `low` and `high` pixels off the ends.
  void WidenRangeForMargins(int low, int high);
  /// Fixed range; automatic flags off.
  void SetRange(double a, double b);
  int ValueToPixel(double value) const { return IsLinear() ? LinearMap()(value) : NonLinearPixel(value); }
  /// Neither logarithmic nor the depth axis: then LinearMap maps values as
  /// ValueToPixel does, until the range or placement changes.
  bool IsLinear() const { return !depth_ && !logarithmic_; }
  TLinearPixelMap LinearMap() const {
    return {lowValue_, valueSpan_, startPixel_, endPixel_, pixelLength_, centerPixel_, horizontal_ != inverted_};
  }
  int ValueToPixelX(double value) const;
  int ValueToPixelY(double value) const;
  double PixelToValue(int pixel) const;
  int SpanToPixels(double span) const;
  double StepForLabelCount(int maxLabels) const;
  double StepForLabelSize(int labelSize) const;
  /// The increment labels are drawn with.
  double LabelStep();
  /// Refreshes ShowsDateTime from the first active series on this axis.
  void RefreshShowsDateTime();

  // ---- drawing
  /// Sets the positions across the axis and, with `shrink`, takes the
  /// axis's room off `rect`.
  void ReserveRoom(Rect& rect, bool shrink);
  void DrawAxis(bool placeAxisLine);
  /// A value label's text; `callEvent` lets OnGetAxisLabel change it.
  std::string FormatLabel(double value, bool callEvent = true);
  int MeasureLabelsRoom();
  TAxisLabelStyle ResolveLabelStyle() const;
  bool HitTest(int x, int y) const;
  /// Writes one label's text at position p along the axis.
  void DrawAxisLabel(int x, int y, int angle, const std::string& text, int depth);

 protected:
  bool gridCentered_ = false;

 private:
  double CalcDateTimeStep(int maxLabels) const;
  int NonLinearPixel(double value) const;
  int FontHeight();
  int TickRoom() const;
  int LabelRoom();
  int TitleRoom();
  int PositionShift(const Rect& rect) const;
  int ChartDepth() const;
  int WallSize() const;
  // Label loops of DrawAxis.
  void ValueLoop(double step, int dateStep);
  void EventLoop(double step, int dateStep);
  void LogarithmicLoop();
  void PointLoop(TAxisLabelStyle style);
  void DepthSeriesLoop();
  double SnapToDateStep(double value, int dateStep) const;
  double StepBack(double value, double step, int dateStep) const;
  void DrawLabelAt(double value);
  void DrawTicksAndGrid(int p);
  void DrawTick(int p, int length, bool inner);
  void DrawGridLine(int p);
  void DrawAxisLine();
  void DrawTitle();
  void SelectLabelsFont(const TFont& font);
  void Changed();

  TCustomAxisPanel* chart_;
  bool horizontal_, farSide_, depth_;

  bool automatic_ = true, automaticMinimum_ = true, automaticMaximum_ = true;
  double minimum_ = 0, maximum_ = 0, increment_ = 0;
  bool inverted_ = false, logarithmic_ = false;
  int logarithmicBase_ = 10;
  int labelsSeparation_ = 10;
  double startPosition_ = 0, endPosition_ = 100, positionPercent_ = 0;
  bool exactDateTime_ = true, roundFirstLabel_ = true;

  bool visible_ = true;
  TChartAxisPen axisPen_;
  TDottedGrayPen grid_;
  TDarkGrayPen ticks_;
  int tickLength_ = 4;
  TDarkGrayPen ticksInner_;
  int tickInnerLength_ = 0;
  TDarkGrayPen minorTicks_;
  int minorTickLength_ = 2;
  int minorTickCount_ = 3;
  bool tickOnLabelsOnly_ = true;
  bool labels_ = true;
  int labelsAngle_ = 0;
  TFont labelsFont_;
  bool labelsMultiLine_ = false;
  bool labelsOnAxis_ = true;
  int labelsSize_ = 0;
  TAxisLabelStyle labelStyle_ = talAuto;
  std::string axisValuesFormat_ = "#,##0.###";
  std::string dateTimeFormat_;
  TChartAxisTitle title_;
  int titleSize_ = 0;

  double lowValue_ = 0, highValue_ = 0, valueSpan_ = 0;
  int startPixel_ = 0, endPixel_ = 0, pixelLength_ = 0, centerPixel_ = 0;
  bool showsDateTime_ = false;
  int axisLinePos_ = 0, labelsPos_ = 0, titlePos_ = 0;
  // Per DrawAxis call: the previous tick position and the label overlap
  // memory.
  bool hasPrevTick_ = false;
  int prevTick_ = 0;
  int wall_ = 0;
  // The series of the point loop, kept from paint to paint.
  std::vector<TChartSeries*> pointLoopSeries_;
};

/// The four side axes and custom axes.
class TChartAxis : public TCustomChartAxis {
 public:
  using TCustomChartAxis::TCustomChartAxis;
  /// Grid lines between labels instead of at them.
  bool GridCentered() const { return gridCentered_; }
  void SetGridCentered(bool value);
};

/// The depth axis of a 3D chart (created hidden).
class TChartDepthAxis : public TCustomChartAxis {
 public:
  explicit TChartDepthAxis(TCustomAxisPanel* chart);
};

/// Draw a depth line from near-side axes to the back plane under each 3D
/// grid line (process-wide, on at start-up).
bool DrawWallGridLines();
void SetDrawWallGridLines(bool value);

}  // namespace plot
