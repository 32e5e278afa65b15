#include <cmath>
#include <numbers>

#include "plot/surface/plot_canvas_3d.h"
#include "plot/surface/view3d_options.h"
#include "runtime/rounding.h"

namespace plot {

namespace {

int Round(double value) { return static_cast<int>(runtime::RoundHalfEven(value)); }

}  // namespace

void TPlotCanvas3D::CalcTrigValues(const TView3DOptions* options) {
  if (isOrthogonal_) return;
  perspectiveFactor_ = 0;
  constexpr double kRad = std::numbers::pi / 180.0;
  const double a = options != nullptr ? options->Rotation() * kRad : 0.0;
  const double b = options != nullptr ? options->Elevation() * kRad : 0.0;
  const double c = options != nullptr ? options->Tilt() * kRad : 0.0;
  const double sa = std::sin(a), ca = std::cos(a);
  const double sb = std::sin(b), cb = std::cos(b);
  const double sc = std::sin(c), cc = std::cos(c);
  // Kxx and Kyy divide in the inverse projection: keep them off zero (and
  // off negative values).
  kxx_ = std::max(sa * sb * sc + ca * cc, 0.00001);
  kxy_ = cb * sc;
  kxz_ = ca * sb * sc - cc * sa;
  kyx_ = cc * sa * sb - ca * sc;
  kyy_ = std::max(cb * cc, 0.00001);
  kyz_ = ca * cc * sb + sa * sc;
  px_ = cb * sa;
  py_ = sb;
  pz_ = ca * cb;
}

void TPlotCanvas3D::SetViewCenter(int depth, const Rect& /*bounds*/, const Rect& chartRect) {
  centerX_ = (chartRect.left + chartRect.right) / 2;
  centerY_ = (chartRect.top + chartRect.bottom) / 2;
  centerZ_ = depth / 2;
  originX_ = centerX_;
  originY_ = centerY_;
  if (options_ != nullptr) {
    originX_ += options_->HorizOffset();
    originY_ += options_->VertOffset();
    if (options_->Perspective() > 0) perspectiveFactor_ = options_->Perspective() / 35000.0;
  }
}

void TPlotCanvas3D::ProjectInPlace(int& x, int& y, int z) const {
  if (isOrthogonal_) {
    // Depth moves a point right and up by the same amount.
    x = Round((x - centerX_ + z) * zoomFactor_) + originX_;
    y = Round((y - centerY_ - z) * zoomFactor_) + originY_;
    return;
  }
  if (!is3D_) return;
  const double dx = x - centerX_;
  const double dy = y - centerY_;
  const double dz = z - centerZ_;
  double scale = zoomFactor_;
  if (perspectiveFactor_ > 0) scale = zoomFactor_ * (1 - perspectiveFactor_ * (dx * px_ - dy * py_ + dz * pz_));
  x = Round((dx * kxx_ + dy * kxy_ + dz * kxz_) * scale) + originX_;
  y = Round((dx * kyx_ + dy * kyy_ + dz * kyz_) * scale) + originY_;
}

Point TPlotCanvas3D::ProjectPoint(int x, int y, int z) const {
  ProjectInPlace(x, y, z);
  return {x, y};
}

void TPlotCanvas3D::UnprojectPoint(int& x, int& y, int z) const {
  if (zoomFactor_ == 0) return;
  const double inv = 1.0 / zoomFactor_;
  if (isOrthogonal_) {
    x = Round((x - originX_) * inv) - z + centerX_;
    y = Round((y - originY_) * inv) + z + centerY_;
    return;
  }
  if (!is3D_ || kxx_ == 0 || kyy_ == 0) return;
  // Solves the rotation's two screen equations together. Substituting the
  // screen x for the unknown chart x (or y) would be off by a pixel or two
  // wherever the views' cross terms are not zero; where they are, this is
  // the same result. Perspective is not undone.
  const double det = kxx_ * kyy_ - kxy_ * kyx_;
  if (det == 0) return;
  const double dz = z - centerZ_;
  const double a = (x - originX_) * inv - dz * kxz_;
  const double b = (y - originY_) * inv - dz * kyz_;
  x = Round((a * kyy_ - b * kxy_) / det) + centerX_;
  y = Round((b * kxx_ - a * kyx_) / det) + centerY_;
}

}  // namespace plot
