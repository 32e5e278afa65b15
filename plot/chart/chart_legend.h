#pragma once

#include <functional>
#include <string>

#include "plot/surface/chart_pen.h"
#include "plot/surface/chart_brush.h"
#include "plot/chart/chart_font.h"

namespace plot {

class TCustomChart;
class TChartSeries;

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum TLegendTextStyle { ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue };

using TGetLegendTextEvent =
    std::function<void(TCustomChart& sender, TLegendStyle style, int index, std::string& legendText)>;
using TGetLegendPosEvent =
    std::function<void(TCustomChart& sender, int index, int& x, int& y, int& xColor)>;
using TGetLegendRectEvent = std::function<void(TCustomChart& sender, Rect& rect)>;

/// The list of series or values with colour boxes beside the plotting
/// area. Drawing takes its room (and a margin) off the plotting rectangle.
class TChartLegend : public TChartFontObject {
 public:
  explicit TChartLegend(TCustomChart* chart);

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TLegendAlignment Alignment() const { return alignment_; }
  void SetAlignment(TLegendAlignment value);
  bool Vertical() const { return alignment_ == laLeft || alignment_ == laRight; }
  TLegendStyle LegendStyle() const { return legendStyle_; }
  void SetLegendStyle(TLegendStyle value);
  TLegendTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TLegendTextStyle value);
  plot::Color Color() const { return color_; }
  void SetColor(plot::Color value);
  TChartBrush& Brush() { return brush_; }
  TChartPen& Frame() { return frame_; }
  TChartHiddenPen& DividingLines() { return dividingLines_; }
  int ColorWidth() const { return colorWidth_; }
  /// LegendException outside 0 .. 100.
  void SetColorWidth(int value);
  int FirstValue() const { return firstValue_; }
  /// LegendException below 0.
  void SetFirstValue(int value);
  bool Inverted() const { return inverted_; }
  void SetInverted(bool value);
  int MaxNumRows() const { return maxNumRows_; }
  void SetMaxNumRows(int value);
  int TopPos() const { return topPos_; }
  /// LegendException outside 0 .. 100.
  void SetTopPos(int value);
  int HorizMargin() const { return horizMargin_; }
  void SetHorizMargin(int value);
  int VertMargin() const { return vertMargin_; }
  void SetVertMargin(int value);
  bool ResizeChart() const { return resizeChart_; }
  void SetResizeChart(bool value);
  plot::Color ShadowColor() const { return shadowColor_; }
  void SetShadowColor(plot::Color value);
  int ShadowSize() const { return shadowSize_; }
  void SetShadowSize(int value);

  // ---- state of the last paint
  TLegendStyle ResolvedStyle() const;
  const Rect& RectLegend() const { return rect_; }
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }

  /// Items to list (series rows or values), FirstValue taken off.
  int ItemCount() const;
  /// Item text (OnGetLegendText applied).
  std::string ItemText(int index) const;
  /// The n-th active series shown in the legend.
  TChartSeries* SeriesAt(int position) const;
  /// Draws and shrinks the plotting rectangle.
  void Draw();
  /// Item under (x, y), or -1.
  int Clicked(int x, int y) const;
  // Copying from the base (only the font) stays available beside this.
  using TChartFontObject::Assign;
  void Assign(const TChartLegend& source);

 private:
  void Repaint();
  int ItemWidestText(int first, int count) const;
  void DrawItemSymbol(int item, const Rect& box, TLegendStyle style);

  TCustomChart* chart_;
  bool visible_ = true;
  TLegendAlignment alignment_ = laRight;
  TLegendStyle legendStyle_ = lsAuto;
  TLegendTextStyle textStyle_ = ltsLeftValue;
  plot::Color color_ = clWhite;
  TChartBrush brush_;
  TChartPen frame_;
  TChartHiddenPen dividingLines_;
  int colorWidth_ = 12;
  int firstValue_ = 0;
  bool inverted_ = false;
  int maxNumRows_ = 10;
  int topPos_ = 10;
  int horizMargin_ = 0, vertMargin_ = 0;
  bool resizeChart_ = true;
  plot::Color shadowColor_ = clBlack;
  int shadowSize_ = 3;

  Rect rect_;
  int columns_ = 1, rows_ = 0, itemHeight_ = 0;
};

}  // namespace plot
