#include "runtime/conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "runtime/convert_error.h"
#include "runtime/decimal_digits.h"

namespace runtime {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

[[noreturn]] void ThrowNotInteger(std::string_view text) {
  throw ConvertError("'" + std::string(text) + "' is not a valid integer value");
}

[[noreturn]] void ThrowNotFloat(std::string_view text) {
  throw ConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

}  // namespace

std::string IntToStr(std::int64_t value) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string IntToHex(std::int64_t value, int digits) {
  // A negative 32-bit value reads as the register holding it; wider values
  // keep all 64 bits.
  std::uint64_t bits = static_cast<std::uint64_t>(value);
  if (value < 0 && value >= std::numeric_limits<std::int32_t>::min()) bits &= 0xFFFFFFFFu;
  char buffer[20];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, bits, 16);
  std::string text(buffer, result.ptr);
  for (char& c : text)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  std::size_t width = static_cast<std::size_t>(std::clamp(digits, 0, detail::kMaxFieldWidth));
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::int32_t StrToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  bool sign = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    sign = true;
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) ThrowNotInteger(text);

  // Accumulate in 64 bits and stop as soon as no 32-bit value can come out.
  const std::uint64_t limit = hex && !sign ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    int digit = hex ? HexDigitValue(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) ThrowNotInteger(text);
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
    if (magnitude > limit) ThrowNotInteger(text);
  }
  // Unsigned hexadecimal up to FFFFFFFF is a bit pattern, so IntToHex of a
  // negative value reads back.
  if (negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
}

double StrToFloat(std::string_view text, const FormatSettings& settings) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;

  // Rewrite into the one form from_chars reads, whatever the separator.
  std::string plain;
  std::size_t i = begin;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int mantissaDigits = 0;
  int leadingIntegerDigits = 0;  // significant digits before the separator
  int leadingFractionZeros = 0;  // zeros right after the separator before any other digit
  bool seenNonZero = false;
  bool seenSeparator = false;
  for (; i < end; ++i) {
    char c = text[i];
    if (IsDigit(c)) {
      ++mantissaDigits;
      if (c != '0') seenNonZero = true;
      if (!seenSeparator && seenNonZero) ++leadingIntegerDigits;
      if (seenSeparator && !seenNonZero) ++leadingFractionZeros;
      plain.push_back(c);
    } else if (c == settings.DecimalSeparator && !seenSeparator) {
      seenSeparator = true;
      plain.push_back('.');
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) ThrowNotFloat(text);

  long long exponent = 0;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    plain.push_back('e');
    ++i;
    bool negativeExponent = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      plain.push_back(text[i]);
      ++i;
    }
    std::size_t firstDigit = i;
    for (; i < end && IsDigit(text[i]); ++i) {
      plain.push_back(text[i]);
      if (exponent < 1000000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (i == firstDigit) ThrowNotFloat(text);
    if (negativeExponent) exponent = -exponent;
  }
  if (i != end) ThrowNotFloat(text);

  double value = 0;
  auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small to hold is zero; too large is not a number we can keep.
    long long magnitude = seenNonZero ? exponent + leadingIntegerDigits - leadingFractionZeros : -1;
    if (magnitude > 0) ThrowNotFloat(text);
    value = 0;
  } else if (result.ec != std::errc() || result.ptr != plain.data() + plain.size() || !std::isfinite(value)) {
    ThrowNotFloat(text);
  }
  return negative ? -value : value;
}

std::string FormatFixed(double value, int decimals, const FormatSettings& settings) {
  return detail::FixedText(value, decimals, settings.DecimalSeparator, 0);
}

}  // namespace runtime
