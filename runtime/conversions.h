#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/format_settings.h"

namespace runtime {

// Decimal text of a whole number, minus sign for negatives.
std::string IntToStr(std::int64_t value);
// Upper-case hexadecimal with at least `digits` digits. Negative values are
// shown as their 32-bit two's complement (FFFFFFFF for -1).
std::string IntToHex(std::int64_t value, int digits);

// Whole 32-bit number; leading blanks, a sign and a '$' or '0x' hexadecimal
// prefix are accepted. Anything else (including an empty text or a value out
// of range) throws ConvertError "'%s' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);
// Decimal number with the settings' decimal separator (and an optional
// exponent); blanks around it are accepted. Otherwise ConvertError
// "'%s' is not a valid floating point value".
double StrToFloat(std::string_view text, const FormatSettings& settings = CurrentFormatSettings());

// Fixed notation with `decimals` decimals and the decimal separator, no
// thousands separators, halves rounded away from zero on the decimal value.
std::string FormatFixed(double value, int decimals, const FormatSettings& settings = CurrentFormatSettings());

}  // namespace runtime
