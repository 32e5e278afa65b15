#include "runtime/decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace runtime::detail {

namespace {

constexpr int kSignificantDigits = 15;

void Normalize(DecimalDigits& number) {
  auto last = number.digits.find_last_not_of('0');
  number.digits.resize(last == std::string::npos ? 0 : last + 1);
  std::size_t first = number.digits.find_first_not_of('0');
  if (first == std::string::npos) {
    number.digits.clear();
    number.point = 0;
    return;
  }
  number.digits.erase(0, first);
  number.point -= static_cast<int>(first);
}

// Keeps the first `keep` digits, rounding on the next one.
void RoundAt(DecimalDigits& number, long long keep) {
  if (keep >= static_cast<long long>(number.digits.size())) return;
  if (keep < 0) {
    number.digits.clear();
    number.point = 0;
    return;
  }
  bool up = number.digits[static_cast<std::size_t>(keep)] >= '5';
  number.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    std::size_t i = number.digits.size();
    while (i > 0 && number.digits[i - 1] == '9') {
      number.digits[i - 1] = '0';
      --i;
    }
    if (i == 0) {
      number.digits.insert(number.digits.begin(), '1');
      ++number.point;
    } else {
      ++number.digits[i - 1];
    }
  }
  Normalize(number);
}

}  // namespace

DecimalDigits ToDecimalDigits(double value) {
  DecimalDigits number;
  number.negative = std::signbit(value);
  if (value == 0 || !std::isfinite(value)) return number;
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                              std::chars_format::scientific, kSignificantDigits - 1);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  std::size_t e = text.find('e');
  for (char c : text.substr(0, e))
    if (c != '.') number.digits.push_back(c);
  int exponent = 0;
  std::string_view exponentText = text.substr(e + 1);
  if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  number.point = exponent + 1;
  Normalize(number);
  return number;
}

void RoundToDecimals(DecimalDigits& number, int decimals) {
  RoundAt(number, static_cast<long long>(number.point) + decimals);
}

void RoundToSignificant(DecimalDigits& number, int count) { RoundAt(number, count); }

std::string IntegerDigits(const DecimalDigits& number) {
  if (number.point <= 0 || number.IsZero()) return {};
  auto point = static_cast<std::size_t>(number.point);
  std::string digits = number.digits.substr(0, std::min(point, number.digits.size()));
  digits.append(point - digits.size(), '0');
  return digits;
}

std::string FractionDigits(const DecimalDigits& number, int count) {
  std::string digits;
  digits.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) {
    long long index = static_cast<long long>(number.point) + i;
    bool inside = index >= 0 && index < static_cast<long long>(number.digits.size());
    digits.push_back(inside ? number.digits[static_cast<std::size_t>(index)] : '0');
  }
  return digits;
}

std::string GroupThousands(const std::string& digits, char separator) {
  std::string grouped;
  grouped.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(separator);
    grouped.push_back(digits[i]);
  }
  return grouped;
}

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  return {};
}

std::string FixedText(double value, int decimals, char decimalSeparator, char thousandSeparator) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  decimals = std::clamp(decimals, 0, kMaxFieldWidth);
  DecimalDigits number = ToDecimalDigits(value);
  RoundToDecimals(number, decimals);
  std::string integer = IntegerDigits(number);
  if (integer.empty()) integer.push_back('0');
  std::string text = number.negative && !number.IsZero() ? "-" : "";
  text += thousandSeparator ? GroupThousands(integer, thousandSeparator) : integer;
  if (decimals > 0) {
    text.push_back(decimalSeparator);
    text += FractionDigits(number, decimals);
  }
  return text;
}

std::string GeneralText(double value, int precision, char decimalSeparator) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  precision = std::clamp(precision, 1, kSignificantDigits);
  DecimalDigits number = ToDecimalDigits(value);
  RoundToSignificant(number, precision);
  if (number.IsZero()) return "0";
  std::string text = number.negative ? "-" : "";
  int exponent = number.point - 1;
  if (exponent < precision && exponent >= -5) {
    std::string integer = IntegerDigits(number);
    text += integer.empty() ? "0" : integer;
    int decimals = std::max(0, static_cast<int>(number.digits.size()) - number.point);
    if (decimals > 0) {
      text.push_back(decimalSeparator);
      text += FractionDigits(number, decimals);
    }
    return text;
  }
  text.push_back(number.digits[0]);
  if (number.digits.size() > 1) {
    text.push_back(decimalSeparator);
    text.append(number.digits, 1);
  }
  text += 'E';
  if (exponent < 0) text += '-';
  text += std::to_string(std::abs(exponent));
  return text;
}

}  // namespace runtime::detail
