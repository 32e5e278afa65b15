#include "platform/qt_gui/qt_text_cache.h"

#include <QPainter>
#include <QString>

#include <functional>

namespace platform {

namespace {

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool SameMetrics(const platform::Font& a, const platform::Font& b) {
  return a.name == b.name && a.height == b.height && a.pixelsPerInch == b.pixelsPerInch && a.style == b.style;
}

}  // namespace

int QtFontCache::Entry::Width(const std::string& text) {
  auto found = widths.find(text);
  if (found != widths.end()) return found->second;
  const int width = metrics.horizontalAdvance(ToQString(text));
  if (widths.size() >= kMaxWidths) widths.clear();
  widths.emplace(text, width);
  return width;
}

bool QtFontCache::Entry::GreyText() {
  if (greyText < 0) {
    // Subpixel smoothing shows as colour fringes on black text; it is only
    // ever used on opaque images, so that is where to look.
    QImage probe(64, 48, QImage::Format_RGB32);
    probe.fill(Qt::white);
    QPainter painter(&probe);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(4, 4 + metrics.ascent(), QStringLiteral("Wg/"));
    painter.end();
    greyText = 1;
    for (int y = 0; y < probe.height() && greyText == 1; ++y) {
      const QRgb* line = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
      for (int x = 0; x < probe.width(); ++x) {
        if (qRed(line[x]) != qGreen(line[x]) || qGreen(line[x]) != qBlue(line[x])) {
          greyText = 0;
          break;
        }
      }
    }
  }
  return greyText == 1;
}

QtFontCache::Entry& QtFontCache::For(const platform::Font& font, const QPaintDevice* device,
                                     QFont (*toQFont)(const platform::Font&)) {
  if (last_ != nullptr && last_->device == device && SameMetrics(last_->key, font)) return *last_;
  for (auto& entry : entries_) {
    if (entry->device == device && SameMetrics(entry->key, font)) {
      last_ = entry.get();
      return *last_;
    }
  }
  if (entries_.size() >= kMaxFonts) Clear();
  const QFont qfont = toQFont(font);
  // The metrics of a font on a device of another resolution differ.
  QFontMetrics metrics = device != nullptr ? QFontMetrics(qfont, const_cast<QPaintDevice*>(device)) : QFontMetrics(qfont);
  entries_.push_back(std::make_unique<Entry>(Entry{font, device, qfont, metrics, {}, -1}));
  last_ = entries_.back().get();
  return *last_;
}

std::size_t QtLabelImages::KeyHash::operator()(const Key& k) const {
  std::size_t h = std::hash<std::string>{}(k.text);
  auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
  mix(std::hash<std::string>{}(k.family));
  mix(static_cast<std::size_t>(k.height));
  mix(static_cast<std::size_t>(k.pixelsPerInch));
  mix(k.style);
  mix(k.color);
  mix(static_cast<std::size_t>(k.escapement));
  mix(static_cast<std::size_t>(k.scale));
  return h;
}

void QtLabelImages::Evict() {
  while (bytes_ > budget_ && items_.size() > 1) {
    auto& [key, image] = items_.back();
    bytes_ -= key.text.size() + sizeof(Key) + static_cast<std::size_t>(image.image.sizeInBytes());
    index_.erase(key);
    items_.pop_back();
  }
}

void QtLabelImages::Clear() {
  index_.clear();
  items_.clear();
  bytes_ = 0;
}

}  // namespace platform
