#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QString>

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

void QtDeviceCanvas::TextOut(int x, int y, const std::string& text) {
  if (painter_ == nullptr || text.empty()) return;
  const QFont qfont = ToQFont(font_);
  const QFontMetrics metrics(qfont, painter_->device());
  const QString qtext = ToQString(text);
  const int width = metrics.horizontalAdvance(qtext);
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

  painter_->save();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->translate(x, y);
  if (font_.escapement % 3600 != 0) painter_->rotate(-font_.escapement / 10.0);
  if (bkMode_ == BackgroundMode::Opaque) painter_->fillRect(dx, dy, width, height, ToQColor(bkColor_));
  painter_->setFont(qfont);
  painter_->setPen(ToQColor(font_.color));
  painter_->setBackgroundMode(Qt::TransparentMode);
  painter_->drawText(dx, dy + metrics.ascent(), qtext);
  painter_->restore();
}

bool QtDeviceCanvas::TextExtent(const std::string& text, platform::Size& extent) {
  extent = {};
  // Fonts live in the GUI application; without one nothing can be measured.
  if (QGuiApplication::instance() == nullptr) return false;
  QPaintDevice* device = painter_ != nullptr ? painter_->device() : metricsDevice_;
  // Charts measure the same labels again and again (every paint, and several
  // times within one); shaping text is most of what that costs, so widths
  // are kept per font and device.
  const bool sameFont = metricsCache_ && metricsFont_.name == font_.name && metricsFont_.height == font_.height &&
                        metricsFont_.pixelsPerInch == font_.pixelsPerInch && metricsFont_.style == font_.style &&
                        metricsDeviceOfCache_ == device;
  if (!sameFont) {
    const QFont qfont = ToQFont(font_);
    metricsCache_.emplace(device != nullptr ? QFontMetrics(qfont, device) : QFontMetrics(qfont));
    metricsFont_ = font_;
    metricsDeviceOfCache_ = device;
    widthCache_.clear();
  }
  extent.cy = metricsCache_->height();
  auto found = widthCache_.find(text);
  if (found != widthCache_.end()) {
    extent.cx = found->second;
    return true;
  }
  extent.cx = metricsCache_->horizontalAdvance(ToQString(text));
  if (widthCache_.size() >= kWidthCacheLimit) widthCache_.clear();
  widthCache_.emplace(text, extent.cx);
  return true;
}

}  // namespace platform
