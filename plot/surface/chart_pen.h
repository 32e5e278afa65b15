#pragma once

#include <functional>

#include "plot/surface/chart_colors.h"
#include "platform/device_canvas.h"

namespace plot {

using platform::PenMode;
using platform::PenStyle;

/// A pen of a chart element: a platform pen plus `Visible` and `SmallDots`.
/// Every setter that changes a value raises OnChange, which the owner uses
/// to repaint its chart.
class TChartPen {
 public:
  TChartPen() = default;
  virtual ~TChartPen() = default;
  TChartPen(const TChartPen&) = delete;
  TChartPen& operator=(const TChartPen&) = delete;

  plot::Color Color() const { return color_; }
  void SetColor(plot::Color value);
  PenStyle Style() const { return style_; }
  void SetStyle(PenStyle value);
  int Width() const { return width_; }
  void SetWidth(int value);
  PenMode Mode() const { return mode_; }
  void SetMode(PenMode value);
  /// False: nothing is drawn with the pen.
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  /// A one-pixel pen that sets every other pixel (when width is 1).
  bool SmallDots() const { return smallDots_; }
  void SetSmallDots(bool value);

  /// Copies colour, style, width, mode, Visible and SmallDots; raises
  /// OnChange once when anything changed.
  void Assign(const TChartPen& source);

  /// The platform pen with this pen's colour, style, width and mode.
  platform::Pen AsPlatformPen() const;

  std::function<void()> OnChange;

 protected:
  // Preset classes start from other defaults without raising OnChange.
  plot::Color color_ = clBlack;
  PenStyle style_ = PenStyle::Solid;
  int width_ = 1;
  PenMode mode_ = PenMode::Copy;
  bool visible_ = true;
  bool smallDots_ = false;

 private:
  void Changed();
};

// Presets: chart pens that start from other defaults.

class TChartHiddenPen : public TChartPen {
 public:
  TChartHiddenPen() { visible_ = false; }
};

class TDottedGrayPen : public TChartPen {
 public:
  TDottedGrayPen() {
    color_ = clGray;
    style_ = PenStyle::Dot;
  }
};

class TDarkGrayPen : public TChartPen {
 public:
  TDarkGrayPen() { color_ = clGray; }
};

class TChartArrowPen : public TChartPen {
 public:
  TChartArrowPen() { color_ = clWhite; }
};

class TChartAxisPen : public TChartPen {
 public:
  TChartAxisPen() { width_ = 2; }
};

}  // namespace plot
