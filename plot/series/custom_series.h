#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plot/chart/chart_series.h"
#include "plot/series/series_pointer.h"

namespace plot {

class TPlotCanvas3D;

/// The series kinds that join consecutive points by a line and may mark
/// each point with a pointer: the shared drawing of one value (segments,
/// stairs, 3D bands, markers), the hit test, the legend symbol and margins.
class TCustomSeries : public TChartSeries {
 public:
  TCustomSeries();
  ~TCustomSeries() override;

  TSeriesPointer& Pointer() { return *pointer_; }
  const TSeriesPointer& Pointer() const { return *pointer_; }
  TChartPen& LinePen() { return *linePen_; }
  const TChartPen& LinePen() const { return *linePen_; }
  platform::BrushStyle LineBrush() const { return lineBrush_; }
  void SetLineBrush(platform::BrushStyle value);
  /// In 3D, extra thickness of the line band downwards, in pixels.
  int LineHeight() const { return lineHeight_; }
  void SetLineHeight(int value);
  bool Stairs() const { return stairs_; }
  void SetStairs(bool value);
  bool InvertedStairs() const { return invertedStairs_; }
  void SetInvertedStairs(bool value);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);
  /// Fill down to the origin (the area kind); line and point series never
  /// set it.
  bool DrawArea() const { return drawArea_; }
  void SetDrawArea(bool value);
  platform::BrushStyle AreaBrush() const { return areaBrush_; }
  void SetAreaBrush(platform::BrushStyle value);
  Color AreaColor() const { return areaColor_; }
  void SetAreaColor(Color value);
  TChartPen& AreaLinesPen() { return *areaLinesPen_; }
  bool ConnectPoints() const { return connectPoints_; }
  void SetConnectPoints(bool value);
  /// A click on the line between two points counts as a hit.
  bool HitTestLine() const { return hitTestLine_; }
  void SetHitTestLine(bool value);

  /// Copies the line and pointer settings from another line-kind series,
  /// then the common series settings.
  virtual void Assign(const TChartSeries& source);

  // ---- chart interface
  void DrawValue(int index) override;
  /// Thins a dense 2D line per pixel column; otherwise draws every value.
  void DrawAllValues() override;
  void HorizMargins(int& left, int& right) override;
  void VertMargins(int& top, int& bottom) override;
  int ClickedPoint(int x, int y) override;
  void DrawLegendShape(int index, const Rect& rect) override;
  void PrepareLegendCanvas(int index, Color& background, platform::BrushStyle& style) override;
  void DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  /// The baseline pixel of a value: the bottom of the vertical axis.
  virtual int OriginPixel(int index) const;
  /// Draws the pointer of value `index` at (x, y) in `color`.
  void DrawPointer(int index, int x, int y, Color color);

  std::function<void(TCustomSeries& sender, int valueIndex, int x, int y)> OnClickPointer;
  std::function<TSeriesPointerStyle(TCustomSeries& sender, int valueIndex)> OnGetPointerStyle;

 protected:
  /// With DrawArea: fills below the segment from `from` to `to` down to the
  /// origin pixels, in the colour of the segment's end point. Line and
  /// point series never set DrawArea; the area kind fills.
  virtual void FillAreaSegment(Point /*from*/, Point /*to*/, int /*fromOrigin*/, int /*toOrigin*/, Color /*color*/,
                               bool /*isLast*/) {}
  /// The area colour of a point: its own with ColorEachPoint or an
  /// automatic AreaColor, else AreaColor.
  Color AreaColorFor(Color pointColor) const;

 private:
  // One drawn point: pixel position, colour and value index.
  struct DrawnPoint {
    int x = 0, y = 0;
    Color color = clNone;
    int index = -1;
  };

  // The steps after the first visible point: segment from the previous
  // point to p (3D band or 2D line), then the markers it touches.
  void DrawSegmentTo(const DrawnPoint& p, bool isLast, bool withMarkers);
  void DrawBand(const DrawnPoint& p, bool isLast);
  void DrawFlatLine(const DrawnPoint& p);
  // The start of a zoomed line: the previous point becomes the chart edge
  // at the interpolated (or stair) height of point i-1.
  void JoinFromLeftEdge(const DrawnPoint& p);
  void AdvanceTo(const DrawnPoint& p, int origin);
  // The whole visible range of a dense line, reduced per pixel column.
  bool DrawThinned();
  bool CanThin() const;
  // Width and height of one series' step in depth on screen.
  void SeriesOffset3D(int& dx, int& dy) const;
  bool Is3D() const;

  std::unique_ptr<TSeriesPointer> pointer_;
  std::unique_ptr<TChartPen> linePen_;
  platform::BrushStyle lineBrush_ = platform::BrushStyle::Solid;
  int lineHeight_ = 0;
  bool stairs_ = false;
  bool invertedStairs_ = false;
  bool dark3D_ = true;
  bool drawArea_ = false;
  platform::BrushStyle areaBrush_ = platform::BrushStyle::Solid;
  Color areaColor_ = clAutoColor;
  std::unique_ptr<TChartPen> areaLinesPen_;
  bool connectPoints_ = false;
  bool hitTestLine_ = true;

  // Drawing state of the current paint.
  DrawnPoint previous_;
  int previousOrigin_ = 0;
  int origin_ = 0;
  double darkSlope_ = 1.0;
  // Reused by the thinning pass.
  std::vector<DrawnPoint> reduced_;
  // The column fills of a dense line, kept from paint to paint.
  std::vector<platform::ColumnSpan> columns_;
};

}  // namespace plot
