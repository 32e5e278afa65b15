#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plot/surface/chart_pen.h"
#include "plot/chart/chart_font.h"

namespace plot {

class TChartSeries;

enum TSeriesMarksStyle {
  smsValue,
  smsPercent,
  smsLabel,
  smsLabelPercent,
  smsLabelValue,
  smsLegend,
  smsPercentTotal,
  smsLabelPercentTotal,
  smsXValue
};

/// Where one mark was drawn: the arrow from the point to the box, and the
/// box. A position set from outside (`UserPlaced`) is reused by repaints.
struct TSeriesMarkPosition {
  Point ArrowStart;
  Point ArrowEnd;
  bool UserPlaced = false;
  Point BoxLeftTop;
  int Height = 0;
  int Width = 0;

  /// Copies every field but UserPlaced.
  void Assign(const TSeriesMarkPosition& source);
  Rect Bounds() const { return {BoxLeftTop.x, BoxLeftTop.y, BoxLeftTop.x + Width, BoxLeftTop.y + Height}; }
};

/// Stored mark positions indexed by value index; slots may be empty.
class TSeriesMarksPositions {
 public:
  /// The position at `index`, or null past the end or for an empty slot.
  TSeriesMarkPosition* Position(int index) const;
  /// Grows the list to hold `index` and fills an empty slot.
  TSeriesMarkPosition& Ensure(int index);
  /// Removes the slot at `index` when there is one (later slots move down).
  void Delete(int index);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }

 private:
  std::vector<std::unique_ptr<TSeriesMarkPosition>> items_;
};

/// The mark settings of a series and the positions its marks were drawn at.
/// Every setter that changes a value asks the series to repaint.
class TSeriesMarks {
 public:
  explicit TSeriesMarks(TChartSeries* series);
  TSeriesMarks(const TSeriesMarks&) = delete;
  TSeriesMarks& operator=(const TSeriesMarks&) = delete;

  TChartSeries* ParentSeries() const { return series_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TSeriesMarksStyle Style() const { return style_; }
  void SetStyle(TSeriesMarksStyle value);
  int ArrowLength() const { return arrowLength_; }
  void SetArrowLength(int value);
  TChartArrowPen& Arrow() { return arrow_; }
  TChartPen& Frame() { return frame_; }
  const TChartPen& Frame() const { return frame_; }
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool Clip() const { return clip_; }
  void SetClip(bool value);
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  /// Depth marks are drawn at in 3D.
  int ZPosition() const { return zPosition_; }
  void SetZPosition(int value) { zPosition_ = value; }

  TSeriesMarksPositions& Positions() { return positions_; }

  /// Draws the marks of the series' visible points (null points and empty
  /// texts have none): each box is measured, placed above its point and
  /// handed to the series' DrawMark.
  void DrawAll();
  /// Draws one mark in the point colour `color`: a stored UserPlaced
  /// position replaces `position`, otherwise the position is stored. Then
  /// the arrow, the box and the centred lines of text.
  void DrawMarkAt(int index, Color color, TSeriesMarkPosition& position, const std::string& text);

  /// Copies Arrow, ArrowLength, BackColor, Transparent, Clip, Frame, Font,
  /// Style and Visible.
  void Assign(const TSeriesMarks& source);

 private:
  void Repaint();

  TChartSeries* series_;
  bool visible_ = false;
  TSeriesMarksStyle style_ = smsLabel;
  int arrowLength_ = 8;
  TChartArrowPen arrow_;
  TChartPen frame_;
  Color backColor_ = 0x80FFFF;
  bool transparent_ = false;
  bool clip_ = false;
  TFont font_;
  int zPosition_ = 0;
  TSeriesMarksPositions positions_;
};

/// While on (at start-up), an arrow pen in the point's colour or in the
/// chart's colour is drawn black (white on a black chart). Process-wide.
bool CheckMarkArrowColor();
void SetCheckMarkArrowColor(bool value);

}  // namespace plot
