#include "platform/qt_gui/qt_device_canvas.h"
#include "platform/system_colors.h"

#include <QBrush>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QRegion>
#include <QTransform>
#include <QVarLengthArray>

#include <cmath>
#include <numbers>
#include <vector>

#include "platform/qt_gui/qt_pictures.h"

namespace platform {

namespace {

QColor ToQColor(Color color) {
  const Color c = ResolveColor(color);
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QtTarget TargetOf(const QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  if (engine == nullptr) return QtTarget::Other;
  switch (engine->type()) {
    case QPaintEngine::Raster:
      return painter.device() != nullptr && painter.device()->devicePixelRatio() != 1.0 ? QtTarget::ScaledRaster
                                                                                        : QtTarget::Raster;
    case QPaintEngine::SVG: return QtTarget::Svg;
    case QPaintEngine::Pdf: return QtTarget::Pdf;
    case QPaintEngine::Picture: return QtTarget::Picture;
    default: return QtTarget::Other;
  }
}

QPolygon ToQPolygon(std::span<const Point> points) {
  QPolygon polygon(static_cast<int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i) polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
  return polygon;
}

// The rectangle whose outline with a one-pixel pen covers left .. right - 1:
// Qt strokes one pixel beyond an integer rectangle's size.
QRect OutlineRect(const Rect& r) {
  const int left = std::min(r.left, r.right), right = std::max(r.left, r.right);
  const int top = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
  return QRect(left, top, right - left - 1, bottom - top - 1);
}

// Dash patterns of the thin styled pens, in pixels.
constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
constexpr int kAlternate[] = {1, 1};

std::span<const int> Dashes(PenStyle style) {
  switch (style) {
    case PenStyle::Dash: return kDash;
    case PenStyle::Dot: return kDot;
    case PenStyle::DashDot: return kDashDot;
    case PenStyle::DashDotDot: return kDashDotDot;
    default: return {};
  }
}

QList<qreal> DashPattern(PenStyle style) {
  QList<qreal> pattern;
  for (int d : Dashes(style)) pattern.append(d);
  return pattern;
}

// The dashes a thin pen walks with: none for a solid line.
std::span<const int> ThinDashes(const Pen& pen) { return pen.alternate ? std::span<const int>(kAlternate) : Dashes(pen.style); }

// The pixels of a one-pixel line from `from` up to, not including, `to`, in
// order, skipping the gaps of a dash pattern that starts afresh at `from`.
template <typename Plot>
void WalkLine(Point from, Point to, std::span<const int> dashes, Plot&& plot) {
  // The patterns are whole pixels: walk them with a counter (dash index k,
  // pixels left in it) instead of working out each pixel's place anew.
  std::size_t k = 0;
  int left = dashes.empty() ? 0 : dashes[0];
  const int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
  const int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
  int error = dx + dy;
  int x = from.x, y = from.y;
  while (!(x == to.x && y == to.y)) {
    if (dashes.empty()) {
      plot(x, y);
    } else {
      if (k % 2 == 0) plot(x, y);  // even entries are dashes
      if (--left == 0) {
        k = (k + 1) % dashes.size();
        left = dashes[k];
      }
    }
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

// The value an opaque colour is stored as in a 32-bit image.
QRgb Opaque(Color color) {
  const Color c = ResolveColor(color);
  return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

Qt::BrushStyle ToQtBrushStyle(BrushStyle style) {
  switch (style) {
    case BrushStyle::Solid: return Qt::SolidPattern;
    case BrushStyle::Clear: return Qt::NoBrush;
    case BrushStyle::Horizontal: return Qt::HorPattern;
    case BrushStyle::Vertical: return Qt::VerPattern;
    case BrushStyle::FDiagonal: return Qt::FDiagPattern;
    case BrushStyle::BDiagonal: return Qt::BDiagPattern;
    case BrushStyle::Cross: return Qt::CrossPattern;
    case BrushStyle::DiagCross: return Qt::DiagCrossPattern;
  }
  return Qt::SolidPattern;
}

// Angle in degrees, counter-clockwise from three o'clock, of the point where
// the ray from the ellipse's centre through `p` meets it, in the parametric
// form Qt's arcs use.
double ArcAngle(const QRectF& box, Point p) {
  const double dx = (p.x - box.center().x()) / std::max(1.0, box.width());
  const double dy = (p.y - box.center().y()) / std::max(1.0, box.height());
  return std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
}

}  // namespace

QtDeviceCanvas::QtDeviceCanvas(QPainter* painter, QPaintDevice* metricsDevice)
    : metricsDevice_(metricsDevice) {
  Begin(painter);
}

QtDeviceCanvas::~QtDeviceCanvas() = default;

void QtDeviceCanvas::Begin(QPainter* painter) {
  painter_ = painter;
  realisedValid_ = false;
  target_ = QtTarget::Other;
  if (painter_ == nullptr) {
    RefreshShortcuts();
    return;
  }
  target_ = TargetOf(*painter_);
  // Pixel-exact geometry as the chart's layout expects unless smooth
  // drawing is asked for; text is always smooth.
  painter_->setRenderHint(QPainter::Antialiasing, antialiasing_);
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
  ApplyMapping();
  // A font keeps its point size on a device of another resolution.
  const int ppi = PixelsPerInch().cy;
  if (ppi > 0 && ppi != font_.pixelsPerInch) {
    const int size = font_.Size();
    font_.pixelsPerInch = ppi;
    font_.SetSize(size);
  }
}

void QtDeviceCanvas::End() {
  painter_ = nullptr;
  target_ = QtTarget::Other;
  RefreshShortcuts();
}

void QtDeviceCanvas::SetAntialiasing(bool on) {
  antialiasing_ = on;
  realisedValid_ = false;
  if (painter_ != nullptr) painter_->setRenderHint(QPainter::Antialiasing, on);
  RefreshShortcuts();
}

void QtDeviceCanvas::SetFastPaths(bool on) {
  fastPaths_ = on;
  RefreshShortcuts();
}

void QtDeviceCanvas::RefreshShortcuts() {
  writer_.Unbind();
  direct_ = false;
  labelScale_ = 0;
  pixelExact_ = painter_ != nullptr && target_ == QtTarget::Raster && !antialiasing_ &&
                painter_->deviceTransform().type() <= QTransform::TxTranslate;
  if (painter_ == nullptr || !fastPaths_) return;
  if (pixelExact_) {
    writer_.Bind(painter_);
    direct_ = true;
  }
  // Label images are copied at whole device pixels, as text is drawn: on an
  // image whose transform scales by a whole number and moves by whole pixels.
  const QPaintDevice* device = painter_->device();
  if (target_ != QtTarget::Raster && target_ != QtTarget::ScaledRaster) return;
  if (device == nullptr || device->devType() != QInternal::Image) return;
  const QImage::Format format = static_cast<const QImage*>(device)->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) return;
  const QTransform t = painter_->deviceTransform();
  const double scale = t.m11();
  if (t.type() > QTransform::TxScale || t.m22() != scale || scale < 1 || scale > 8 || scale != std::round(scale)) return;
  if (t.dx() != std::round(t.dx()) || t.dy() != std::round(t.dy())) return;
  labelScale_ = static_cast<int>(scale);
}

double QtDeviceCanvas::DeviceScale() const {
  if (painter_ == nullptr) return 1.0;
  const double s = std::sqrt(std::fabs(painter_->deviceTransform().determinant()));
  return s > 0 ? s : 1.0;
}

platform::Size QtDeviceCanvas::PixelsPerInch() const {
  if (ppi_.cx > 0 && ppi_.cy > 0) return ppi_;
  const QPaintDevice* device = painter_ != nullptr ? painter_->device() : metricsDevice_;
  if (device == nullptr) return {96, 96};
  return {device->logicalDpiX(), device->logicalDpiY()};
}

bool QtDeviceCanvas::IsRaster() const {
  return painter_ != nullptr && (target_ == QtTarget::Raster || target_ == QtTarget::ScaledRaster);
}

void QtDeviceCanvas::SetMapping(const Mapping& mapping) {
  mapping_ = mapping;
  ApplyMapping();
}

void QtDeviceCanvas::ApplyMapping() {
  if (painter_ == nullptr) return;
  // Thin styled pens depend on the scale.
  realisedValid_ = false;
  if (!mapping_.anisotropic) {
    painter_->setViewTransformEnabled(false);
  } else {
    painter_->setWindow(mapping_.windowOrg.x, mapping_.windowOrg.y, mapping_.windowExt.cx, mapping_.windowExt.cy);
    painter_->setViewport(mapping_.viewportOrg.x, mapping_.viewportOrg.y, mapping_.viewportExt.cx,
                          mapping_.viewportExt.cy);
    painter_->setViewTransformEnabled(true);
  }
  RefreshShortcuts();
}

void QtDeviceCanvas::SetClipRect(const Rect& rect) {
  if (painter_ == nullptr) return;
  const QRect clip(rect.left, rect.top, rect.Width(), rect.Height());
  painter_->setClipRect(clip);
  // How Qt reads a rectangle given inside out is its own business.
  if (clip.width() >= 0 && clip.height() >= 0) {
    writer_.SetClipRect(clip);
  } else {
    writer_.SetClipUnknown();
  }
}

void QtDeviceCanvas::SetClipPolygon(std::span<const Point> points) {
  if (painter_ == nullptr) return;
  painter_->setClipRegion(QRegion(ToQPolygon(points), Qt::OddEvenFill));
  writer_.SetClipUnknown();
}

void QtDeviceCanvas::RemoveClip() {
  if (painter_ == nullptr) return;
  painter_->setClipping(false);
  writer_.RemoveClip();
}

bool QtDeviceCanvas::ThinPen() const { return pen_.alternate || pen_.width <= 1; }

bool QtDeviceCanvas::Realise() {
  if (painter_ == nullptr) return false;
  const bool penChanged = !realisedValid_ || !(realisedPen_ == pen_);
  const bool brushChanged = !realisedValid_ || !(realisedBrush_ == brush_);
  const bool bkChanged = !realisedValid_ || realisedBkMode_ != bkMode_ || realisedBkColor_ != bkColor_;
  if (bkChanged) {
    painter_->setBackgroundMode(bkMode_ == BackgroundMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    painter_->setBackground(ToQColor(bkColor_));
  }
  if (penChanged) {
    QPen pen;
    const bool styledThin = pen_.alternate || (pen_.width <= 1 && !Dashes(pen_.style).empty());
    if (pen_.style == PenStyle::Clear && !pen_.alternate) {
      pen = QPen(Qt::NoPen);
    } else if (styledThin) {
      pen = StyledThinPen();
    } else {
      // Styled pens wider than one draw solid, as on the original devices.
      pen = QPen(ToQColor(pen_.color), std::max(0, pen_.width));
    }
    // A flat cap leaves out a thin line's last pixel; wide pens are round.
    pen.setCapStyle(ThinPen() ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(ThinPen() ? Qt::MiterJoin : Qt::RoundJoin);
    painter_->setPen(pen);
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    // Raster operations exist only on raster targets; elsewhere drawn plain.
    if (IsRaster() && pen_.mode == PenMode::NotXor) mode = QPainter::RasterOp_NotSourceXorDestination;
    if (IsRaster() && pen_.mode == PenMode::Xor) mode = QPainter::RasterOp_SourceXorDestination;
    painter_->setCompositionMode(mode);
  }
  if (brushChanged) {
    const QImage* image = brush_.bitmap ? ImageOfBitmap(*brush_.bitmap) : nullptr;
    if (image != nullptr) {
      painter_->setBrush(QBrush(*image));
    } else {
      painter_->setBrush(QBrush(ToQColor(brush_.color), ToQtBrushStyle(brush_.style)));
    }
  }
  realisedPen_ = pen_;
  realisedBrush_ = brush_;
  realisedBkMode_ = bkMode_;
  realisedBkColor_ = bkColor_;
  realisedValid_ = true;
  return true;
}

QPen QtDeviceCanvas::StyledThinPen() const {
  const QList<qreal> dashes = pen_.alternate ? QList<qreal>{1, 1} : DashPattern(pen_.style);
  const QColor color = ToQColor(pen_.color);
  if (PixelExact()) {
    // The screen: width 0 and the alternate pen are one-pixel cosmetic pens.
    QPen pen(color, pen_.alternate ? 0 : pen_.width);
    pen.setDashPattern(dashes);
    return pen;
  }
  // Elsewhere dots are as long as on screen in logical pixels, however many
  // device pixels those are (a 1200 dpi page, a picture replayed smaller):
  // a cosmetic pattern would count device pixels and print solid. Qt counts
  // a pen's dashes in pen widths.
  if (pen_.alternate || pen_.width == 1) {
    QPen pen(color, 1);
    pen.setDashPattern(dashes);
    return pen;
  }
  // Width 0 is the thinner of one logical and one device pixel: a hair on
  // a 1200 dpi page, and on a picture shrunk for a preview the same line as
  // the page drawn straight at that size.
  const double width = std::min(1.0, 1.0 / DeviceScale());
  QPen pen(color, width);
  QList<qreal> scaled;
  for (qreal d : dashes) scaled.append(d / width);
  pen.setDashPattern(scaled);
  return pen;
}

QPointF QtDeviceCanvas::StrokeShift() const {
  const bool centred = target_ == QtTarget::Svg || target_ == QtTarget::Pdf || antialiasing_;
  if (!centred || (pen_.style == PenStyle::Clear && !pen_.alternate)) return {};
  if (pen_.alternate || pen_.width == 1) return {0.5, 0.5};
  if (pen_.width == 0) {
    const double half = 0.5 / DeviceScale();
    return {half, half};
  }
  return pen_.width % 2 == 1 ? QPointF(0.5, 0.5) : QPointF();
}

void QtDeviceCanvas::SetPixel(int x, int y, Color color) {
  if (painter_ == nullptr) return;
  if (Direct()) {
    writer_.Pixel(x, y, Opaque(color));
    return;
  }
  // One device pixel at the logical point, whatever the mapping.
  const QPoint device = painter_->transform().map(QPoint(x, y));
  painter_->save();
  painter_->resetTransform();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->fillRect(device.x(), device.y(), 1, 1, ToQColor(color));
  painter_->restore();
}

void QtDeviceCanvas::MoveTo(int x, int y) { position_ = {x, y}; }

void QtDeviceCanvas::LineTo(int x, int y) {
  DrawSegment(position_, {x, y});
  position_ = {x, y};
}

void QtDeviceCanvas::DrawSegment(Point from, Point to) {
  if (painter_ != nullptr && Direct() && ThinPen() && pen_.mode == PenMode::Copy) {
    if (from != to && pen_.style != PenStyle::Clear) WriteSegment(from, to);
    return;
  }
  if (!Realise()) return;
  if (from == to) {
    // A thin line of no length has no pixels; a wide one is a round dot.
    if (ThinPen() || pen_.style == PenStyle::Clear) return;
    painter_->save();
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(ToQColor(pen_.color));
    const double r = pen_.width / 2.0;
    painter_->drawEllipse(QPointF(from.x, from.y) + StrokeShift(), r, r);
    painter_->restore();
    return;
  }
  if (pen_.style == PenStyle::Clear) return;
  if (!ThinPen() || !PixelExact()) {
    const QPointF shift = StrokeShift();
    painter_->drawLine(QPointF(from.x, from.y) + shift, QPointF(to.x, to.y) + shift);
    return;
  }
  // Qt leaves out whichever end lies further right or down; lines here
  // always keep their start and leave out their end, so a joint of a
  // polyline is set once and lines drawn back and forth cover the same
  // pixels. Thin lines are therefore set pixel by pixel.
  QVarLengthArray<QPoint, 512> pixels;
  AppendSegmentPixels(from, to, pixels);
  DrawPixels(pixels);
}

void QtDeviceCanvas::AppendSegmentPixels(Point from, Point to, QVarLengthArray<QPoint, 512>& pixels) const {
  // Grow by doubling: reserving just this segment's pixels would copy the
  // whole array once per segment, the square of a long polyline's length.
  const qsizetype needed = pixels.size() + std::max(std::abs(to.x - from.x), std::abs(to.y - from.y)) + 1;
  if (needed > pixels.capacity()) pixels.reserve(std::max(needed, 2 * pixels.capacity()));
  WalkLine(from, to, ThinDashes(pen_), [&pixels](int x, int y) { pixels.append(QPoint(x, y)); });
}

void QtDeviceCanvas::WriteSegment(Point from, Point to) {
  const QRgb argb = Opaque(pen_.color);
  const std::span<const int> dashes = ThinDashes(pen_);
  if (from.x != to.x && from.y != to.y) {
    WalkLine(from, to, dashes, [this, argb](int x, int y) { writer_.Pixel(x, y, argb); });
    return;
  }
  // Straight lines (grid lines, ticks, frames) go dash by dash.
  const bool across = from.y == to.y;
  const int length = across ? std::abs(to.x - from.x) : std::abs(to.y - from.y);
  const int direction = (across ? to.x - from.x : to.y - from.y) > 0 ? 1 : -1;
  writer_.StraightLine(from.x, from.y, across, direction, length, dashes, argb);
}

void QtDeviceCanvas::DrawPixels(const QVarLengthArray<QPoint, 512>& pixels) {
  if (pixels.isEmpty()) return;
  const QPen line = painter_->pen();
  QPen dot(ToQColor(pen_.color), 0);
  dot.setCapStyle(Qt::SquareCap);
  painter_->setPen(dot);
  painter_->drawPoints(pixels.constData(), static_cast<int>(pixels.size()));
  painter_->setPen(line);
}

void QtDeviceCanvas::Polyline(std::span<const Point> points) {
  if (points.size() < 2 || painter_ == nullptr) return;
  if (Direct() && ThinPen() && pen_.mode == PenMode::Copy) {
    if (pen_.style == PenStyle::Clear) return;
    for (std::size_t i = 1; i < points.size(); ++i) {
      if (points[i - 1] != points[i]) WriteSegment(points[i - 1], points[i]);
    }
    return;
  }
  if (!Realise()) return;
  if (ThinPen()) {
    // Segment by segment, each leaving out its end pixel, so a joint is set
    // once (a not-xor polyline drawn twice restores every pixel). On a raster
    // target all pixels go out in one call.
    if (pen_.style == PenStyle::Clear) return;
    if (!PixelExact()) {
      for (std::size_t i = 1; i < points.size(); ++i) DrawSegment(points[i - 1], points[i]);
      return;
    }
    QVarLengthArray<QPoint, 512> pixels;
    for (std::size_t i = 1; i < points.size(); ++i) {
      if (points[i - 1] != points[i]) AppendSegmentPixels(points[i - 1], points[i], pixels);
    }
    DrawPixels(pixels);
    return;
  }
  painter_->drawPolyline(QPolygonF(ToQPolygon(points)).translated(StrokeShift()));
}

void QtDeviceCanvas::Polygon(std::span<const Point> points) {
  if (points.size() < 2 || !Realise()) return;
  const QPointF shift = pen_.style == PenStyle::Clear ? QPointF() : StrokeShift();
  painter_->drawPolygon(QPolygonF(ToQPolygon(points)).translated(shift), Qt::OddEvenFill);
}

bool QtDeviceCanvas::DirectFill() const {
  return Direct() && !brush_.bitmap && brush_.style == BrushStyle::Solid;
}

bool QtDeviceCanvas::DirectOutline() const {
  if (!Direct() || pen_.mode != PenMode::Copy || pen_.alternate || brush_.bitmap) return false;
  const bool clearPen = pen_.style == PenStyle::Clear;
  const bool thinSolid = pen_.width <= 1 && (pen_.style == PenStyle::Solid || pen_.style == PenStyle::InsideFrame);
  return (clearPen || thinSolid) && (brush_.style == BrushStyle::Solid || brush_.style == BrushStyle::Clear);
}

void QtDeviceCanvas::Rectangle(const Rect& rect) {
  if (painter_ == nullptr) return;
  const QRect outline = OutlineRect(rect);
  // The frame is the outline's edge pixels, the fill what lies inside; a
  // fill without a frame covers one pixel less each way. Thinner boxes, and
  // frames that leave the image (Qt cuts those short by a pixel here and
  // there), are left to Qt.
  if (DirectOutline() && outline.width() >= 1 && outline.height() >= 1 &&
      (pen_.style == PenStyle::Clear || writer_.InImage(outline.adjusted(0, 0, 1, 1)))) {
    const int left = outline.left(), top = outline.top();
    const int right = left + outline.width(), bottom = top + outline.height();  // the frame's last column and row
    if (pen_.style == PenStyle::Clear) {
      if (brush_.style == BrushStyle::Solid) writer_.Fill(left, top, right, bottom, Opaque(brush_.color));
      return;
    }
    if (brush_.style == BrushStyle::Solid) writer_.Fill(left + 1, top + 1, right, bottom, Opaque(brush_.color));
    const QRgb frame = Opaque(pen_.color);
    writer_.Fill(left, top, right + 1, top + 1, frame);
    writer_.Fill(left, bottom, right + 1, bottom + 1, frame);
    writer_.Fill(left, top + 1, left + 1, bottom, frame);
    writer_.Fill(right, top + 1, right + 1, bottom, frame);
    return;
  }
  if (!Realise()) return;
  painter_->drawRect(QRectF(OutlineRect(rect)).translated(StrokeShift()));
}

void QtDeviceCanvas::RoundRect(const Rect& rect, int cornerWidth, int cornerHeight) {
  if (!Realise()) return;
  painter_->drawRoundedRect(QRectF(OutlineRect(rect)).translated(StrokeShift()), cornerWidth / 2.0,
                            cornerHeight / 2.0, Qt::AbsoluteSize);
}

void QtDeviceCanvas::Ellipse(const Rect& rect) {
  if (!Realise()) return;
  painter_->drawEllipse(QRectF(OutlineRect(rect)).translated(StrokeShift()));
}

void QtDeviceCanvas::Arc(const Rect& rect, Point start, Point end) {
  if (!Realise()) return;
  const QRectF box = OutlineRect(rect);
  const double a0 = ArcAngle(box, start);
  double span = ArcAngle(box, end) - a0;
  while (span <= 0) span += 360.0;
  painter_->drawArc(box.translated(StrokeShift()), static_cast<int>(std::lround(a0 * 16)), static_cast<int>(std::lround(span * 16)));
}

void QtDeviceCanvas::Pie(const Rect& rect, Point start, Point end) {
  if (!Realise()) return;
  const QRectF box = OutlineRect(rect);
  const double a0 = ArcAngle(box, start);
  double span = ArcAngle(box, end) - a0;
  while (span <= 0) span += 360.0;
  painter_->drawPie(box.translated(StrokeShift()), static_cast<int>(std::lround(a0 * 16)), static_cast<int>(std::lround(span * 16)));
}

void QtDeviceCanvas::PatternFill(const Rect& rect) {
  if (painter_ == nullptr) return;
  if (DirectFill()) {
    const int left = std::min(rect.left, rect.right), top = std::min(rect.top, rect.bottom);
    writer_.Fill(left, top, left + std::abs(rect.Width()), top + std::abs(rect.Height()), Opaque(brush_.color));
    return;
  }
  if (!Realise()) return;
  if (brush_.style == BrushStyle::Clear && !brush_.bitmap) return;
  // A pattern fill copies the brush; the pen's raster mode does not apply.
  const QPainter::CompositionMode mode = painter_->compositionMode();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  const QRect r(std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::abs(rect.Width()),
                std::abs(rect.Height()));
  if (bkMode_ == BackgroundMode::Opaque && brush_.style != BrushStyle::Solid && !brush_.bitmap) {
    painter_->fillRect(r, ToQColor(bkColor_));
  }
  painter_->fillRect(r, painter_->brush());
  painter_->setCompositionMode(mode);
}

void QtDeviceCanvas::FillColumns(std::span<const ColumnSpan> columns) {
  if (painter_ != nullptr && DirectFill()) {
    writer_.FillColumns(columns, Opaque(brush_.color));
    return;
  }
  DeviceCanvas::FillColumns(columns);
}

void QtDeviceCanvas::DrawBitmap(int x, int y, const Bitmap& bitmap) {
  const QImage* image = ImageOfBitmap(bitmap);
  if (image == nullptr || painter_ == nullptr) return;
  const QPainter::CompositionMode mode = painter_->compositionMode();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->drawImage(x, y, *image);
  painter_->setCompositionMode(mode);
}

void QtDeviceCanvas::StretchBitmap(const Rect& rect, const Bitmap& bitmap) {
  const QImage* image = ImageOfBitmap(bitmap);
  if (image == nullptr || painter_ == nullptr) return;
  const QPainter::CompositionMode mode = painter_->compositionMode();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  // A picture shrunk or grown for a page keeps its thin lines and text:
  // each pixel is a weighted mean of the source, not a pick of one.
  const bool smooth = painter_->testRenderHint(QPainter::SmoothPixmapTransform);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
  const QRect target(std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::abs(rect.Width()),
                     std::abs(rect.Height()));
  if (IsRaster() && (target.width() < image->width() || target.height() < image->height())) {
    // Qt's smooth transform samples bilinearly, which still skips rows
    // when shrinking by more than half: scale the image itself (box
    // filtered) to the device pixels it will cover.
    const QRect device = painter_->deviceTransform().mapRect(target);
    painter_->drawImage(QRectF(target), image->scaled(device.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  } else {
    painter_->drawImage(QRectF(target), *image);
  }
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
  painter_->setCompositionMode(mode);
}

std::unique_ptr<Bitmap> QtDeviceCanvas::CreateBitmap(int width, int height, bool monochrome) {
  return std::make_unique<QtBitmap>(width, height, monochrome, PixelsPerInch());
}

std::unique_ptr<Metafile> QtDeviceCanvas::CreateMetafile(int width, int height) {
  return std::make_unique<QtPictureMetafile>(width, height);
}

void QtDeviceCanvas::StretchMetafile(const Rect& rect, Metafile& metafile) {
  const QPicture* picture = PictureOfMetafile(metafile);
  if (picture == nullptr || painter_ == nullptr) return;
  painter_->save();
  // A recording holds only the changes from a new painter's state: replay
  // it from that state, not from this canvas's pen, brush and raster mode.
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->setPen(QPen());
  painter_->setBrush(Qt::NoBrush);
  painter_->setBackground(Qt::white);
  painter_->setBackgroundMode(Qt::TransparentMode);
  painter_->setFont(QFont());
  painter_->translate(rect.left, rect.top);
  painter_->scale(static_cast<double>(rect.Width()) / (metafile.Width() + 1),
                  static_cast<double>(rect.Height()) / (metafile.Height() + 1));
  painter_->drawPicture(0, 0, *picture);
  painter_->restore();
  // The replay changed the painter's pen and brush behind this canvas.
  realisedValid_ = false;
}

}  // namespace platform
