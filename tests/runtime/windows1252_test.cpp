#include <gtest/gtest.h>

#include <string>

#include "runtime/windows1252.h"

namespace runtime {
namespace {

// A description read from the recorder must go back to it unchanged, even
// with bytes the character set leaves undefined (they show as C1 controls).
TEST(Windows1252, EveryByteSurvivesTheTripThroughUtf8) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::optional<std::string> back = Utf8ToWindows1252(Windows1252ToUtf8(byte));
    ASSERT_TRUE(back.has_value()) << "byte " << b;
    EXPECT_EQ(*back, byte) << "byte " << b;
  }
  // Characters the set cannot hold are still refused, and named.
  std::string bad;
  EXPECT_FALSE(Utf8ToWindows1252("a\u0100b", &bad).has_value());
  EXPECT_EQ(bad, "\u0100");
  EXPECT_FALSE(Utf8ToWindows1252("\u0080").has_value());  // the euro sign's slot, as a C1 control
}

}  // namespace
}  // namespace runtime
