#include "platform/qt_gui/qt_raster_writer.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace platform {

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
  for (int y = top; y < bottom; ++y) std::fill_n(Row(y) + left + dx_, width, argb);
}

void QtRasterWriter::FillColumns(std::span<const ColumnSpan> columns, QRgb argb) {
  // Filled column by column, each store lands on another row and the cache
  // lines of a tall band are fetched again for every column; a group of
  // neighbouring columns is filled row by row instead. One colour: the
  // order of the pixels does not matter.
  constexpr std::size_t kGroup = 16;
  for (std::size_t first = 0; first < columns.size(); first += kGroup) {
    const std::size_t n = std::min(kGroup, columns.size() - first);
    int x[kGroup], top[kGroup], bottom[kGroup];
    int from = bottom_, to = top_;
    std::size_t kept = 0;
    for (std::size_t j = 0; j < n; ++j) {
      const ColumnSpan& c = columns[first + j];
      const int t = std::max(c.top, top_), b = std::min(c.bottom, bottom_);
      if (c.x < left_ || c.x >= right_ || t >= b) continue;
      x[kept] = c.x + dx_;
      top[kept] = t;
      bottom[kept] = b;
      from = std::min(from, t);
      to = std::max(to, b);
      ++kept;
    }
    for (int y = from; y < to; ++y) {
      quint32* row = Row(y);
      for (std::size_t j = 0; j < kept; ++j) {
        if (y >= top[j] && y < bottom[j]) row[x[j]] = argb;
      }
    }
  }
}

}  // namespace platform
