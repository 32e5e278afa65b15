#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/device_canvas.h"

class QPaintDevice;

namespace platform {

// The Qt font, metrics and measured widths of each chart font a canvas
// draws with. Charts measure the same labels again and again (every paint,
// and several times within one) and switch between a few fonts (title,
// labels, legend); shaping text is most of what measuring costs, and making
// a QFont and its metrics is the rest.
class QtFontCache {
 public:
  struct Entry {
    platform::Font key;  // name, height, resolution and style; colour and angle do not count
    const QPaintDevice* device = nullptr;
    QFont font;
    QFontMetrics metrics;
    std::unordered_map<std::string, int> widths;
    int greyText = -1;  // unknown; else whether text comes out in greys only

    int Width(const std::string& text);
    // Whether this font's text is drawn in greys (not with the colour
    // fringes of subpixel smoothing, which depend on what lies beneath).
    bool GreyText();
  };

  // The entry for `font` measured on `device` (null: no device); a new one
  // takes its Qt font from `toQFont`.
  Entry& For(const platform::Font& font, const QPaintDevice* device,
             QFont (*toQFont)(const platform::Font&));
  void Clear() {
    entries_.clear();
    last_ = nullptr;
  }

 private:
  static constexpr std::size_t kMaxFonts = 16;
  static constexpr std::size_t kMaxWidths = 16384;
  std::vector<std::unique_ptr<Entry>> entries_;
  Entry* last_ = nullptr;
};

// Text rendered once into an image with an alpha channel and then copied for
// every later paint: a copy is an order of magnitude cheaper than laying out
// and drawing the glyphs again. Only where the copy gives exactly the pixels
// the drawing would (an image target, text at 0, 90 or 270 degrees drawn at
// whole pixels, greyscale smoothing) does the canvas use it; images are
// made for text seen a second time, and the least recently used are dropped
// beyond a memory budget.
class QtLabelImages {
 public:
  struct Key {
    std::string text;
    std::string family;
    int height = 0;
    int pixelsPerInch = 0;
    unsigned style = 0;
    Color color = 0;
    int escapement = 0;
    int scale = 1;  // device pixels per logical pixel
    friend bool operator==(const Key&, const Key&) = default;
  };
  struct Image {
    QImage image;   // empty until the text is seen again
    QPoint offset;  // of the image's top-left from the reference point, logical
  };

  // The image for `key`, made now when the text has been asked for before;
  // null the first time (the caller draws the text itself). `render` paints
  // the text with its reference point at (0, 0) on a painter whose origin
  // is the image's top-left moved by the returned offset.
  template <typename Measure, typename Render>
  const Image* Find(const Key& key, Measure&& inkBox, Render&& render);

  void SetBudget(std::size_t bytes) { budget_ = bytes; }
  std::size_t Bytes() const { return bytes_; }
  void Clear();

 private:
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  using List = std::list<std::pair<Key, Image>>;
  // Drops the least recently used entries beyond the budget, never the
  // most recent one.
  void Evict();

  std::size_t budget_ = 4u << 20;
  std::size_t bytes_ = 0;
  List items_;  // most recently used first
  std::unordered_map<Key, List::iterator, KeyHash> index_;
};

template <typename Measure, typename Render>
const QtLabelImages::Image* QtLabelImages::Find(const Key& key, Measure&& inkBox, Render&& render) {
  auto found = index_.find(key);
  if (found == index_.end()) {
    // First sight: only remembered. Text drawn once (a title, a label seen
    // in one paint only) never pays for an image.
    items_.emplace_front(key, Image{});
    index_.emplace(key, items_.begin());
    bytes_ += key.text.size() + sizeof(Key);
    Evict();
    return nullptr;
  }
  items_.splice(items_.begin(), items_, found->second);
  Image& entry = found->second->second;
  if (entry.image.isNull()) {
    const QRect box = inkBox();
    if (box.isEmpty()) return nullptr;
    QImage image(box.width() * key.scale, box.height() * key.scale, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return nullptr;
    image.setDevicePixelRatio(key.scale);
    image.fill(Qt::transparent);
    render(image, box.topLeft());
    entry.image = std::move(image);
    entry.offset = box.topLeft();
    bytes_ += static_cast<std::size_t>(entry.image.sizeInBytes());
    Evict();
  }
  return &entry;
}

}  // namespace platform
