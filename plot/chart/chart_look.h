#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/device_canvas.h"
#include "plot/surface/chart_colors.h"

namespace plot {

class TCustomChart;
class TChartSeries;
class TChartPen;
class TChartBrush;
class TFont;
class TCustomChartAxis;

/// The settings of a chart that its editing dialogs change, taken at one
/// moment and given back later: a dialog's Cancel, or a program going back
/// to the look it configured. Points, labels and zoom state are not part of
/// it. Series are referred to by address, so a snapshot is only restored to
/// the chart it was taken from while those series live.
class TChartLook {
 public:
  static TChartLook Capture(TCustomChart& chart);
  /// Gives every captured setting back. With `seriesList` the chart's
  /// series list is put back too (series added since are taken out, series
  /// taken out are put back, in the captured order), and so is each
  /// series' Active flag.
  void Restore(TCustomChart& chart, bool seriesList) const;

  struct Pen {
    Color color = 0;
    platform::PenStyle style = platform::PenStyle::Solid;
    int width = 1;
    bool visible = true;
  };
  struct Brush {
    Color color = 0;
    platform::BrushStyle style = platform::BrushStyle::Solid;
  };
  static Pen TakePen(const TChartPen& pen);
  static void GivePen(const Pen& look, TChartPen& pen);
  static Brush TakeBrush(const TChartBrush& brush);
  static void GiveBrush(const Brush& look, TChartBrush& brush);

 private:
  struct Text {
    std::vector<std::string> lines;
    bool visible = true;
    platform::Font font;
  };
  struct Axis {
    bool visible, automatic, automaticMinimum, automaticMaximum;
    double minimum, maximum, increment;
    bool logarithmic, inverted, labels;
    std::string title, valuesFormat, dateTimeFormat;
    int labelsAngle, tickLength;
    Pen grid, ticks, line;
  };
  struct Wall {
    Color color;
    Brush brush;
    Pen pen;
    int size;
  };
  struct Series {
    TChartSeries* series = nullptr;
    bool active = true;
    std::string title;
    Color color = 0;
    bool hasPen = false, hasBrush = false, hasPointer = false;
    Pen pen;
    Brush brush;
    bool pointerVisible = false;
    int pointerStyle = 0;
    bool stairs = false;
    bool hasBars = false;
    int barStyle = 0, multiBar = 0, barWidthPercent = 70;
    bool marksVisible = false;
    int marksStyle = 0;
  };

  Text title_, foot_;
  Color panelColor_ = 0;
  bool gradientVisible_ = false;
  Color gradientStart_ = 0, gradientEnd_ = 0;
  int gradientDirection_ = 0;
  int bevelOuter_ = 0, bevelInner_ = 0, bevelWidth_ = 1;
  std::array<int, 4> margins_{};
  bool view3D_ = false;
  int chart3DPercent_ = 15, elevation_ = 0, rotation_ = 0, perspective_ = 0, zoom_ = 100;
  bool orthogonal_ = true;
  bool legendVisible_ = true;
  int legendAlignment_ = 0, legendStyle_ = 0, legendTextStyle_ = 0;
  platform::Font legendFont_;
  std::array<Axis, 5> axes_{};  // left, right, top, bottom, depth
  std::array<Wall, 3> walls_{};  // back, left, bottom
  std::vector<Series> series_;
};

/// The pen a series draws its line, outline or frame with (line and bar
/// kinds know theirs); null for a kind without one.
TChartPen* SeriesMainPen(TChartSeries& series);
/// The fill of a series' bars or area, or of its pointer; null without one.
TChartBrush* SeriesMainBrush(TChartSeries& series);

}  // namespace plot
