// An SVG writer as a Qt paint engine: each primitive becomes one element
// with its own style and transform; runs of elements under a clip share a
// group that refers to a clip path in device coordinates.
#include "platform/qt_gui/qt_svg_device.h"

#include <QBuffer>
#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <QTextStream>
#include <QTransform>

#include <cmath>
#include <limits>

namespace platform {

namespace {

// Coordinates with at most three decimals, without trailing zeros.
QString Num(double v) {
  if (std::fabs(v) < 5e-4) return QStringLiteral("0");
  QString s = QString::number(v, 'f', 3);
  while (s.endsWith('0')) s.chop(1);
  if (s.endsWith('.')) s.chop(1);
  return s;
}

QString ColorText(const QColor& c) { return c.name(QColor::HexRgb); }

// Text that XML accepts: control characters other than tab and line feed
// are dropped, the markup characters escaped.
QString XmlText(const QString& text) {
  QString clean;
  clean.reserve(text.size());
  for (QChar c : text) {
    if (c.unicode() >= 0x20 || c == '\t' || c == '\n') clean.append(c);
  }
  return clean.toHtmlEscaped();
}

QString PathData(const QPainterPath& path) {
  QString d;
  QTextStream out(&d);
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    switch (e.type) {
      case QPainterPath::MoveToElement: out << 'M' << Num(e.x) << ' ' << Num(e.y); break;
      case QPainterPath::LineToElement: out << 'L' << Num(e.x) << ' ' << Num(e.y); break;
      case QPainterPath::CurveToElement: out << 'C' << Num(e.x) << ' ' << Num(e.y); break;
      case QPainterPath::CurveToDataElement: out << ' ' << Num(e.x) << ' ' << Num(e.y); break;
    }
  }
  return d;
}

// One 8 x 8 tile of a hatch brush, as lines.
QString HatchLines(Qt::BrushStyle style) {
  switch (style) {
    case Qt::HorPattern: return "M0 4.5H8";
    case Qt::VerPattern: return "M4.5 0V8";
    case Qt::CrossPattern: return "M0 4.5H8M4.5 0V8";
    case Qt::BDiagPattern: return "M0 8L8 0";
    case Qt::FDiagPattern: return "M0 0L8 8";
    case Qt::DiagCrossPattern: return "M0 8L8 0M0 0L8 8";
    default: return {};
  }
}

QString PngDataUri(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return "data:image/png;base64," + QString::fromLatin1(bytes.toBase64());
}

}  // namespace

class SvgPaintEngine final : public QPaintEngine {
 public:
  SvgPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

  bool begin(QPaintDevice*) override {
    body_.clear();
    defs_.clear();
    clipId_ = openClip_ = 0;
    clipCount_ = patternCount_ = 0;
    clipEnabled_ = hasClip_ = false;
    clip_ = QPainterPath();
    return true;
  }

  bool end() override {
    CloseClipGroup();
    return true;
  }

  Type type() const override { return QPaintEngine::SVG; }

  void updateState(const QPaintEngineState& state) override {
    const DirtyFlags flags = state.state();
    // The transform first: a clip set together with it is in its terms.
    if (flags & DirtyTransform) transform_ = state.transform();
    if (flags & DirtyPen) pen_ = state.pen();
    if (flags & DirtyBrush) brush_ = state.brush();
    if (flags & DirtyFont) font_ = state.font();
    if (flags & DirtyOpacity) opacity_ = state.opacity();
    if (flags & DirtyClipRegion) {
      QPainterPath path;
      path.addRegion(state.clipRegion());
      SetClip(transform_.map(path), state.clipOperation());
    }
    if (flags & DirtyClipPath) SetClip(transform_.map(state.clipPath()), state.clipOperation());
    if (flags & DirtyClipEnabled) clipEnabled_ = state.isClipEnabled() && hasClip_;
  }

  void drawPath(const QPainterPath& path) override {
    Element("path") << " d=\"" << PathData(path) << '"'
                    << (path.fillRule() == Qt::OddEvenFill ? " fill-rule=\"evenodd\"" : "") << Style(true) << "/>\n";
  }

  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    if (count <= 0) return;
    const bool open = mode == PolylineMode;
    QTextStream& out = Element(open ? "polyline" : "polygon");
    out << " points=\"";
    for (int i = 0; i < count; ++i) out << (i ? " " : "") << Num(points[i].x()) << ',' << Num(points[i].y());
    out << '"' << (mode == OddEvenMode ? " fill-rule=\"evenodd\"" : "") << Style(!open) << "/>\n";
  }

  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) {
      const QRectF r = rects[i].normalized();
      Element("rect") << " x=\"" << Num(r.x()) << "\" y=\"" << Num(r.y()) << "\" width=\"" << Num(r.width())
                      << "\" height=\"" << Num(r.height()) << '"' << Style(true) << "/>\n";
    }
  }

  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    const QFont font = item.font();
    const double size = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
    QString decoration;
    if (font.underline()) decoration += " underline";
    if (font.strikeOut()) decoration += " line-through";
    QTextStream& out = Element("text");
    out << " x=\"" << Num(p.x()) << "\" y=\"" << Num(p.y()) << "\" font-family=\"" << XmlText(font.family())
        << "\" font-size=\"" << Num(size) << '"' << (font.bold() ? " font-weight=\"bold\"" : "")
        << (font.italic() ? " font-style=\"italic\"" : "");
    if (!decoration.isEmpty()) out << " text-decoration=\"" << decoration.trimmed() << '"';
    out << " fill=\"" << ColorText(pen_.color()) << '"' << Opacity("fill-opacity", pen_.color()) << Transform()
        << " xml:space=\"preserve\">" << XmlText(item.text()) << "</text>\n";
  }

  void drawImage(const QRectF& r, const QImage& image, const QRectF& source,
                 Qt::ImageConversionFlags = Qt::AutoColor) override {
    const QImage part = source == QRectF(image.rect()) ? image : image.copy(source.toAlignedRect());
    Element("image") << " x=\"" << Num(r.x()) << "\" y=\"" << Num(r.y()) << "\" width=\"" << Num(r.width())
                     << "\" height=\"" << Num(r.height()) << "\" preserveAspectRatio=\"none\"" << Transform()
                     << " xlink:href=\"" << PngDataUri(part) << "\"/>\n";
  }

  void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& source) override {
    drawImage(r, pixmap.toImage(), source);
  }

  const QString& Body() const { return body_; }
  const QString& Defs() const { return defs_; }

 private:
  void SetClip(const QPainterPath& path, Qt::ClipOperation op) {
    QPainterPath next;
    if (op == Qt::NoClip) {
      clipEnabled_ = hasClip_ = false;
      clip_ = QPainterPath();
      return;
    }
    next = op == Qt::IntersectClip && clipEnabled_ ? clip_.intersected(path) : path;
    clipEnabled_ = hasClip_ = true;
    // Painters restore the same clip again and again (around every text):
    // an unchanged clip keeps its clip path.
    if (clipId_ > 0 && next == clip_) return;
    clip_ = next;
    clipId_ = -1;  // defined when first used
  }

  // Opens the clip group the next element needs.
  void SyncClip() {
    if (!clipEnabled_) {
      CloseClipGroup();
      return;
    }
    if (clipId_ < 0) {
      clipId_ = ++clipCount_;
      QTextStream(&defs_) << "<clipPath id=\"c" << clipId_ << "\"><path d=\"" << PathData(clip_) << "\"/></clipPath>\n";
    }
    if (openClip_ == clipId_) return;
    CloseClipGroup();
    QTextStream(&body_) << "<g clip-path=\"url(#c" << clipId_ << ")\">\n";
    openClip_ = clipId_;
  }

  void CloseClipGroup() {
    if (openClip_ == 0) return;
    body_ += "</g>\n";
    openClip_ = 0;
  }

  QTextStream& Element(const char* name) {
    SyncClip();
    stream_.setString(&body_, QIODevice::Append);
    stream_ << '<' << name;
    return stream_;
  }

  QString Transform() const {
    if (transform_.isIdentity()) return {};
    const QTransform& t = transform_;
    return " transform=\"matrix(" + Num(t.m11()) + ' ' + Num(t.m12()) + ' ' + Num(t.m21()) + ' ' + Num(t.m22()) +
           ' ' + Num(t.dx()) + ' ' + Num(t.dy()) + ")\"";
  }

  QString Opacity(const char* name, const QColor& color) const {
    const double a = color.alphaF() * opacity_;
    return a < 1.0 ? QString(" %1=\"%2\"").arg(name, Num(a)) : QString();
  }

  QString Fill() {
    const Qt::BrushStyle style = brush_.style();
    if (style == Qt::NoBrush) return " fill=\"none\"";
    if (style == Qt::SolidPattern) return " fill=\"" + ColorText(brush_.color()) + '"' + Opacity("fill-opacity", brush_.color());
    if (style == Qt::TexturePattern) {
      const QImage tile = brush_.textureImage();
      const QString id = "p" + QString::number(++patternCount_);
      QTextStream(&defs_) << "<pattern id=\"" << id << "\" patternUnits=\"userSpaceOnUse\" width=\"" << tile.width()
                          << "\" height=\"" << tile.height() << "\"><image width=\"" << tile.width() << "\" height=\""
                          << tile.height() << "\" xlink:href=\"" << PngDataUri(tile) << "\"/></pattern>\n";
      return " fill=\"url(#" + id + ")\"";
    }
    const QString lines = HatchLines(style);
    if (lines.isEmpty()) {
      // Gradients and dense patterns: their colour, flat.
      const QColor c = brush_.gradient() != nullptr && !brush_.gradient()->stops().isEmpty()
                           ? brush_.gradient()->stops().first().second
                           : brush_.color();
      return " fill=\"" + ColorText(c) + '"';
    }
    const QString id = "p" + QString::number(++patternCount_);
    QTextStream(&defs_) << "<pattern id=\"" << id
                        << "\" patternUnits=\"userSpaceOnUse\" width=\"8\" height=\"8\"><path d=\"" << lines
                        << "\" stroke=\"" << ColorText(brush_.color()) << "\" stroke-width=\"1\"/></pattern>\n";
    return " fill=\"url(#" + id + ")\"";
  }

  QString Stroke() const {
    if (pen_.style() == Qt::NoPen || pen_.brush().style() == Qt::NoBrush) return " stroke=\"none\"";
    const bool cosmetic = pen_.isCosmetic();
    const double width = pen_.widthF() > 0 ? pen_.widthF() : 1.0;
    QString s = " stroke=\"" + ColorText(pen_.color()) + '"' + Opacity("stroke-opacity", pen_.color()) +
                " stroke-width=\"" + Num(width) + '"';
    // A cosmetic pen keeps its width in device pixels whatever the scale.
    if (cosmetic) s += " vector-effect=\"non-scaling-stroke\"";
    if (pen_.style() != Qt::SolidLine) {
      // Qt counts dashes in pen widths.
      QStringList dashes;
      for (qreal d : pen_.dashPattern()) dashes << Num(d * width);
      if (!dashes.isEmpty()) s += " stroke-dasharray=\"" + dashes.join(',') + '"';
      if (pen_.dashOffset() != 0) s += " stroke-dashoffset=\"" + Num(pen_.dashOffset() * width) + '"';
    }
    switch (pen_.capStyle()) {
      case Qt::SquareCap: s += " stroke-linecap=\"square\""; break;
      case Qt::RoundCap: s += " stroke-linecap=\"round\""; break;
      default: break;  // butt, as SVG's default
    }
    switch (pen_.joinStyle()) {
      case Qt::RoundJoin: s += " stroke-linejoin=\"round\""; break;
      case Qt::BevelJoin: s += " stroke-linejoin=\"bevel\""; break;
      default: break;  // miter
    }
    return s;
  }

  QString Style(bool filled) { return (filled ? Fill() : QString(" fill=\"none\"")) + Stroke() + Transform(); }

  QString body_;
  QString defs_;
  QTextStream stream_;
  QPen pen_;
  QBrush brush_;
  QFont font_;
  QTransform transform_;
  double opacity_ = 1.0;
  QPainterPath clip_;
  bool hasClip_ = false;
  bool clipEnabled_ = false;
  int clipId_ = 0;    // id of the current clip's path; -1 until written
  int openClip_ = 0;  // the clip group open in the body, 0 for none
  int clipCount_ = 0;
  int patternCount_ = 0;
};

QtSvgDevice::QtSvgDevice(QSize logical, QSize pixels)
    : logical_(logical.expandedTo(QSize(1, 1))), engine_(std::make_unique<SvgPaintEngine>()) {
  pixels_ = pixels.expandedTo(QSize(1, 1));
}

QtSvgDevice::~QtSvgDevice() = default;

void QtSvgDevice::SetTitle(const QString& title) { title_ = title; }

QPaintEngine* QtSvgDevice::paintEngine() const { return engine_.get(); }

QByteArray QtSvgDevice::Document() const {
  QString doc;
  QTextStream out(&doc);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\""
      << " width=\"" << pixels_.width() << "\" height=\"" << pixels_.height() << "\" viewBox=\"0 0 "
      << logical_.width() << ' ' << logical_.height() << "\">\n";
  if (!title_.isEmpty()) out << "<title>" << XmlText(title_) << "</title>\n";
  out << "<defs>\n" << engine_->Defs() << "</defs>\n" << engine_->Body() << "</svg>\n";
  out.flush();
  return doc.toUtf8();
}

int QtSvgDevice::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmWidth: return logical_.width();
    case PdmHeight: return logical_.height();
    case PdmWidthMM: return qRound(logical_.width() * 25.4 / kDpi);
    case PdmHeightMM: return qRound(logical_.height() * 25.4 / kDpi);
    case PdmNumColors: return std::numeric_limits<int>::max();
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return kDpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default: return QPaintDevice::metric(metric);
  }
}

}  // namespace platform
