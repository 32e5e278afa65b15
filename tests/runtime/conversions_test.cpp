#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "runtime/conversions.h"
#include "runtime/convert_error.h"

namespace runtime {
namespace {

FormatSettings DecimalComma() {
  FormatSettings settings;
  settings.DecimalSeparator = ',';
  settings.ThousandSeparator = '.';
  return settings;
}

// The message a refused text should give. Built by appending: GCC 12 warns
// wrongly (-Wrestrict) about "'" + std::string(...) at -O2.
std::string Expected(std::string_view text, std::string_view tail) {
  std::string message("'");
  message.append(text).append("' ").append(tail);
  return message;
}

std::string IntegerMessage(const std::string& text) {
  try {
    StrToInt(text);
  } catch (const ConvertError& e) {
    return e.what();
  }
  return "(accepted)";
}

std::string FloatMessage(const std::string& text, const FormatSettings& settings = FormatSettings{}) {
  try {
    StrToFloat(text, settings);
  } catch (const ConvertError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(StrToInt, AcceptsDecimalHexadecimalSignsAndLeadingBlanks) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"0", 0},
      {"42", 42},
      {"-40", -40},
      {"+7", 7},
      {"  12", 12},
      {"\t5", 5},
      {"007", 7},
      {"2147483647", std::numeric_limits<std::int32_t>::max()},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"$1A", 26},
      {"$1a", 26},
      {"0x1a", 26},
      {"0XFF", 255},
      {"-$10", -16},
      {"$7FFFFFFF", std::numeric_limits<std::int32_t>::max()},
      {"-0x80000000", std::numeric_limits<std::int32_t>::min()},
      // Unsigned hexadecimal is the 32-bit pattern.
      {"$FFFFFFFF", -1},
      {"$80000000", std::numeric_limits<std::int32_t>::min()},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToInt, RefusesWithTheExactMessage) {
  const char* refused[] = {
      "",           " ",         "1A",         "12 ",       "12\r",        "2147483648", "-2147483649",
      "$100000000", "+$80000000", "-$80000001", "1.5",      "--1",         "+-1",        "$",
      "0x",         "-",          "abc",        "1e3",       "99999999999999999999999999", "$$1",
      "0x0x1",      "1 2",
  };
  for (const char* text : refused)
    EXPECT_EQ(IntegerMessage(text), Expected(text, "is not a valid integer value")) << text;
  // The message quotes the text as given, blanks and all.
  EXPECT_EQ(IntegerMessage(" 1A "), "' 1A ' is not a valid integer value");
}

TEST(IntToHex, PadsAndShowsNegativesAsTheirRegister) {
  EXPECT_EQ(IntToHex(26, 2), "1A");
  EXPECT_EQ(IntToHex(5, 4), "0005");
  EXPECT_EQ(IntToHex(0x12345, 2), "12345");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(std::numeric_limits<std::int64_t>::min(), 1), "8000000000000000");
  EXPECT_EQ(IntToHex(0x1FFFFFFFFLL, 1), "1FFFFFFFF");
  EXPECT_EQ(IntToHex(1, -5), "1");
  EXPECT_EQ(IntToHex(1, std::numeric_limits<int>::max()).size(), 1024u);
  // What IntToHex writes, StrToInt reads back.
  for (std::int32_t v : {std::numeric_limits<std::int32_t>::min(), -40, -1, 0, 26, std::numeric_limits<std::int32_t>::max()})
    EXPECT_EQ(StrToInt(std::string("$").append(IntToHex(v, 8))), v) << v;
}

TEST(IntToStr, WholeRange) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-40), "-40");
  EXPECT_EQ(IntToStr(3106), "3106");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
}

TEST(StrToFloat, AcceptsTheSettingsSeparatorSignsExponentsAndBlanks) {
  const FormatSettings point;
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"21.5", 21.5}, {" -40.0 ", -40.0}, {"\t84\t", 84.0}, {"1e3", 1000.0}, {"1.5E-2", 0.015},
      {"+.5", 0.5},   {"5.", 5.0},        {"-0", -0.0},     {"007.25", 7.25}, {"2E+2", 200.0},
      {"1e-400", 0.0}, {"0.0000001e-400", 0.0},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToFloat(c.text, point), c.value) << c.text;
  EXPECT_TRUE(std::signbit(StrToFloat("-0", point)));

  const FormatSettings comma = DecimalComma();
  EXPECT_EQ(StrToFloat("21,5", comma), 21.5);
  EXPECT_EQ(StrToFloat(" -12,5", comma), -12.5);
  EXPECT_EQ(StrToFloat("1,5e1", comma), 15.0);
}

TEST(StrToFloat, RefusesWithTheExactMessage) {
  const FormatSettings point;
  const char* refused[] = {"",     " ",    "21,5",  "1,000.5", "1e",    "e5",      ".",     "-",   "+",
                           "inf",  "nan",  "INF",   "1e400",   "-1e400", "1e99999999999999999999", "0x10",
                           "1..2", "1 2",  "12abc", "1.5.",    "--1",   "1e+",     "1e5.5", "$10"};
  for (const char* text : refused)
    EXPECT_EQ(FloatMessage(text, point), Expected(text, "is not a valid floating point value")) << text;
  // With a decimal comma, the point is refused.
  EXPECT_EQ(FloatMessage("21.5", DecimalComma()), "'21.5' is not a valid floating point value");
  EXPECT_EQ(FloatMessage("1.234,5", DecimalComma()), "'1.234,5' is not a valid floating point value");
}

TEST(FormatFixed, RoundsHalvesAwayFromZeroOnTheDecimalValue) {
  const FormatSettings point;
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {1.5, 1, "1.5"},     {-38.5, 1, "-38.5"},  {84, 1, "84.0"},  {0, 1, "0.0"},
      {2.5, 0, "3"},       {-2.5, 0, "-3"},      {0.125, 2, "0.13"},
      // 2.675 and 1.005 sit just below the half in binary; the decimal value is what counts.
      {2.675, 2, "2.68"},  {1.005, 2, "1.01"},   {-0.04, 1, "0.0"},  {-0.0, 1, "0.0"},
      {0.05, 1, "0.1"},    {9.96, 1, "10.0"},    {1234567.25, 1, "1234567.3"},
      {1e21, 0, "1000000000000000000000"},       {5, -3, "5"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.value, c.decimals, point), c.text) << c.value;
  EXPECT_EQ(FormatFixed(-38.5, 1, DecimalComma()), "-38,5");
  EXPECT_EQ(FormatFixed(std::nan(""), 1, point), "NAN");
  EXPECT_EQ(FormatFixed(-INFINITY, 1, point), "-INF");
  EXPECT_EQ(FormatFixed(1.5, std::numeric_limits<int>::max(), point).size(), 2u + 1024u);
}

TEST(FormatFixed, DecimalCommaReadsBackWhatItWrites) {
  const FormatSettings comma = DecimalComma();
  for (double v : {-40.0, -12.5, -0.5, 0.0, 0.5, 21.5, 84.0, 1234.5}) {
    std::string text = FormatFixed(v, 1, comma);
    EXPECT_EQ(text.find('.'), std::string::npos) << text;
    EXPECT_EQ(StrToFloat(text, comma), v) << text;
  }
}

}  // namespace
}  // namespace runtime
