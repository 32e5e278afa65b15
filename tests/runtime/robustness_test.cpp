#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "runtime/conversions.h"
#include "runtime/convert_error.h"
#include "runtime/date_time.h"
#include "runtime/text_format.h"

namespace runtime {
namespace {

// Random texts built from the characters the parsers care about: every one
// must give a result of sensible size or a ConvertError, never anything else.
// Run under the sanitizer build this also checks for undefined behaviour.
class RandomTexts {
 public:
  explicit RandomTexts(std::uint32_t seed) : engine_(seed) {}

  std::string Next(std::string_view alphabet, std::size_t maxLength) {
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text(length(engine_), ' ');
    for (char& c : text) c = alphabet[pick(engine_)];
    return text;
  }

  double Value() {
    static const double kValues[] = {0.0,     -0.0,    0.5,     -0.5,     21.5,         -40.0,     1e300,
                                     -1e300,  1e-300,  36885.6, -693593,  2958465.99,   2958466.0, NAN,
                                     INFINITY, -INFINITY, 123456789.125, std::numeric_limits<double>::denorm_min()};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kValues) - 1);
    return kValues[pick(engine_)];
  }

 private:
  std::mt19937 engine_;
};

constexpr int kRounds = 20000;

template <typename Call>
void ExpectResultOrConvertError(Call&& call, const std::string& input) {
  try {
    std::string result = call();
    EXPECT_LT(result.size(), 200000u) << input;
  } catch (const ConvertError&) {
  }
}

TEST(Robustness, NumberAndPrintfPatterns) {
  RandomTexts random(1);
  const FormatSettings settings;
  for (int i = 0; i < kRounds; ++i) {
    std::string pattern = random.Next("0#,.;E+-e'\"% x9", 24);
    double value = random.Value();
    ExpectResultOrConvertError([&] { return FormatFloat(pattern, value, settings); }, pattern);
    std::string printf = random.Next("%-.0123456789dfnegsux %", 12);
    ExpectResultOrConvertError([&] { return Format(printf, {value}, settings); }, printf);
    ExpectResultOrConvertError(
        [&] { return Format(printf, {std::numeric_limits<std::int64_t>::min(), std::string("s")}, settings); },
        printf);
  }
}

TEST(Robustness, DateTimePatterns) {
  RandomTexts random(2);
  FormatSettings settings;
  settings.ShortDateFormat = "ddddd c";  // names itself; must still end
  for (int i = 0; i < kRounds; ++i) {
    std::string pattern = random.Next("dDmMyYhHnNsSzZtTcCaAmpP/:'\" x", 24);
    double value = random.Value();
    ExpectResultOrConvertError([&] { return FormatDateTime(pattern, value, settings); }, pattern);
  }
}

TEST(Robustness, Conversions) {
  RandomTexts random(3);
  const FormatSettings settings;
  for (int i = 0; i < kRounds; ++i) {
    std::string text = random.Next("0123456789+-$xXaAfF.,eE \t", 30);
    ExpectResultOrConvertError([&] { return IntToStr(StrToInt(text)); }, text);
    ExpectResultOrConvertError([&] { return FloatToStr(StrToFloat(text, settings), settings); }, text);
  }
}

}  // namespace
}  // namespace runtime
