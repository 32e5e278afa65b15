#include "plot/surface/view3d_options.h"

#include <utility>

namespace plot {

TView3DOptions::TView3DOptions(std::function<void()> repaint) : repaint_(std::move(repaint)) {}

void TView3DOptions::Repaint() {
  if (repaint_) repaint_();
}

namespace {

template <typename T>
bool Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

void TView3DOptions::SetElevation(int value) {
  if (Store(elevation_, value)) Repaint();
}

void TView3DOptions::SetRotation(int value) {
  if (Store(rotation_, value)) Repaint();
}

void TView3DOptions::SetTilt(int value) {
  if (Store(tilt_, value)) Repaint();
}

void TView3DOptions::SetPerspective(int value) {
  if (Store(perspective_, value)) Repaint();
}

void TView3DOptions::SetOrthogonal(bool value) {
  if (Store(orthogonal_, value)) Repaint();
}

void TView3DOptions::SetZoom(int value) {
  if (zoom_ == value) return;
  // Listeners see the new value while the old one is still in force.
  if (OnZoomed) OnZoomed(value);
  zoom_ = value;
  Repaint();
}

void TView3DOptions::SetZoomText(bool value) {
  if (Store(zoomText_, value)) Repaint();
}

void TView3DOptions::SetHorizOffset(int value) {
  if (!Store(horizOffset_, value)) return;
  if (OnScrolled) OnScrolled(true);
  Repaint();
}

void TView3DOptions::SetVertOffset(int value) {
  if (!Store(vertOffset_, value)) return;
  if (OnScrolled) OnScrolled(false);
  Repaint();
}

void TView3DOptions::Assign(const TView3DOptions& source) {
  elevation_ = source.elevation_;
  rotation_ = source.rotation_;
  tilt_ = source.tilt_;
  perspective_ = source.perspective_;
  orthogonal_ = source.orthogonal_;
  zoom_ = source.zoom_;
  zoomText_ = source.zoomText_;
  horizOffset_ = source.horizOffset_;
  vertOffset_ = source.vertOffset_;
}

}  // namespace plot
