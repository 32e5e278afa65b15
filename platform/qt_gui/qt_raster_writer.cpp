#include "platform/qt_gui/qt_raster_writer.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

namespace {

// n pixels of one colour from p on, four at a time where SSE2 is there.
void FillRow(quint32* p, int n, quint32 argb) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i four = _mm_set1_epi32(static_cast<int>(argb));
  for (; i + 16 <= n; i += 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), four);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 4), four);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 8), four);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 12), four);
  }
  for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), four);
#endif
  for (; i < n; ++i) p[i] = argb;
}

}  // namespace

void QtRasterWriter::Bind(QPainter* painter) {
  Unbind();
  if (painter == nullptr || !painter->isActive() || painter->device() == nullptr ||
      painter->device()->devType() != QInternal::Image) {
    return;
  }
  auto* image = static_cast<QImage*>(painter->device());
  // Other formats store other values, or blend text differently.
  if (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied) return;
  // A shared image would be copied by bits(), away from the painter.
  if (!image->isDetached()) return;
  const QTransform t = painter->deviceTransform();
  if (t.type() > QTransform::TxTranslate) return;
  if (t.dx() != std::round(t.dx()) || t.dy() != std::round(t.dy())) return;
  dx_ = static_cast<int>(t.dx());
  dy_ = static_cast<int>(t.dy());
  bits_ = image->bits();
  stride_ = image->bytesPerLine();
  image_ = QRect(-dx_, -dy_, image->width(), image->height());
  hasClip_ = false;
  // A clip the caller set before handing the painter over is not followed.
  clipKnown_ = !painter->hasClipping();
  UpdateBounds();
}

void QtRasterWriter::Unbind() {
  bits_ = nullptr;
  left_ = top_ = right_ = bottom_ = 0;
}

void QtRasterWriter::SetClipRect(const QRect& logical) {
  clip_ = logical;
  hasClip_ = true;
  clipKnown_ = true;
  UpdateBounds();
}

void QtRasterWriter::RemoveClip() {
  hasClip_ = false;
  clipKnown_ = true;
  UpdateBounds();
}

void QtRasterWriter::SetClipUnknown() {
  clipKnown_ = false;
  UpdateBounds();
}

void QtRasterWriter::UpdateBounds() {
  QRect area = image_;
  if (hasClip_) area &= clip_;
  if (bits_ == nullptr || !clipKnown_ || area.isEmpty()) {
    left_ = top_ = right_ = bottom_ = 0;
    return;
  }
  left_ = area.left();
  top_ = area.top();
  right_ = area.right() + 1;
  bottom_ = area.bottom() + 1;
}

void QtRasterWriter::Fill(int left, int top, int right, int bottom, QRgb argb) {
  left = std::max(left, left_);
  right = std::min(right, right_);
  top = std::max(top, top_);
  bottom = std::min(bottom, bottom_);
  if (left >= right || top >= bottom) return;
  const int width = right - left;
  if (width == 1) {
    // A column: one store a row (a general fill costs many times that).
    uchar* at = reinterpret_cast<uchar*>(Row(top) + left + dx_);
    for (int y = top; y < bottom; ++y, at += stride_) *reinterpret_cast<quint32*>(at) = argb;
    return;
  }
  for (int y = top; y < bottom; ++y) FillRow(Row(y) + left + dx_, width, argb);
}

void QtRasterWriter::StraightLine(int x, int y, bool across, int direction, int length, std::span<const int> dashes,
                                  QRgb argb) {
  // Along the line, positions [low, high) are writable.
  const int fixed = across ? y : x;
  if (across ? (fixed < top_ || fixed >= bottom_) : (fixed < left_ || fixed >= right_)) return;
  const int low = across ? left_ : top_, high = across ? right_ : bottom_;
  const int start = across ? x : y;
  const qsizetype step = across ? static_cast<qsizetype>(sizeof(quint32)) : stride_;
  // Pixels a .. b - 1 along the line, a and b given as offsets from its start.
  auto dash = [&](int a, int b) {
    int from = direction > 0 ? start + a : start - b + 1;
    int to = direction > 0 ? start + b : start - a + 1;
    from = std::max(from, low);
    to = std::min(to, high);
    if (from >= to) return;
    uchar* at = reinterpret_cast<uchar*>(across ? Row(y) + from + dx_ : Row(from) + x + dx_);
    for (int i = from; i < to; ++i, at += step) *reinterpret_cast<quint32*>(at) = argb;
  };
  if (dashes.empty()) {
    dash(0, length);
    return;
  }
  std::size_t k = 0;
  for (int offset = 0; offset < length;) {
    const int end = std::min(length, offset + dashes[k]);
    if (k % 2 == 0) dash(offset, end);  // even entries are dashes
    offset = end;
    k = k + 1 == dashes.size() ? 0 : k + 1;
  }
}

void QtRasterWriter::FillColumns(std::span<const ColumnSpan> columns, QRgb argb) {
  // Filled column by column, every store lands on another row, and a tall
  // band's rows are fetched again for each column; a group of neighbouring
  // columns is filled row by row instead. Between two ends of spans the set
  // of columns to fill stays the same: rows are filled a stretch at a time
  // from that set. One colour: the order of the pixels does not matter.
  constexpr int kGroup = 16;
  struct End {
    int y;
    int column;  // index in the group; the span starts at y when `starts`
    bool starts;
  };
  for (std::size_t first = 0; first < columns.size(); first += kGroup) {
    const int n = static_cast<int>(std::min<std::size_t>(kGroup, columns.size() - first));
    int x[kGroup];
    End ends[2 * kGroup];
    int count = 0;
    for (int j = 0; j < n; ++j) {
      const ColumnSpan& c = columns[first + static_cast<std::size_t>(j)];
      const int top = std::max(c.top, top_), bottom = std::min(c.bottom, bottom_);
      if (c.x < left_ || c.x >= right_ || top >= bottom) continue;
      x[j] = c.x + dx_;
      ends[count++] = {top, j, true};
      ends[count++] = {bottom, j, false};
    }
    std::sort(ends, ends + count, [](const End& a, const End& b) { return a.y < b.y; });
    unsigned active = 0;
    for (int e = 0; e < count; ++e) {
      if (ends[e].starts) {
        active |= 1u << ends[e].column;
      } else {
        active &= ~(1u << ends[e].column);
      }
      const int from = ends[e].y, to = e + 1 < count ? ends[e + 1].y : from;
      for (int y = from; y < to && active != 0; ++y) {
        quint32* row = Row(y);
        for (unsigned m = active; m != 0; m &= m - 1) row[x[std::countr_zero(m)]] = argb;
      }
    }
  }
}

}  // namespace platform
