#pragma once

#include <string>

// Decimal digits of a double, shared by the number formatters. Not part of
// the library's interface.
namespace runtime::detail {

// Widths, precisions and digit counts above this are refused or clamped, so a
// pattern such as "%999999999d" cannot ask for gigabytes.
constexpr int kMaxFieldWidth = 1024;

// A finite double as decimal digits: value = 0.d1 d2 d3 ... x 10^point.
// `digits` has no leading or trailing zeros and is empty for zero.
struct DecimalDigits {
  bool negative = false;
  std::string digits;
  int point = 0;

  bool IsZero() const { return digits.empty(); }
};

// The value to 15 significant digits: all a double holds reliably, so 1.005
// is the decimal 1.005 and later rounding works on what the user typed.
DecimalDigits ToDecimalDigits(double value);

// Halves away from zero, on the digits.
void RoundToDecimals(DecimalDigits& number, int decimals);
void RoundToSignificant(DecimalDigits& number, int count);

// Digits before the point ("" for a value below 1) and exactly `count` digits
// after it.
std::string IntegerDigits(const DecimalDigits& number);
std::string FractionDigits(const DecimalDigits& number, int count);

// Inserts `separator` between groups of three digits of a run of digits.
std::string GroupThousands(const std::string& digits, char separator);

// "NAN", "INF" or "-INF" for values that are not finite; empty otherwise.
std::string NonFiniteText(double value);

// Fixed notation, halves away from zero; `thousandSeparator` 0 for none. A
// result that rounds to zero carries no minus sign.
std::string FixedText(double value, int decimals, char decimalSeparator, char thousandSeparator);

// Shortest of fixed and scientific with `precision` significant digits and no
// trailing zeros ("21.5", "1E20", "1.5E-7").
std::string GeneralText(double value, int precision, char decimalSeparator);

}  // namespace runtime::detail
