#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSize>
#include <QString>

#include <memory>

namespace platform {

class SvgPaintEngine;

// A paint device that writes what is painted on it as an SVG document.
// Unlike QSvgGenerator it keeps clipping (as clip paths), claims a 96 dpi
// resolution so point sizes come out as on screen, and gives the document
// its size in pixels.
class QtSvgDevice final : public QPaintDevice {
 public:
  // `logical`: the drawing's own size (the viewBox, in which it is painted);
  // `pixels`: the width and height the document claims (larger for a
  // scaled export).
  QtSvgDevice(QSize logical, QSize pixels);
  ~QtSvgDevice() override;

  void SetTitle(const QString& title);
  // The whole document; complete once the painter on the device has ended.
  QByteArray Document() const;

  QPaintEngine* paintEngine() const override;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  static constexpr int kDpi = 96;
  QSize logical_;
  QSize pixels_;
  QString title_;
  std::unique_ptr<SvgPaintEngine> engine_;
};

}  // namespace platform
