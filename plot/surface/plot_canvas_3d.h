#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "plot/surface/plot_canvas.h"

namespace plot {

/// A point with a depth, for the faces of 3D shapes.
struct TPoint3D {
  int x = 0;
  int y = 0;
  int z = 0;
};

/// The chart's one drawing surface: the flat operations, the projection of
/// points with a depth (identity in 2D, oblique when orthogonal, else a
/// rotation with optional perspective) and the off-screen back buffer that
/// turns an unchanged repaint into one block copy.
class TPlotCanvas3D final : public TCanvas3D {
 public:
  explicit TPlotCanvas3D(platform::DeviceCanvas* reference = nullptr);
  ~TPlotCanvas3D() override;

  /// Asked for by SetMonochromeBuffer; the owning panel repaints.
  std::function<void()> PanelRepaint;

  // State of the projection, as the last PrepareSurface and SetViewCenter
  // left it.
  bool Is3D() const { return is3D_; }
  bool IsOrthogonal() const { return isOrthogonal_; }
  bool ScaleTextWithZoom() const { return scaleTextWithZoom_; }
  double ZoomFactor() const { return zoomFactor_; }
  double PerspectiveFactor() const { return perspectiveFactor_; }
  int CenterX() const { return centerX_; }
  int CenterY() const { return centerY_; }
  int CenterZ() const { return centerZ_; }
  int OriginX() const { return originX_; }
  int OriginY() const { return originY_; }
  bool BufferDirty() const { return bufferDirty_; }
  /// The back buffer, when one is allocated.
  const platform::Bitmap* Buffer() const { return buffer_.get(); }
  /// Set while the chart is drawn into a metafile.
  bool Metafiling() const { return metafiling_; }
  void SetMetafiling(bool value) { metafiling_ = value; }

  /// Projects in place; results round to the nearest integer, halves even.
  void ProjectInPlace(int& x, int& y, int z) const;

  Color GetBackgroundColor() const override;
  platform::BackgroundMode GetBackgroundMode() const override;
  platform::DeviceCanvas* GetDeviceHandle() const override { return reference_; }
  bool GetMonochromeBuffer() const override { return monochromeBuffer_; }
  unsigned GetTextAlignment() const override;
  bool GetBuffered() const override { return buffered_; }
  void SetBackgroundColor(Color color) override;
  void SetBackgroundMode(platform::BackgroundMode mode) override;
  void SetMonochromeBuffer(bool value) override;
  void PutPixel(int x, int y, Color color) override;
  void SetTextAlignment(unsigned flags) override;
  void SetBuffered(bool value) override;
  void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawGraphic(int x, int y, const platform::Bitmap* graphic) override;
  void DrawEllipse(int x1, int y1, int x2, int y2) override;
  void FillRectangle(const Rect& rect) override;
  void DrawBevel(const Rect& rect, Color top, Color bottom, int width) override;
  void LineToPoint(int x, int y) override;
  void MoveToPoint(int x, int y) override;
  void DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawRectangle(int x1, int y1, int x2, int y2) override;
  void DrawRoundRectangle(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
  void StretchGraphic(const Rect& rect, const platform::Bitmap* graphic) override;
  void WriteText(int x, int y, const std::string& text) override;
  void SetClipRectangle(const Rect& rect) override;
  void DrawHorizontalLine(int left, int right, int y) override;
  void DrawRectangleRect(const Rect& rect) override;
  void DrawVerticalLine(int x, int top, int bottom) override;
  void ClearRectangle(const Rect& rect) override;
  void FillGradient(const Rect& rect, Color first, TGradientDirection direction, Color second) override;
  void MarkBufferDirty() override { bufferDirty_ = true; }
  void DrawLine(int x0, int y0, int x1, int y1) override;
  void DrawPolygon(std::span<const Point> points, int lastIndex) override;
  void WriteRotatedText(int x, int y, int angle, const std::string& text) override;
  void RemoveClip() override;

  void PutPixelAtDepth(int x, int y, int z, Color color) override;
  bool CanRotateFreely() const override { return false; }
  bool CanDrawTextInDepth() const override { return false; }
  void UnprojectPoint(int& x, int& y, int z) const override;
  Point ProjectPoint(int x, int y, int z) const override;
  Rect PrepareSurface(platform::DeviceCanvas& destination, const TView3DOptions* options, const Rect& bounds,
                      bool is3D, Color background) override;
  void CopyMonochromeSetting(const TCanvas3D& other) override;
  void SetViewCenter(int depth, const Rect& bounds, const Rect& chartRect) override;
  void FinishSurface(platform::DeviceCanvas& destination, platform::DeviceCanvas* panelCanvas,
                     const Rect& bounds) override;
  bool RepaintFromBuffer() override;
  void DrawArrowShape(bool filled, Point from, Point to, int headWidth, int headLength, int z) override;
  void ClipToBox(const Rect& rect, int frontZ, int backZ) override;
  void DrawBox(const Rect& rect, int frontZ, int backZ, bool darkSides) override;
  void DrawCylinderShape(bool vertical, const Rect& rect, int frontZ, int backZ, bool darkSides) override;
  void DrawHorizontalLineAtDepth(int left, int right, int y, int z) override;
  void DrawVerticalLineAtDepth(int x, int top, int bottom, int z) override;
  void DrawDepthLine(int x, int y, int z0, int z1) override;
  void DrawEllipseAtDepth(const Rect& rect, int z) override;
  void BeginFlatDrawing() override;
  void EndFlatDrawing() override;
  void DrawLineAtDepth(int x0, int y0, int x1, int y1, int z) override;
  void MoveToPointAtDepth(int x, int y, int z) override;
  void LineToPointAtDepth(int x, int y, int z) override;
  void DrawSolidPieSlice(int centerX, int centerY, int radiusX, int radiusY, double startAngle, double endAngle,
                         int frontZ, int backZ, bool darkSides) override;
  void DrawDepthPlane(Point a, Point b, int z0, int z1) override;
  void DrawQuadAtDepth(Point p0, Point p1, Point p2, Point p3, int z) override;
  void DrawQuadBetweenDepths(Point p0, Point p1, Point p2, Point p3, int z0, int z1) override;
  void DrawPyramidShape(bool vertical, const Rect& rect, int frontZ, int backZ, bool darkSides) override;
  void DrawRectangleAtDepth(const Rect& rect, int z) override;
  void DrawFloorPlane(int left, int y, int right, int z0, int z1) override;
  void DrawSidePlane(int x, int top, int bottom, int z0, int z1) override;
  void WriteRotatedTextAtDepth(int x, int y, int z, int angle, const std::string& text) override;
  void WriteTextAtDepth(int x, int y, int z, const std::string& text) override;
  void DrawTriangleAtDepth(Point a, Point b, Point c, int z) override;

  // Rotation coefficients of the rotated projection.
  double Kxx() const { return kxx_; }
  double Kxy() const { return kxy_; }
  double Kxz() const { return kxz_; }
  double Kyx() const { return kyx_; }
  double Kyy() const { return kyy_; }
  double Kyz() const { return kyz_; }

 private:
  void CalcTrigValues(const TView3DOptions* options);
  void FreeBuffer();
  // Draws a face given with depths: projected, as one polygon.
  void PolygonAtDepths(std::initializer_list<TPoint3D> points);
  void PolygonAtDepths(const std::vector<TPoint3D>& points);
  // Brush colour for a darkened face: the brush's own when solid, else the
  // background colour that shows through a hatch. Returns what to restore.
  void DarkenFace(int amount);
  void RestoreFace();
  // Whether a step in depth moves the drawing right, and up, on screen.
  bool DepthGoesRight() const;
  bool DepthGoesUp() const;
  void TextWithCurrentBrush(int x, int y, const std::string& text);

  const TView3DOptions* options_ = nullptr;
  bool is3D_ = false;
  bool isOrthogonal_ = false;
  bool scaleTextWithZoom_ = true;
  double zoomFactor_ = 1.0;
  double perspectiveFactor_ = 0.0;
  int centerX_ = 0, centerY_ = 0, centerZ_ = 0;
  int originX_ = 0, originY_ = 0;
  double kxx_ = 1, kxy_ = 0, kxz_ = 0, kyx_ = 0, kyy_ = 1, kyz_ = 0;
  double px_ = 0, py_ = 0, pz_ = 0;

  std::unique_ptr<platform::Bitmap> buffer_;
  bool buffered_ = true;
  bool monochromeBuffer_ = false;
  bool bufferDirty_ = true;
  bool savedIs3D_ = false;
  bool metafiling_ = false;
  Rect bounds_;

  // Face darkening saves the brush colour and background colour here.
  Color savedBrushColor_ = 0;
  Color savedBkColor_ = 0;
};

}  // namespace plot
