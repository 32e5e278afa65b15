#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QVarLengthArray>

#include <cstddef>
#include <string>

#include "platform/device_canvas.h"
#include "platform/qt_gui/qt_raster_writer.h"
#include "platform/qt_gui/qt_text_cache.h"

class QPainter;
class QPaintDevice;
class QImage;
class QString;

namespace platform {

// What a bound painter draws on. The chart's pixel rules are kept exactly,
// pixel by pixel, only on a plain raster image at one device pixel per
// logical pixel; every other target draws through Qt's own primitives with
// its dash patterns in logical pixels.
enum class QtTarget {
  Raster,        // an image or widget, one device pixel per logical pixel
  ScaledRaster,  // an image with a device pixel ratio (a 2x export)
  Svg,
  Pdf,           // PDF files and printers
  Picture,       // a QPicture recording, replayed later at any scale
  Other,
};

// The device canvas over a QPainter, so one code path draws on a widget, a
// QImage, an SVG or PDF file and a printer page. The painter is borrowed: it
// may be bound for one paint (a widget) or for the canvas's whole life (an
// image). Drawing state lives in this object and survives rebinding.
class QtDeviceCanvas final : public DeviceCanvas {
 public:
  // `metricsDevice` measures text while no painter is bound (a widget between
  // paints); without either, measurements fail.
  explicit QtDeviceCanvas(QPainter* painter = nullptr, QPaintDevice* metricsDevice = nullptr);
  ~QtDeviceCanvas() override;

  // Binds the painter of a new paint; mapping and drawing state are applied
  // to it. End() unbinds it; drawing then does nothing.
  void Begin(QPainter* painter);
  void End();
  QPainter* Painter() const { return painter_; }
  // The kind of target of the bound painter (Other while none is bound).
  QtTarget Target() const { return target_; }

  // Smooth (antialiased) lines and shapes; off by default, as on screen.
  void SetAntialiasing(bool on);
  bool Antialiasing() const { return antialiasing_; }

  // Shortcuts on image targets, on by default: one-pixel lines and solid
  // fills written straight into the image, and label text copied from
  // images rendered once. Each applies only where it gives the very pixels
  // the painter would; off, everything goes through QPainter's primitives.
  void SetFastPaths(bool on);
  bool FastPaths() const { return fastPaths_; }
  // Whether one-pixel lines and solid fills go straight into the image now
  // (a bound painter, shortcuts on, a target and clip that allow it).
  bool WritesDirectly() const { return Direct(); }
  // Bytes of rendered label images kept (4 MiB by default).
  void SetLabelImageBudget(std::size_t bytes) { labelImages_.SetBudget(bytes); }
  std::size_t LabelImageBytes() const { return labelImages_.Bytes(); }

  // The resolution reported to the chart; by default the device's logical
  // resolution (96 on images and screens).
  void SetPixelsPerInch(platform::Size ppi) { ppi_ = ppi; }

  bool SupportsAlternatePen() const override { return true; }
  platform::Size PixelsPerInch() const override;
  void SetMapping(const Mapping& mapping) override;
  Mapping GetMapping() const override { return mapping_; }
  void SetClipRect(const Rect& rect) override;
  void SetClipPolygon(std::span<const Point> points) override;
  void RemoveClip() override;

  void SetPixel(int x, int y, Color color) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(std::span<const Point> points) override;
  void Polygon(std::span<const Point> points) override;
  void Rectangle(const Rect& rect) override;
  void RoundRect(const Rect& rect, int cornerWidth, int cornerHeight) override;
  void Ellipse(const Rect& rect) override;
  void Arc(const Rect& rect, Point start, Point end) override;
  void Pie(const Rect& rect, Point start, Point end) override;
  void PatternFill(const Rect& rect) override;
  void FillColumns(std::span<const ColumnSpan> columns) override;
  void TextOut(int x, int y, const std::string& text) override;
  bool TextExtent(const std::string& text, platform::Size& extent) override;
  void DrawBitmap(int x, int y, const Bitmap& bitmap) override;
  void StretchBitmap(const Rect& rect, const Bitmap& bitmap) override;
  std::unique_ptr<Bitmap> CreateBitmap(int width, int height, bool monochrome) override;
  std::unique_ptr<Metafile> CreateMetafile(int width, int height) override;
  void StretchMetafile(const Rect& rect, Metafile& metafile) override;

  // The Qt font a platform font is drawn with ("Arial" becomes the
  // metric-compatible Liberation Sans).
  static QFont ToQFont(const platform::Font& font);

 private:
  // Pushes the drawing objects onto the painter, only those that changed
  // since they were last pushed. False while no painter is bound.
  bool Realise();
  bool IsRaster() const;
  void ApplyMapping();
  // Works out, after a change of painter, mapping or smoothing, which
  // shortcuts the bound painter allows.
  void RefreshShortcuts();
  // Whether thin lines and fills can be written straight into the image.
  bool Direct() const { return direct_ && writer_.Usable(); }
  bool DirectFill() const;
  bool DirectOutline() const;
  // Text through a rendered image; false when it must be drawn.
  bool TextFromImage(int x, int y, const std::string& text, QtFontCache::Entry& font, int dx, int dy, int width,
                     int height);
  // Device pixels per logical pixel of the bound painter.
  double DeviceScale() const;
  QPen StyledThinPen() const;
  // Where a stroke's centre goes so that a one-pixel line covers the same
  // pixels as on the raster screen: on targets that place pixel centres at
  // half units (vector files, smooth drawing) half a pixel right and down.
  QPointF StrokeShift() const;
  void DrawSegment(Point from, Point to);
  bool PixelExact() const { return pixelExact_; }
  void AppendSegmentPixels(Point from, Point to, QVarLengthArray<QPoint, 512>& pixels) const;
  void DrawPixels(const QVarLengthArray<QPoint, 512>& pixels);
  void WriteSegment(Point from, Point to);
  bool ThinPen() const;
  static QString ToQString(const std::string& text);
  QtFontCache::Entry* CurrentFont();

  QtFontCache fonts_;
  QtLabelImages labelImages_;
  QtRasterWriter writer_;
  bool fastPaths_ = true;
  bool pixelExact_ = false;  // one-pixel lines are set pixel by pixel
  bool direct_ = false;      // ... and may be written into the image
  int labelScale_ = 0;       // device pixels per logical pixel for label images; 0: none

  QPainter* painter_ = nullptr;
  QPaintDevice* metricsDevice_ = nullptr;
  QtTarget target_ = QtTarget::Other;
  bool antialiasing_ = false;
  platform::Size ppi_{0, 0};
  Mapping mapping_;
  Point position_;
  bool realisedValid_ = false;
  platform::Pen realisedPen_;
  platform::Brush realisedBrush_;
  BackgroundMode realisedBkMode_ = BackgroundMode::Opaque;
  Color realisedBkColor_ = 0;
};

// The image a bitmap made by a Qt canvas holds (monochrome ones converted to
// black and white); null for bitmaps of other canvases.
const QImage* ImageOfBitmap(const Bitmap& bitmap);

}  // namespace platform
