#pragma once

#include <span>
#include <string>

#include "plot/surface/chart_colors.h"
#include "platform/device_canvas.h"
#include "platform/null_device_canvas.h"

namespace plot {

class TChartPen;
class TView3DOptions;

/// Directions of a gradient fill. The caller decides which colour goes
/// first; the surface puts the first colour at the bottom (vertical), right
/// (horizontal), outer edge (from centre) or corner.
enum TGradientDirection {
  gdTopBottom,
  gdBottomTop,
  gdLeftRight,
  gdRightLeft,
  gdFromCenter,
  gdFromTopLeft,
  gdFromBottomLeft
};

/// The flat drawing operations of the chart's drawing surface. Every
/// operation draws on the reference canvas: the destination of the current
/// paint, or its back buffer. The pen, brush and font are that canvas's own.
class TPlotCanvas {
 public:
  explicit TPlotCanvas(platform::DeviceCanvas* reference = nullptr);
  virtual ~TPlotCanvas() = default;
  TPlotCanvas(const TPlotCanvas&) = delete;
  TPlotCanvas& operator=(const TPlotCanvas&) = delete;

  /// The drawing objects of the reference canvas; a new reference canvas
  /// brings its own.
  platform::Pen& Pen() { return Ref().Pen(); }
  platform::Brush& Brush() { return Ref().Brush(); }
  platform::Font& Font() { return Ref().Font(); }

  /// The canvas drawn on now; a null canvas when none is bound.
  platform::DeviceCanvas& Ref() { return reference_ != nullptr ? *reference_ : nullCanvas_; }
  void SetReferenceCanvas(platform::DeviceCanvas* canvas) { reference_ = canvas; }

  virtual Color GetBackgroundColor() const = 0;
  virtual platform::BackgroundMode GetBackgroundMode() const = 0;
  virtual platform::DeviceCanvas* GetDeviceHandle() const = 0;
  virtual bool GetMonochromeBuffer() const = 0;
  virtual unsigned GetTextAlignment() const = 0;
  virtual bool GetBuffered() const = 0;
  virtual void SetBackgroundColor(Color color) = 0;
  virtual void SetBackgroundMode(platform::BackgroundMode mode) = 0;
  /// On a change: frees the back buffer, marks it dirty, asks for a repaint.
  virtual void SetMonochromeBuffer(bool value) = 0;
  virtual void PutPixel(int x, int y, Color color) = 0;
  virtual void SetTextAlignment(unsigned flags) = 0;
  /// Turning buffering off frees the back buffer and marks it dirty.
  virtual void SetBuffered(bool value) = 0;
  virtual void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void DrawGraphic(int x, int y, const platform::Bitmap* graphic) = 0;
  virtual void DrawEllipse(int x1, int y1, int x2, int y2) = 0;
  /// Fills with the brush, no outline.
  virtual void FillRectangle(const Rect& rect) = 0;
  /// Frames of one pixel, `width` of them inwards: top colour on the left
  /// and top edges, bottom colour on the right and bottom edges.
  virtual void DrawBevel(const Rect& rect, Color top, Color bottom, int width) = 0;
  virtual void LineToPoint(int x, int y) = 0;
  virtual void MoveToPoint(int x, int y) = 0;
  virtual void DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  /// Outline with the pen, fill with the brush.
  virtual void DrawRectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void DrawRoundRectangle(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) = 0;
  virtual void StretchGraphic(const Rect& rect, const platform::Bitmap* graphic) = 0;
  /// Text at (x, y) with the current font and alignment; see-through when
  /// the brush is clear.
  virtual void WriteText(int x, int y, const std::string& text) = 0;
  /// Width and height of the text's box in pixels; 0 when the device cannot
  /// measure.
  virtual int MeasureTextWidth(const std::string& text);
  virtual int MeasureTextHeight(const std::string& text);
  /// Clips to the rectangle (converted to device units by the device).
  virtual void SetClipRectangle(const Rect& rect) = 0;
  virtual void DrawHorizontalLine(int left, int right, int y) = 0;
  virtual void DrawRectangleRect(const Rect& rect) = 0;
  virtual void DrawVerticalLine(int x, int top, int bottom) = 0;
  virtual void ClearRectangle(const Rect& rect) = 0;
  /// FillRectangle of each one-pixel-wide column, in one call.
  void FillColumns(std::span<const platform::ColumnSpan> columns) { Ref().FillColumns(columns); }
  /// Colour strips from `first` to `second`; at most 256 steps.
  virtual void FillGradient(const Rect& rect, Color first, TGradientDirection direction, Color second) = 0;
  virtual void MarkBufferDirty() = 0;
  virtual void DrawLine(int x0, int y0, int x1, int y1) = 0;
  /// Polygon of points[0 .. lastIndex].
  virtual void DrawPolygon(std::span<const Point> points, int lastIndex) = 0;
  /// Text turned counter-clockwise by `angle` degrees about (x, y); an angle
  /// above 360 is reduced by 360 once. The brush becomes clear.
  virtual void WriteRotatedText(int x, int y, int angle, const std::string& text) = 0;
  virtual void RemoveClip() = 0;

  /// Pen black, width 1, solid; brush white, solid; font black, size 10;
  /// background white and transparent.
  void ResetDrawingState();
  /// Selects a chart pen: clear when not Visible; the alternate-pixel pen
  /// for SmallDots of width 1 where the device has it; else a copy.
  void ApplyChartPen(const TChartPen& pen);
  /// Height of "W" with the current font.
  int MeasureFontHeight() { return MeasureTextHeight("W"); }

 protected:
  platform::DeviceCanvas* reference_ = nullptr;

 private:
  platform::NullDeviceCanvas nullCanvas_;
};

/// The depth-aware operations. Coordinates carry a depth z that the surface
/// projects; in 2D z is ignored and each operation draws its flat twin.
class TCanvas3D : public TPlotCanvas {
 public:
  using TPlotCanvas::TPlotCanvas;

  virtual void PutPixelAtDepth(int x, int y, int z, Color color) = 0;
  virtual bool CanRotateFreely() const = 0;
  /// False: callers draw text and frames flat at projected positions.
  virtual bool CanDrawTextInDepth() const = 0;
  /// Screen point back to chart coordinates at depth z.
  virtual void UnprojectPoint(int& x, int& y, int z) const = 0;
  virtual Point ProjectPoint(int x, int y, int z) const = 0;
  /// Starts a paint on `destination`; returns the rectangle to draw in
  /// (buffer coordinates when buffered).
  virtual Rect PrepareSurface(platform::DeviceCanvas& destination, const TView3DOptions* options,
                              const Rect& bounds, bool is3D, Color background) = 0;
  virtual void CopyMonochromeSetting(const TCanvas3D& other) = 0;
  /// Projection centre from the chart rectangle and the total depth.
  virtual void SetViewCenter(int depth, const Rect& bounds, const Rect& chartRect) = 0;
  /// Ends a paint: the buffer goes to `destination` at the bounds'
  /// top-left; the panel's canvas becomes the reference again.
  virtual void FinishSurface(platform::DeviceCanvas& destination, platform::DeviceCanvas* panelCanvas,
                             const Rect& bounds) = 0;
  /// Copies a still-valid buffer to the reference canvas; false when the
  /// picture must be drawn afresh.
  virtual bool RepaintFromBuffer() = 0;
  virtual void DrawArrowShape(bool filled, Point from, Point to, int headWidth, int headLength, int z) = 0;
  virtual void ClipToBox(const Rect& rect, int frontZ, int backZ) = 0;
  virtual void DrawBox(const Rect& rect, int frontZ, int backZ, bool darkSides) = 0;
  virtual void DrawCylinderShape(bool vertical, const Rect& rect, int frontZ, int backZ, bool darkSides) = 0;
  virtual void DrawHorizontalLineAtDepth(int left, int right, int y, int z) = 0;
  virtual void DrawVerticalLineAtDepth(int x, int top, int bottom, int z) = 0;
  virtual void DrawDepthLine(int x, int y, int z0, int z1) = 0;
  virtual void DrawEllipseAtDepth(const Rect& rect, int z) = 0;
  /// Titles and legend are drawn unprojected between these; no nesting.
  virtual void BeginFlatDrawing() = 0;
  virtual void EndFlatDrawing() = 0;
  virtual void DrawLineAtDepth(int x0, int y0, int x1, int y1, int z) = 0;
  virtual void MoveToPointAtDepth(int x, int y, int z) = 0;
  virtual void LineToPointAtDepth(int x, int y, int z) = 0;
  /// Angles in radians, counter-clockwise with screen y up.
  virtual void DrawSolidPieSlice(int centerX, int centerY, int radiusX, int radiusY, double startAngle,
                                 double endAngle, int frontZ, int backZ, bool darkSides) = 0;
  virtual void DrawDepthPlane(Point a, Point b, int z0, int z1) = 0;
  virtual void DrawQuadAtDepth(Point p0, Point p1, Point p2, Point p3, int z) = 0;
  virtual void DrawQuadBetweenDepths(Point p0, Point p1, Point p2, Point p3, int z0, int z1) = 0;
  virtual void DrawPyramidShape(bool vertical, const Rect& rect, int frontZ, int backZ, bool darkSides) = 0;
  virtual void DrawRectangleAtDepth(const Rect& rect, int z) = 0;
  virtual void DrawFloorPlane(int left, int y, int right, int z0, int z1) = 0;
  virtual void DrawSidePlane(int x, int top, int bottom, int z0, int z1) = 0;
  virtual void WriteRotatedTextAtDepth(int x, int y, int z, int angle, const std::string& text) = 0;
  virtual void WriteTextAtDepth(int x, int y, int z, const std::string& text) = 0;
  virtual void DrawTriangleAtDepth(Point a, Point b, Point c, int z) = 0;

  /// Both corners of a rectangle projected at depth z.
  Rect ProjectRect(const Rect& rect, int z) const;
};

}  // namespace plot
