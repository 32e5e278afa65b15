#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/format_settings.h"

namespace runtime {

// Decimal text of a whole number, minus sign for negatives.
std::string IntToStr(std::int64_t value);
// Upper-case hexadecimal with at least `digits` digits (at most 1024 are
// padded). Negative values down to INT32_MIN are shown as their 32-bit two's
// complement (FFFFFFFF for -1), lower ones with all 64 bits.
std::string IntToHex(std::int64_t value, int digits);

// Whole 32-bit number; leading blanks (spaces, tabs), a sign and a '$' or '0x'
// hexadecimal prefix are accepted. Unsigned hexadecimal up to FFFFFFFF is read
// as the 32-bit pattern, so "$FFFFFFFF" is -1 and IntToHex reads back.
// Anything else (an empty text, trailing blanks, a value out of range) throws
// ConvertError "'%s' is not a valid integer value" with the text as given.
std::int32_t StrToInt(std::string_view text);
// Decimal number with the settings' decimal separator (and an optional
// exponent); blanks around it are accepted, thousands separators are not.
// Too small to hold reads as 0. Otherwise (including infinities, NaN and
// values beyond a double) ConvertError "'%s' is not a valid floating point
// value".
double StrToFloat(std::string_view text, const FormatSettings& settings = CurrentFormatSettings());

// Fixed notation with `decimals` decimals (0 to 1024) and the decimal
// separator, no thousands separators, halves rounded away from zero on the
// decimal value (the double to 15 significant digits, so 2.675 gives 2.68). A
// value that rounds to zero has no minus sign; NaN and infinities give "NAN",
// "INF" and "-INF".
std::string FormatFixed(double value, int decimals, const FormatSettings& settings = CurrentFormatSettings());

}  // namespace runtime
