#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QString>
#include <QTransform>

#include <cstdlib>

#include "platform/qt_gui/qt_device_canvas.h"
#include "platform/system_colors.h"

namespace platform {

namespace {

// Faces the chart names, drawn with the metric-compatible Liberation faces
// so that text widths match the layouts the chart was designed with.
QString FamilyFor(const std::string& name) {
  const QString family = QString::fromStdString(name);
  if (family.compare("Arial", Qt::CaseInsensitive) == 0 || family.compare("Helvetica", Qt::CaseInsensitive) == 0) {
    return QStringLiteral("Liberation Sans");
  }
  if (family.compare("Times New Roman", Qt::CaseInsensitive) == 0) return QStringLiteral("Liberation Serif");
  if (family.compare("Courier New", Qt::CaseInsensitive) == 0) return QStringLiteral("Liberation Mono");
  return family;
}

QColor ToQColor(Color color) {
  const Color c = ResolveColor(color);
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace

QString QtDeviceCanvas::ToQString(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QFont QtDeviceCanvas::ToQFont(const platform::Font& font) {
  QFont qfont(FamilyFor(font.name));
  // Negative heights are the em size, which is what a pixel size is; a
  // positive cell height is scaled down to the em size it implies.
  int pixels = font.height < 0 ? -font.height : font.height;
  if (font.height == 0) pixels = 12;
  if (font.height > 0) {
    qfont.setPixelSize(std::max(1, pixels));
    const QFontMetrics metrics(qfont);
    if (metrics.height() > 0) pixels = std::max(1, pixels * pixels / metrics.height());
  }
  qfont.setPixelSize(std::max(1, pixels));
  qfont.setBold((font.style & fsBold) != 0);
  qfont.setItalic((font.style & fsItalic) != 0);
  qfont.setUnderline((font.style & fsUnderline) != 0);
  qfont.setStrikeOut((font.style & fsStrikeOut) != 0);
  // Text is laid out with plain advance widths, without pair kerning.
  qfont.setKerning(false);
  return qfont;
}

QtFontCache::Entry* QtDeviceCanvas::CurrentFont() {
  // Fonts live in the GUI application; without one nothing can be measured.
  if (QGuiApplication::instance() == nullptr) return nullptr;
  const QPaintDevice* device = painter_ != nullptr ? painter_->device() : metricsDevice_;
  return &fonts_.For(font_, device, &ToQFont);
}

void QtDeviceCanvas::TextOut(int x, int y, const std::string& text) {
  if (painter_ == nullptr || text.empty()) return;
  QtFontCache::Entry* font = CurrentFont();
  if (font == nullptr) return;
  const QFontMetrics& metrics = font->metrics;
  const int width = font->Width(text);
  const int height = metrics.height();

  // Offset of the text box's top-left from the reference point, before the
  // box is turned about that point.
  int dx = 0;
  switch (textAlign_ & text_align::kHorizontalMask) {
    case text_align::kRight: dx = -width; break;
    case text_align::kCenter: dx = -(width / 2); break;
    default: break;
  }
  int dy = 0;
  if ((textAlign_ & text_align::kVerticalMask) == text_align::kBaseline) {
    dy = -metrics.ascent();
  } else if ((textAlign_ & text_align::kVerticalMask) == text_align::kBottom) {
    dy = -height;
  }

  if (TextFromImage(x, y, text, *font, dx, dy, width, height)) return;

  painter_->save();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->translate(x, y);
  if (font_.escapement % 3600 != 0) painter_->rotate(-font_.escapement / 10.0);
  if (bkMode_ == BackgroundMode::Opaque) painter_->fillRect(dx, dy, width, height, ToQColor(bkColor_));
  painter_->setFont(font->font);
  painter_->setPen(ToQColor(font_.color));
  painter_->setBackgroundMode(Qt::TransparentMode);
  painter_->drawText(dx, dy + metrics.ascent(), ToQString(text));
  painter_->restore();
}

bool QtDeviceCanvas::TextFromImage(int x, int y, const std::string& text, QtFontCache::Entry& font, int dx, int dy,
                                   int width, int height) {
  // See-through text only (an opaque box is a fill of its own), level or
  // turned by a quarter either way: the angles of axis labels and titles,
  // where a copy is known to match the drawing. At other angles glyphs are
  // placed at fractions of a pixel and a copy differs in the last bit of a
  // few smoothed pixels.
  if (labelScale_ == 0 || bkMode_ != BackgroundMode::Transparent) return false;
  const int angle = ((font_.escapement % 3600) + 3600) % 3600;
  if (angle != 0 && angle != 900 && angle != 2700) return false;
  // Large text is filled as outlines, not copied from the glyph cache.
  constexpr int kLargestCachedGlyph = 64;
  if (font.font.pixelSize() * labelScale_ >= kLargestCachedGlyph || !font.GreyText()) return false;

  const QtLabelImages::Key key{text,          font_.name,     font_.height,    font_.pixelsPerInch,
                               font_.style,   ResolveColor(font_.color), font_.escapement, labelScale_};
  const double degrees = -font_.escapement / 10.0;
  const QtLabelImages::Image* image = labelImages_.Find(
      key,
      [&] {
        // The ink with a pixel to spare, around the advance box: overhanging
        // glyphs reach outside it.
        const QString qtext = ToQString(text);
        QRect box = QRect(dx, dy, width, height) | font.metrics.boundingRect(qtext).translated(dx, dy + font.metrics.ascent());
        box.adjust(-1, -1, 1, 1);
        QTransform turn;
        if (angle != 0) turn.rotate(degrees);
        return turn.mapRect(box);
      },
      [&](QImage& target, QPoint topLeft) {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setRenderHint(QPainter::Antialiasing, antialiasing_);
        painter.translate(-topLeft);
        if (angle != 0) painter.rotate(degrees);
        painter.setFont(font.font);
        painter.setPen(ToQColor(font_.color));
        painter.drawText(dx, dy + font.metrics.ascent(), ToQString(text));
      });
  if (image == nullptr) return false;
  const QPainter::CompositionMode mode = painter_->compositionMode();
  if (mode != QPainter::CompositionMode_SourceOver) painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->drawImage(QPoint(x + image->offset.x(), y + image->offset.y()), image->image);
  if (mode != QPainter::CompositionMode_SourceOver) painter_->setCompositionMode(mode);
  return true;
}

bool QtDeviceCanvas::TextExtent(const std::string& text, platform::Size& extent) {
  extent = {};
  QtFontCache::Entry* font = CurrentFont();
  if (font == nullptr) return false;
  extent.cy = font->metrics.height();
  extent.cx = font->Width(text);
  return true;
}

}  // namespace platform
