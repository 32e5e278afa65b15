#pragma once

#include <functional>
#include <string>
#include <vector>

#include "plot/surface/chart_pen.h"
#include "plot/surface/chart_brush.h"
#include "plot/chart/chart_font.h"

namespace plot {

class TCustomChart;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

/// Lines of text with a change notification.
class TChartStrings {
 public:
  const std::vector<std::string>& Lines() const { return lines_; }
  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& operator[](int index) const { return lines_[static_cast<std::size_t>(index)]; }
  void Add(const std::string& line);
  void Clear();
  void SetLines(const std::vector<std::string>& lines);

  std::function<void()> OnChange;

 private:
  void Changed();
  std::vector<std::string> lines_;
};

/// The chart's title (above the plotting area) or foot (below it): lines of
/// text in an optional framed box. Drawing takes its room off the plotting
/// rectangle.
class TChartTitle : public TChartFontObject {
 public:
  explicit TChartTitle(TCustomChart* chart);

  TChartStrings& Text() { return text_; }
  const TChartStrings& Text() const { return text_; }
  void SetText(const std::vector<std::string>& lines) { text_.SetLines(lines); }
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool AdjustFrame() const { return adjustFrame_; }
  void SetAdjustFrame(bool value);
  plot::Color Color() const { return color_; }
  void SetColor(plot::Color value);
  TChartBrush& Brush() { return brush_; }
  TChartHiddenPen& Frame() { return frame_; }
  /// Where the title was last drawn.
  const Rect& TitleRect() const { return titleRect_; }

  /// Draws as the title (true) or the foot and shrinks the plotting
  /// rectangle.
  void Draw(bool isTitle);
  /// Visible and (x, y) inside the title rectangle.
  bool Clicked(int x, int y) const;
  // Copying from the base (only the font) stays available beside this.
  using TChartFontObject::Assign;
  void Assign(const TChartTitle& source);

 private:
  void Repaint();
  TCustomChart* chart_;
  TChartStrings text_;
  bool visible_ = true;
  TAlignment alignment_ = taCenter;
  bool adjustFrame_ = true;
  plot::Color color_ = clAutoColor;
  TChartBrush brush_;
  TChartHiddenPen frame_;
  Rect titleRect_;
};

}  // namespace plot
