#include "runtime/rounding.h"

#include <cmath>
#include <cstdint>

namespace runtime {

std::int64_t RoundHalfEven(double value) {
  // Beyond 64 bits there is no nearest integer to give: saturate (NaN gives
  // 0) rather than leave the conversion undefined.
  constexpr double kTwo63 = 9223372036854775808.0;
  if (value != value) return 0;
  if (value >= kTwo63) return INT64_MAX;
  if (value < -kTwo63) return INT64_MIN;
  // nearbyint follows the current rounding mode, which is round-to-nearest-even
  // unless someone changed it; std::rint would do the same. Spell it out so a
  // changed floating-point environment cannot alter report texts.
  double floor = std::floor(value);
  double diff = value - floor;
  if (diff > 0.5) return static_cast<std::int64_t>(floor) + 1;
  if (diff < 0.5) return static_cast<std::int64_t>(floor);
  auto f = static_cast<std::int64_t>(floor);
  return (f % 2 == 0) ? f : f + 1;
}

}  // namespace runtime
