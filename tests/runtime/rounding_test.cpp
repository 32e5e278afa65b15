#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "runtime/rounding.h"

namespace runtime {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbourOthersToTheNearest) {
  const struct {
    double value;
    std::int64_t rounded;
  } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {-0.5, 0}, {0.5, 0}, {1.5, 2},
               {2.4999999, 2}, {2.5000001, 3}, {-1.2, -1}, {-1.7, -2}, {4503599627370497.0, 4503599627370497}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

// Pixel arithmetic on absurd or missing values must not become undefined
// behaviour: there is no nearest 64-bit integer, so the result saturates.
TEST(RoundHalfEven, ValuesBeyondSixtyFourBitsSaturateAndNaNGivesZero) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(RoundHalfEven(1e300), kMax);
  EXPECT_EQ(RoundHalfEven(INFINITY), kMax);
  EXPECT_EQ(RoundHalfEven(9223372036854775808.0), kMax);
  EXPECT_EQ(RoundHalfEven(-1e300), kMin);
  EXPECT_EQ(RoundHalfEven(-INFINITY), kMin);
  EXPECT_EQ(RoundHalfEven(-9223372036854775808.0), kMin);
  EXPECT_EQ(RoundHalfEven(NAN), 0);
}

}  // namespace
}  // namespace runtime
