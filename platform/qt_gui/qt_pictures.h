#pragma once

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <memory>

#include "platform/device_canvas.h"
#include "platform/picture_clipboard.h"
#include "platform/qt_gui/qt_device_canvas.h"

class QSvgGenerator;

namespace platform {

// An off-screen 32-bit image with a painter open on it for its whole life,
// so its canvas keeps its drawing state from one paint to the next.
class QtBitmap final : public Bitmap {
 public:
  // `pixelsPerInch` is the resolution of the canvas it stands in for.
  QtBitmap(int width, int height, bool monochrome, platform::Size pixelsPerInch = {96, 96});
  // Takes over an existing image (a loaded background picture).
  explicit QtBitmap(const QImage& image);
  ~QtBitmap() override;

  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  DeviceCanvas& Canvas() override { return canvas_; }
  bool SaveToFile(const std::string& path) const override;

  // What a block copy reads: the image, reduced to black and white when the
  // bitmap is monochrome.
  const QImage& Image() const;

 private:
  QImage image_;
  bool monochrome_ = false;
  mutable QImage monochromeView_;
  QPainter painter_;
  QtDeviceCanvas canvas_;
};

// A vector recording written as SVG; the recording ends at the first
// Data() or SaveToFile().
class QtSvgMetafile final : public Metafile {
 public:
  QtSvgMetafile(int width, int height);
  ~QtSvgMetafile() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  DeviceCanvas& Canvas() override { return canvas_; }
  std::string Data() override;
  bool SaveToFile(const std::string& path) override;

 private:
  int width_;
  int height_;
  QBuffer buffer_;
  std::unique_ptr<QSvgGenerator> generator_;
  QPainter painter_;
  QtDeviceCanvas canvas_;
};

// The system clipboard through QGuiApplication.
class QtPictureClipboard final : public PictureClipboard {
 public:
  void SetBitmap(const Bitmap& bitmap) override;
  void SetMetafile(Metafile& metafile) override;
};

// A picture file (PNG, JPEG, BMP, ...) as a bitmap; null when it cannot be read.
std::shared_ptr<Bitmap> LoadBitmapFromFile(const std::string& path);

}  // namespace platform
