#pragma once

#include <cstdint>

namespace runtime {

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2). Pixel positions, sizes and temperature codes all
// round this way.
// Values beyond the 64-bit range saturate; NaN gives 0.
std::int64_t RoundHalfEven(double value);

}  // namespace runtime
