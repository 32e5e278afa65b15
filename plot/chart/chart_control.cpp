#include "plot/chart/chart_control.h"

namespace plot {

TCustomPanel::TCustomPanel() = default;

void TCustomPanel::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
  if (bevelOuter_ == value) return;
  bevelOuter_ = value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
  if (bevelInner_ == value) return;
  bevelInner_ = value;
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int value) {
  if (bevelWidth_ == value) return;
  bevelWidth_ = value;
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int value) {
  if (borderWidth_ == value) return;
  borderWidth_ = value;
  Invalidate();
}

void TCustomPanel::SetColor(plot::Color value) {
  if (color_ == value) return;
  color_ = value;
  Invalidate();
}

void TCustomPanel::SetCursor(TCursor value) {
  if (cursor_ == value) return;
  cursor_ = value;
  if (host_ != nullptr) host_->CursorChanged(value);
}

void TCustomPanel::Invalidate() {
  if (host_ != nullptr) host_->InvalidateControl();
}

void TCustomPanel::Repaint() {
  if (host_ != nullptr) {
    host_->RepaintControl();
  } else if (controlCanvas_ != nullptr) {
    Paint();
  }
}

void TCustomPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TCustomPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void TCustomPanel::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

}  // namespace plot
