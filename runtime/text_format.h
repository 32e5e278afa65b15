#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

#include "runtime/format_settings.h"

namespace runtime {

using FormatArg = std::variant<std::int64_t, double, std::string>;

// printf-style patterns: %[-][width][.precision]type with the types d, u, x
// (upper case), f, e, g, n, s and %%. "%5.1f" is fixed point with one decimal
// right-aligned in five characters using the settings' decimal separator;
// "%4.1d" an integer right-aligned in four characters (precision = minimum
// digits). f and n default to 2 decimals (n with thousands separators); e and
// g take the precision as significant digits (default 15), e as
// "d.ddE+ddd". An argument of the wrong kind, a missing argument, an unknown
// type or a width or precision above 1024 throws ConvertError "Format '%s'
// invalid or incompatible with argument". Arguments left over are ignored.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args,
                   const FormatSettings& settings = CurrentFormatSettings());

// Number patterns such as "#,##0.###" or "##0.## %": '0' a required digit,
// '#' an optional digit, ',' the thousands separator (anywhere before the
// decimal point turns grouping on), '.' the decimal separator (shown only when
// decimals follow), quoted text and other characters literal (a '%' too: the
// callers pass percentages already multiplied by 100), 'E+0' or 'E-0'
// scientific, ';' separates the sections for positive, negative and zero
// values. Halves round away from zero on the decimal value. An empty pattern
// gives FloatToStr; NaN and infinities give "NAN", "INF" and "-INF".
std::string FormatFloat(std::string_view pattern, double value,
                        const FormatSettings& settings = CurrentFormatSettings());

// Shortest text with 15 significant digits: fixed notation for exponents from
// -5 to 14 ("21.5", "0.001"), otherwise scientific ("1E20", "1.5E-7").
std::string FloatToStr(double value, const FormatSettings& settings = CurrentFormatSettings());

}  // namespace runtime
