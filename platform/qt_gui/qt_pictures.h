#pragma once

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <functional>
#include <memory>
#include <string>

#include "platform/device_canvas.h"
#include "platform/picture_clipboard.h"
#include "platform/qt_gui/qt_device_canvas.h"

namespace platform {

// An off-screen 32-bit image with a painter open on it for its whole life,
// so its canvas keeps its drawing state from one paint to the next.
class QtBitmap final : public Bitmap {
 public:
  // `pixelsPerInch` is the resolution of the canvas it stands in for. With
  // a device pixel ratio above 1 the image has width x height pixels and
  // its canvas draws in logical pixels that many times larger (a sharper
  // picture of the same layout).
  QtBitmap(int width, int height, bool monochrome, platform::Size pixelsPerInch = {96, 96},
           double devicePixelRatio = 1.0);
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

// A recording of drawing calls (a QPicture) that replays through a scaled
// painter, so a page preview shows vector text and lines at any size. As a
// file or on the clipboard it is an SVG document.
class QtPictureMetafile final : public Metafile {
 public:
  // The inclusive frame: the recording covers width + 1 by height + 1.
  QtPictureMetafile(int width, int height);
  ~QtPictureMetafile() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  DeviceCanvas& Canvas() override { return canvas_; }
  std::string Data() override;
  bool SaveToFile(const std::string& path) override;

  // The finished recording (ends it on first use).
  const QPicture& Picture();

 private:
  int width_;
  int height_;
  QPicture picture_;
  QPainter painter_;
  QtDeviceCanvas canvas_;
};

// The SVG document of a painting of `logical` size, `paint` drawing it on
// a canvas; `pixels` is the width and height the document claims.
std::string RenderSvg(QSize logical, QSize pixels, const std::function<void(QtDeviceCanvas&)>& paint,
                      const QString& title = {});

// The recording of a metafile made by a Qt canvas; null for others.
const QPicture* PictureOfMetafile(Metafile& metafile);

// The system clipboard through QGuiApplication.
class QtPictureClipboard final : public PictureClipboard {
 public:
  void SetBitmap(const Bitmap& bitmap) override;
  void SetMetafile(Metafile& metafile) override;
};

// A picture file (PNG, JPEG, BMP, ...) as a bitmap; null when it cannot be read.
std::shared_ptr<Bitmap> LoadBitmapFromFile(const std::string& path);

}  // namespace platform
