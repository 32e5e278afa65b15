#pragma once

#include <functional>
#include <string>

#include "platform/device_canvas.h"

namespace plot {

class TCustomPlotPanel;

/// A font of a chart element with a change notification. The size in
/// points and the height in pixels are two views of one value, converted
/// through the font's pixels per inch.
class TFont {
 public:
  /// The chart default font: "Arial" at 8 points, black.
  TFont();
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  const std::string& Name() const { return font_.name; }
  void SetName(const std::string& value);
  int Size() const { return font_.Size(); }
  void SetSize(int points);
  int Height() const { return font_.height; }
  void SetHeight(int pixels);
  unsigned Style() const { return font_.style; }
  void SetStyle(unsigned value);
  platform::Color Color() const { return font_.color; }
  void SetColor(platform::Color value);
  int PixelsPerInch() const { return font_.pixelsPerInch; }
  /// Changes the resolution only: the height stays and the size follows.
  void SetPixelsPerInch(int value) { font_.pixelsPerInch = value; }

  /// Copies name, style, colour and size (the height when both fonts have
  /// the same resolution); one notification when anything changed.
  void Assign(const TFont& source);
  /// Equal to a new default font in name, size, style and colour.
  bool IsDefault() const;

  const platform::Font& Value() const { return font_; }

  std::function<void()> OnChange;

 private:
  void Changed();
  platform::Font font_;
};

/// The base of the chart's text elements (titles, legend, axis titles): a
/// font whose changes repaint the chart.
class TChartFontObject {
 public:
  explicit TChartFontObject(TCustomPlotPanel* parentChart);
  virtual ~TChartFontObject() = default;
  TChartFontObject(const TChartFontObject&) = delete;
  TChartFontObject& operator=(const TChartFontObject&) = delete;

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  /// Stored with the chart only when it differs from the default font.
  bool IsFontStored() const { return !font_.IsDefault(); }
  TCustomPlotPanel* ParentChart() const { return parentChart_; }

  virtual void Assign(const TChartFontObject& source) { font_.Assign(source.font_); }

 private:
  TCustomPlotPanel* parentChart_;
  TFont font_;
};

}  // namespace plot
