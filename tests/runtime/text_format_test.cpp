#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/conversions.h"
#include "runtime/convert_error.h"
#include "runtime/text_format.h"

namespace runtime {
namespace {

FormatSettings DecimalComma() {
  FormatSettings settings;
  settings.DecimalSeparator = ',';
  settings.ThousandSeparator = '.';
  return settings;
}

// ---------------------------------------------------------------------------
// printf-style patterns

TEST(Format, ReportFields) {
  const FormatSettings point;
  // Thresholds, temperatures and histogram bands as the reports show them.
  EXPECT_EQ(Format("%5.1f", {-40.0}, point), "-40.0");
  EXPECT_EQ(Format("%5.1f", {21.5}, point), " 21.5");
  EXPECT_EQ(Format("%5.1f", {84.0}, point), " 84.0");
  EXPECT_EQ(Format("%6.1f", {-12.5}, point), " -12.5");
  EXPECT_EQ(Format("%6.1f", {-40.0}, point), " -40.0");
  EXPECT_EQ(Format("%6.1f", {5.0}, point), "   5.0");
  EXPECT_EQ(Format("%4.1d", {-40}, point), " -40");
  EXPECT_EQ(Format("%4.1d", {86}, point), "  86");
  EXPECT_EQ(Format("%4.1d", {0}, point), "   0");
  EXPECT_EQ(Format("%5.1f", {21.5}, DecimalComma()), " 21,5");
  EXPECT_EQ(Format("\"%4.1d to %s\"\t%d", {-38, std::string("-36.5"), 3106}, point), "\" -38 to -36.5\"\t3106");
}

TEST(Format, EveryType) {
  const FormatSettings point;
  const std::int64_t min64 = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(Format("%d", {min64}, point), "-9223372036854775808");
  EXPECT_EQ(Format("%.3d|%.3d", {5, -5}, point), "005|-005");
  EXPECT_EQ(Format("%-5d|", {7}, point), "7    |");
  EXPECT_EQ(Format("%u", {-1}, point), "4294967295");
  EXPECT_EQ(Format("%u", {min64}, point), "9223372036854775808");
  EXPECT_EQ(Format("%x|%.4x|%x", {255, 10, -1}, point), "FF|000A|FFFFFFFF");
  EXPECT_EQ(Format("%f", {3.14159}, point), "3.14");
  EXPECT_EQ(Format("%.0f", {2.5}, point), "3");
  EXPECT_EQ(Format("%n", {1234567.891}, point), "1,234,567.89");
  EXPECT_EQ(Format("%.1n", {-1234567.25}, DecimalComma()), "-1.234.567,3");
  EXPECT_EQ(Format("%e", {1234.5}, point), "1.23450000000000E+003");
  EXPECT_EQ(Format("%.3e", {-0.00012345}, point), "-1.23E-004");
  EXPECT_EQ(Format("%.2e", {0.0}, point), "0.0E+000");
  EXPECT_EQ(Format("%g|%g|%g|%.3g", {21.5, 1e20, 0.0001, 2.0 / 3}, point), "21.5|1E20|0.0001|0.667");
  EXPECT_EQ(Format("%s|%.2s|%5s|%-5s|", {std::string("abc"), std::string("abc"), std::string("abc"),
                                          std::string("abc")},
                   point),
            "abc|ab|  abc|abc  |");
  EXPECT_EQ(Format("100%% %D %F", {1, 2.0}, point), "100% 1 2.00");
  EXPECT_EQ(Format("%5.1f|%f", {std::nan(""), -INFINITY}, point), "  NAN|-INF");
  EXPECT_EQ(Format("%1024d", {1}, point).size(), 1024u);
  EXPECT_EQ(Format("no codes", {}, point), "no codes");
  EXPECT_EQ(Format("%d", {1, 2, 3}, point), "1");
}

TEST(Format, RefusesPatternsThatDoNotMatchTheArguments) {
  const FormatSettings point;
  const struct {
    const char* pattern;
    std::initializer_list<FormatArg> args;
  } refused[] = {
      {"%d", {1.5}},  {"%f", {1}},    {"%s", {1}},        {"%x", {std::string("1")}}, {"%d %d", {1}},
      {"%d", {}},     {"%q", {1}},    {"%5", {1}},        {"%", {1}},                 {"%-", {1}},
      {"%5.", {1.0}}, {"%1025d", {1}}, {"%99999999999999999999d", {1}},             {"%.1025f", {1.0}},
  };
  for (const auto& c : refused) {
    try {
      Format(c.pattern, c.args, point);
      ADD_FAILURE() << c.pattern << " was accepted";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "Format '" + std::string(c.pattern) + "' invalid or incompatible with argument");
    }
  }
}

TEST(Format, SetupThresholdsReadBackWithEitherSeparator) {
  for (const FormatSettings& settings : {FormatSettings{}, DecimalComma()})
    for (double degrees = -40.0; degrees <= 84.0; degrees += 0.5)
      EXPECT_EQ(StrToFloat(Format("%5.1f", {degrees}, settings), settings), degrees);
}

TEST(Format, DefaultsToTheProcessSettings) {
  const FormatSettings saved = CurrentFormatSettings();
  SetFormatSettings(DecimalComma());
  const std::string text = Format("%5.1f", {21.5});
  const std::string number = FormatFloat("#,##0.###", 1234.5);
  const std::string fixed = FormatFixed(1.5, 1);
  const double read = StrToFloat("21,5");
  SetFormatSettings(saved);
  EXPECT_EQ(text, " 21,5");
  EXPECT_EQ(number, "1.234,5");
  EXPECT_EQ(fixed, "1,5");
  EXPECT_EQ(read, 21.5);
}

// ---------------------------------------------------------------------------
// Number patterns

struct FloatCase {
  const char* pattern;
  double value;
  const char* text;
};

void ExpectFloat(const FloatCase* begin, const FloatCase* end, const FormatSettings& settings) {
  for (const FloatCase* c = begin; c != end; ++c)
    EXPECT_EQ(FormatFloat(c->pattern, c->value, settings), c->text) << c->pattern << " of " << c->value;
}

TEST(FormatFloat, ValueAndAxisFormat) {
  const FloatCase cases[] = {
      {"#,##0.###", 1234567.891, "1,234,567.891"},
      {"#,##0.###", 0, "0"},
      {"#,##0.###", 0.5, "0.5"},
      {"#,##0.###", -1234.5, "-1,234.5"},
      {"#,##0.###", 12.34567, "12.346"},
      {"#,##0.###", 999.9996, "1,000"},
      {"#,##0.###", -0.0004, "0"},
      {"#,##0.###", 100, "100"},
      {"#,##0.###", 1000, "1,000"},
      {"#,##0.###", 2.0005, "2.001"},
      {"#,##0.###", -40, "-40"},
  };
  ExpectFloat(std::begin(cases), std::end(cases), FormatSettings{});
  EXPECT_EQ(FormatFloat("#,##0.###", 1234567.891, DecimalComma()), "1.234.567,891");
  // 1e300 has 301 digits and 100 separators.
  std::string huge = FormatFloat("#,##0", 1e300, FormatSettings{});
  EXPECT_EQ(huge.size(), 401u);
  EXPECT_EQ(huge.substr(0, 8), "1,000,00");
}

TEST(FormatFloat, PercentFormatKeepsTheValue) {
  const FloatCase cases[] = {
      {"##0.## %", 100, "100 %"},
      {"##0.## %", 33.3333, "33.33 %"},
      {"##0.## %", 12.5, "12.5 %"},
      {"##0.## %", 0, "0 %"},
      {"##0.## %", 1234, "1234 %"},
  };
  ExpectFloat(std::begin(cases), std::end(cases), FormatSettings{});
}

TEST(FormatFloat, RequiredDigitsLiteralsAndQuotes) {
  const FloatCase cases[] = {
      {"0.00", 3.14159, "3.14"},
      {"0.00", 2.675, "2.68"},
      {"0.00", -0.001, "0.00"},
      {"000", 7, "007"},
      {"000.0#", 7.125, "007.13"},
      {"#.##", 0.5, ".5"},
      {"#", 0, ""},
      {".00", 12.5, "12.50"},
      {"0.", 1.5, "2"},
      {"00-00", 1234, "12-34"},
      {"00-00", 123456, "1234-56"},
      {"0 'kg'", 5, "5 kg"},
      {"\"#\"0", 5, "#5"},
      {"0 'abc", 5, "5 abc"},
      {"abc", 5, "abc"},
      {"'a;b'0;(0)", -3, "(3)"},
      {"#,##0.0,0", 1234.5, "1,234.50"},
  };
  ExpectFloat(std::begin(cases), std::end(cases), FormatSettings{});
}

TEST(FormatFloat, Scientific) {
  const FloatCase cases[] = {
      {"0.0E+00", 12345, "1.2E+04"},
      {"0.0E+00", 0.00012345, "1.2E-04"},
      {"0.0E+00", 0, "0.0E+00"},
      {"0.0E-0", 12345, "1.2E4"},
      {"0.0e-0", 0.00012345, "1.2e-4"},
      {"0.00E+0", -9.996, "-1.00E+1"},
      {"00.0E+0", 12345, "12.3E+3"},
      {"#.##E+0", 1500, "1.5E+3"},
      {"0E+0", 5e300, "5E+300"},
  };
  ExpectFloat(std::begin(cases), std::end(cases), FormatSettings{});
}

TEST(FormatFloat, Sections) {
  const FloatCase cases[] = {
      {"0.0;(0.0);zero", 5, "5.0"},
      {"0.0;(0.0);zero", -5, "(5.0)"},
      {"0.0;(0.0);zero", 0, "zero"},
      {"0.0;(0.0);zero", -0.01, "zero"},
      {"0.0;(0.0);zero", 0.04, "zero"},
      {"0;;nil", -3, "-3"},
      {"0;;nil", 0, "nil"},
      {"0;(0)", 0, "0"},
      {"0;(0);", 0, "0"},
      {";(0)", 2.5, "2.5"},
  };
  ExpectFloat(std::begin(cases), std::end(cases), FormatSettings{});
}

TEST(FormatFloat, EmptyPatternAndValuesThatAreNotNumbers) {
  const FormatSettings point;
  EXPECT_EQ(FormatFloat("", 21.5, point), "21.5");
  EXPECT_EQ(FormatFloat("", 1e20, point), "1E20");
  EXPECT_EQ(FormatFloat("", 1.5e-7, point), "1.5E-7");
  EXPECT_EQ(FormatFloat("", 0.1 + 0.2, point), "0.3");
  EXPECT_EQ(FormatFloat("", -1.0 / 3, DecimalComma()), "-0,333333333333333");
  EXPECT_EQ(FormatFloat("#,##0.###", std::nan(""), point), "NAN");
  EXPECT_EQ(FormatFloat("#,##0.###", INFINITY, point), "INF");
  EXPECT_EQ(FormatFloat("0.0;(0.0)", -INFINITY, point), "-INF");
  EXPECT_EQ(FormatFloat(std::string(2000, '0'), 7, point).size(), 2000u);
  EXPECT_EQ(FormatFloat("0." + std::string(2000, '#'), 0.25, point), "0.25");
  EXPECT_EQ(FormatFloat(";;;;", 1, point), "1");
}

}  // namespace
}  // namespace runtime
