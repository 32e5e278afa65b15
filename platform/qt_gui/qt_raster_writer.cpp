#include "platform/qt_gui/qt_raster_writer.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

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
  for (int y = top; y < bottom; ++y) std::fill_n(Row(y) + left + dx_, width, argb);
}

}  // namespace platform
