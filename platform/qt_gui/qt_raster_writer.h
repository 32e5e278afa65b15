#pragma once

#include <QRect>
#include <QRgb>
#include <QtGlobal>

#include <span>

#include "platform/device_canvas.h"

class QPainter;

namespace platform {

// Writes opaque pixels straight into the 32-bit image a painter draws on.
// One-pixel lines and one-pixel-wide fills are most of a chart's pixels, and
// Qt's raster engine sets them a span of one pixel at a time; a store per
// pixel gives the same picture for a fraction of the cost. It is used only
// where the result is exactly what the painter would do: an RGB32 or
// premultiplied ARGB32 image, a transform that moves by whole pixels, a
// clip it knows (none or one rectangle) and an opaque colour drawn over
// whatever is there.
class QtRasterWriter {
 public:
  // Binds to the painter's image when it can be written directly; unbound
  // otherwise. The transform is read now: rebind after changing it.
  void Bind(QPainter* painter);
  void Unbind();
  bool Usable() const { return bits_ != nullptr && clipKnown_; }

  // The clip the painter has, in logical pixels.
  void SetClipRect(const QRect& logical);
  void RemoveClip();
  // A clip that is not a rectangle: direct writes stop until RemoveClip.
  void SetClipUnknown();

  // `argb` is an opaque 0xAARRGGBB value. Coordinates are logical pixels;
  // whatever lies outside the image or the clip is left out.
  void Pixel(int x, int y, QRgb argb) {
    if (x < left_ || x >= right_ || y < top_ || y >= bottom_) return;
    Row(y)[x + dx_] = argb;
  }
  // The first `length` pixels of a line from (x, y) along a row (`across`)
  // or a column, towards higher coordinates (`direction` 1) or lower (-1),
  // with the gaps of a dash pattern that starts afresh at (x, y).
  void StraightLine(int x, int y, bool across, int direction, int length, std::span<const int> dashes, QRgb argb);
  // Whether the rectangle (logical pixels) lies within the image.
  bool InImage(const QRect& logical) const { return image_.contains(logical); }
  // Columns left .. right - 1, rows top .. bottom - 1.
  void Fill(int left, int top, int right, int bottom, QRgb argb);
  // One-pixel-wide columns, all in one colour.
  void FillColumns(std::span<const ColumnSpan> columns, QRgb argb);

 private:
  quint32* Row(int y) const { return reinterpret_cast<quint32*>(bits_ + static_cast<qsizetype>(y + dy_) * stride_); }
  void UpdateBounds();

  uchar* bits_ = nullptr;
  qsizetype stride_ = 0;
  int dx_ = 0, dy_ = 0;                 // logical to image pixels
  QRect image_;                         // the image, in logical pixels
  QRect clip_;                          // valid while hasClip_
  bool hasClip_ = false;
  bool clipKnown_ = true;
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;  // writable area, logical
};

}  // namespace platform
