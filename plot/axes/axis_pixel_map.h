#pragma once

#include <cmath>

namespace plot {

/// Nearest integer, halves to even, for values well inside the int range:
/// the rounding of every pixel position, without the branches that a
/// random fraction would mispredict once per point.
inline int RoundPixel(double v) {
  long long i = static_cast<long long>(v);
  i -= static_cast<long long>(static_cast<double>(i) > v);  // floor
  const double d = v - static_cast<double>(i);
  i += static_cast<long long>(d > 0.5) | (static_cast<long long>(d == 0.5) & (i & 1));
  return static_cast<int>(i);
}

/// The linear value-to-pixel mapping of an axis as it stands in one paint:
/// loops that map many values hold one of these instead of asking the axis
/// value by value. The arithmetic is the axis's own, so the pixels are too.
struct TLinearPixelMap {
  double low = 0, span = 0;
  int start = 0, end = 0, length = 0, center = 0;
  bool fromStart = true;  // values grow from StartPixel (else from EndPixel)

  int operator()(double value) const {
    if (span == 0) return center;
    const double t = (value - low) * length / span;
    if (!(std::fabs(t) < 2147483647.0)) return center;
    const int r = RoundPixel(t);
    return fromStart ? start + r : end - r;
  }
  /// Whether a value lies so far out that it is put at the centre: there
  /// the mapping stops keeping the order of values.
  bool Saturates(double value) const { return span != 0 && !(std::fabs((value - low) * length / span) < 2147483647.0); }
};

}  // namespace plot
