#include "plot/surface/plot_canvas_3d.h"

#include <algorithm>

#include "plot/surface/view3d_options.h"

namespace plot {

TPlotCanvas3D::TPlotCanvas3D(platform::DeviceCanvas* reference) : TCanvas3D(reference) {}

TPlotCanvas3D::~TPlotCanvas3D() { FreeBuffer(); }

void TPlotCanvas3D::FreeBuffer() {
  // Never leave the surface drawing into a freed bitmap.
  if (buffer_ && reference_ == &buffer_->Canvas()) reference_ = nullptr;
  buffer_.reset();
}

Color TPlotCanvas3D::GetBackgroundColor() const {
  return reference_ != nullptr ? reference_->BkColor() : clWhite;
}

platform::BackgroundMode TPlotCanvas3D::GetBackgroundMode() const {
  return reference_ != nullptr ? reference_->BkMode() : platform::BackgroundMode::Transparent;
}

unsigned TPlotCanvas3D::GetTextAlignment() const { return reference_ != nullptr ? reference_->TextAlign() : 0; }

void TPlotCanvas3D::SetBackgroundColor(Color color) { Ref().SetBkColor(ColorToRGB(color)); }

void TPlotCanvas3D::SetBackgroundMode(platform::BackgroundMode mode) { Ref().SetBkMode(mode); }

void TPlotCanvas3D::SetTextAlignment(unsigned flags) { Ref().SetTextAlign(flags); }

void TPlotCanvas3D::SetMonochromeBuffer(bool value) {
  if (monochromeBuffer_ == value) return;
  monochromeBuffer_ = value;
  FreeBuffer();
  bufferDirty_ = true;
  if (PanelRepaint) PanelRepaint();
}

void TPlotCanvas3D::CopyMonochromeSetting(const TCanvas3D& other) { SetMonochromeBuffer(other.GetMonochromeBuffer()); }

void TPlotCanvas3D::SetBuffered(bool value) {
  buffered_ = value;
  if (!value) {
    FreeBuffer();
    bufferDirty_ = true;
  }
}

Rect TPlotCanvas3D::PrepareSurface(platform::DeviceCanvas& destination, const TView3DOptions* options,
                                   const Rect& bounds, bool is3D, Color /*background*/) {
  options_ = options;
  is3D_ = is3D;
  isOrthogonal_ = false;
  zoomFactor_ = 1.0;
  if (is3D && options != nullptr) {
    isOrthogonal_ = options->Orthogonal();
    zoomFactor_ = options->Zoom() * 0.01;
    scaleTextWithZoom_ = options->ZoomText();
  }
  if (is3D) CalcTrigValues(options);
  bounds_ = bounds;

  if (!buffered_) {
    reference_ = &destination;
    return bounds;
  }
  // A buffer of at least one pixel, so an empty control still paints.
  const int width = std::max(1, bounds.Width());
  const int height = std::max(1, bounds.Height());
  if (!buffer_ || buffer_->Width() != width || buffer_->Height() != height) {
    FreeBuffer();
    buffer_ = destination.CreateBitmap(width, height, monochromeBuffer_);
  }
  if (!buffer_) {
    // The device offers no off-screen bitmaps: draw straight on it.
    reference_ = &destination;
    return bounds;
  }
  reference_ = &buffer_->Canvas();
  return {0, 0, bounds.Width(), bounds.Height()};
}

void TPlotCanvas3D::FinishSurface(platform::DeviceCanvas& destination, platform::DeviceCanvas* panelCanvas,
                                  const Rect& bounds) {
  if (buffered_ && buffer_) {
    destination.DrawBitmap(bounds.left, bounds.top, *buffer_);
    bufferDirty_ = false;
  }
  reference_ = panelCanvas;
}

bool TPlotCanvas3D::RepaintFromBuffer() {
  if (bufferDirty_ || !buffer_ || reference_ == nullptr || reference_ == &buffer_->Canvas()) return false;
  reference_->DrawBitmap(0, 0, *buffer_);
  return true;
}

void TPlotCanvas3D::BeginFlatDrawing() {
  savedIs3D_ = is3D_;
  is3D_ = false;
}

void TPlotCanvas3D::EndFlatDrawing() { is3D_ = savedIs3D_; }

void TPlotCanvas3D::PutPixel(int x, int y, Color color) { Ref().SetPixel(x, y, ColorToRGB(color)); }

void TPlotCanvas3D::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Ref().Arc({x1, y1, x2, y2}, {x3, y3}, {x4, y4});
}

void TPlotCanvas3D::DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Ref().Pie({x1, y1, x2, y2}, {x3, y3}, {x4, y4});
}

void TPlotCanvas3D::DrawGraphic(int x, int y, const platform::Bitmap* graphic) {
  if (graphic != nullptr) Ref().DrawBitmap(x, y, *graphic);
}

void TPlotCanvas3D::StretchGraphic(const Rect& rect, const platform::Bitmap* graphic) {
  if (graphic != nullptr) Ref().StretchBitmap(rect, *graphic);
}

void TPlotCanvas3D::DrawEllipse(int x1, int y1, int x2, int y2) { Ref().Ellipse({x1, y1, x2, y2}); }

void TPlotCanvas3D::FillRectangle(const Rect& rect) { Ref().PatternFill(rect); }

void TPlotCanvas3D::ClearRectangle(const Rect& rect) { FillRectangle(rect); }

void TPlotCanvas3D::MoveToPoint(int x, int y) { Ref().MoveTo(x, y); }

void TPlotCanvas3D::LineToPoint(int x, int y) { Ref().LineTo(x, y); }

void TPlotCanvas3D::DrawLine(int x0, int y0, int x1, int y1) {
  Ref().MoveTo(x0, y0);
  Ref().LineTo(x1, y1);
}

void TPlotCanvas3D::DrawHorizontalLine(int left, int right, int y) { DrawLine(left, y, right, y); }

void TPlotCanvas3D::DrawVerticalLine(int x, int top, int bottom) { DrawLine(x, top, x, bottom); }

void TPlotCanvas3D::DrawRectangle(int x1, int y1, int x2, int y2) { Ref().Rectangle({x1, y1, x2, y2}); }

void TPlotCanvas3D::DrawRectangleRect(const Rect& rect) {
  DrawRectangle(rect.left, rect.top, rect.right, rect.bottom);
}

void TPlotCanvas3D::DrawRoundRectangle(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
  Ref().RoundRect({x1, y1, x2, y2}, cornerWidth, cornerHeight);
}

void TPlotCanvas3D::DrawPolygon(std::span<const Point> points, int lastIndex) {
  if (lastIndex < 0) return;
  const std::size_t count = std::min(points.size(), static_cast<std::size_t>(lastIndex) + 1);
  Ref().Polygon(points.first(count));
}

void TPlotCanvas3D::SetClipRectangle(const Rect& rect) { Ref().SetClipRect(rect); }

void TPlotCanvas3D::RemoveClip() { Ref().RemoveClip(); }

void TPlotCanvas3D::DrawBevel(const Rect& rect, Color top, Color bottom, int width) {
  platform::Pen& pen = Pen();
  pen.width = 1;
  pen.alternate = false;
  Rect r = rect;
  --r.right;
  --r.bottom;
  // Lines leave out their last point: the top-left polyline ends short of
  // the top-right corner, which the bottom-right one then starts on.
  for (int i = 0; i < width; ++i) {
    pen.color = ColorToRGB(top);
    const Point topLeft[] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
    Ref().Polyline(topLeft);
    pen.color = ColorToRGB(bottom);
    const Point bottomRight[] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
    Ref().Polyline(bottomRight);
    ++r.left;
    ++r.top;
    --r.right;
    --r.bottom;
  }
}

}  // namespace plot
