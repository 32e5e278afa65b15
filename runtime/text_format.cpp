#include "runtime/text_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

#include "runtime/conversions.h"
#include "runtime/convert_error.h"
#include "runtime/decimal_digits.h"

namespace runtime {

using detail::DecimalDigits;
using detail::kMaxFieldWidth;

namespace {

// ---------------------------------------------------------------------------
// printf-style patterns

[[noreturn]] void ThrowBadFormat(std::string_view pattern) {
  throw ConvertError("Format '" + std::string(pattern) + "' invalid or incompatible with argument");
}

// A width or precision; -1 when the pattern gives none.
int ReadCount(std::string_view pattern, std::size_t& i) {
  if (i >= pattern.size() || pattern[i] < '0' || pattern[i] > '9') return -1;
  int count = 0;
  for (; i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9'; ++i) {
    count = count * 10 + (pattern[i] - '0');
    if (count > kMaxFieldWidth) ThrowBadFormat(pattern);
  }
  return count;
}

std::string PadDigits(std::string digits, int minimum) {
  if (minimum > static_cast<int>(digits.size()))
    digits.insert(0, static_cast<std::size_t>(minimum) - digits.size(), '0');
  return digits;
}

std::string DecimalText(std::int64_t value, int minimumDigits) {
  // The magnitude in unsigned arithmetic, so INT64_MIN has one too.
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
  std::string digits = PadDigits(std::string(buffer, result.ptr), minimumDigits);
  return value < 0 ? "-" + digits : digits;
}

std::string UnsignedText(std::int64_t value, int minimumDigits) {
  std::uint64_t bits = static_cast<std::uint64_t>(value);
  if (value < 0 && value >= std::numeric_limits<std::int32_t>::min()) bits &= 0xFFFFFFFFu;
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, bits);
  return PadDigits(std::string(buffer, result.ptr), minimumDigits);
}

// "d.ddddE+ddd" with `digits` significant digits.
std::string ScientificText(double value, int digits, char decimalSeparator) {
  if (!std::isfinite(value)) return detail::NonFiniteText(value);
  digits = std::clamp(digits, 1, kMaxFieldWidth);
  DecimalDigits number = detail::ToDecimalDigits(value);
  detail::RoundToSignificant(number, digits);
  int exponent = number.IsZero() ? 0 : number.point - 1;
  std::string mantissa = number.digits;
  mantissa.resize(static_cast<std::size_t>(digits), '0');
  std::string text = number.negative && !number.IsZero() ? "-" : "";
  text.push_back(mantissa[0]);
  if (digits > 1) {
    text.push_back(decimalSeparator);
    text.append(mantissa, 1);
  }
  text += exponent < 0 ? "E-" : "E+";
  text += PadDigits(std::to_string(std::abs(exponent)), 3);
  return text;
}

const std::int64_t* IntegerArg(const FormatArg& arg) { return std::get_if<std::int64_t>(&arg); }
const double* FloatArg(const FormatArg& arg) { return std::get_if<double>(&arg); }

// ---------------------------------------------------------------------------
// Number patterns

struct PatternToken {
  enum Kind { kDigit, kPoint, kGroup, kExponent, kLiteral } kind;
  char symbol = 0;        // '0' or '#' for digits, 'E' or 'e' for the exponent
  bool alwaysSign = false;  // "E+" rather than "E-"
  int exponentDigits = 0;
  std::string text;       // literal text
};

struct Section {
  std::vector<PatternToken> tokens;
  int integerPlaces = 0;   // '0' and '#' before the point
  int integerRequired = 0; // places from the first '0' to the point
  int fractionPlaces = 0;
  int fractionRequired = 0;  // places up to the last '0' after the point
  bool grouping = false;
  bool scientific = false;
  bool hasPoint = false;
};

std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  char quote = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

Section ParseSection(std::string_view text) {
  Section section;
  bool seenRequired = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"' || c == '\'') {
      // An unterminated quote runs to the end of the section.
      std::size_t close = text.find(c, i + 1);
      std::size_t stop = close == std::string_view::npos ? text.size() : close;
      section.tokens.push_back({PatternToken::kLiteral, 0, false, 0, std::string(text.substr(i + 1, stop - i - 1))});
      i = stop;
      continue;
    }
    if (!section.scientific) {
      if (c == '0' || c == '#') {
        section.tokens.push_back({PatternToken::kDigit, c, false, 0, {}});
        if (section.hasPoint) {
          ++section.fractionPlaces;
          if (c == '0') section.fractionRequired = section.fractionPlaces;
        } else {
          ++section.integerPlaces;
          if (c == '0') seenRequired = true;
          if (seenRequired) ++section.integerRequired;
        }
        continue;
      }
      if (c == '.') {
        // Only the first point counts; later ones are dropped.
        if (!section.hasPoint) section.tokens.push_back({PatternToken::kPoint, c, false, 0, {}});
        section.hasPoint = true;
        continue;
      }
      if (c == ',') {
        if (!section.hasPoint) section.grouping = true;
        continue;
      }
      if ((c == 'E' || c == 'e') && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) {
        PatternToken token{PatternToken::kExponent, c, text[i + 1] == '+', 0, {}};
        i += 2;
        while (i < text.size() && text[i] == '0') {
          ++token.exponentDigits;
          ++i;
        }
        --i;
        token.exponentDigits = std::max(token.exponentDigits, 1);
        section.tokens.push_back(token);
        section.scientific = true;
        continue;
      }
    }
    section.tokens.push_back({PatternToken::kLiteral, 0, false, 0, std::string(1, c)});
  }
  return section;
}

// The digits a section shows for a magnitude, before they are laid into the
// pattern.
struct SectionDigits {
  std::string integer;   // at least integerRequired digits
  std::string fraction;  // trailing zeros beyond fractionRequired removed
  int exponent = 0;
  bool zero = false;     // the shown value is zero
};

SectionDigits DigitsFor(const Section& section, double magnitude) {
  SectionDigits shown;
  DecimalDigits number = detail::ToDecimalDigits(magnitude);
  int minimumInteger = section.integerRequired;
  if (section.scientific) {
    // The mantissa has as many integer digits as the pattern requires, one
    // when it requires none.
    int integerDigits = section.integerRequired > 0 ? section.integerRequired : (section.integerPlaces > 0 ? 1 : 0);
    minimumInteger = integerDigits;
    detail::RoundToSignificant(number, std::max(integerDigits + section.fractionPlaces, 1));
    shown.exponent = number.IsZero() ? 0 : number.point - integerDigits;
    number.point = integerDigits;  // the mantissa
  } else {
    detail::RoundToDecimals(number, section.fractionPlaces);
  }
  shown.zero = number.IsZero();
  shown.integer = PadDigits(detail::IntegerDigits(number), minimumInteger);
  shown.fraction = detail::FractionDigits(number, section.fractionPlaces);
  std::size_t keep = shown.fraction.find_last_not_of('0');
  keep = keep == std::string::npos ? 0 : keep + 1;
  shown.fraction.resize(std::max(keep, static_cast<std::size_t>(section.fractionRequired)));
  return shown;
}

std::string LayOut(const Section& section, const SectionDigits& shown, const FormatSettings& settings) {
  std::string out;
  const int places = section.integerPlaces;
  const int count = static_cast<int>(shown.integer.size());
  const bool grouping = section.grouping && !section.scientific;
  // Integer digits are counted from the right: place k of `places` shows the
  // digit at position places-1-k, and the first place also shows any digits
  // the pattern has no room for.
  auto emitDigit = [&](int fromRight) {
    out.push_back(shown.integer[static_cast<std::size_t>(count - 1 - fromRight)]);
    if (grouping && fromRight > 0 && fromRight % 3 == 0) out.push_back(settings.ThousandSeparator);
  };
  auto emitAllInteger = [&] {
    for (int r = count - 1; r >= 0; --r) emitDigit(r);
  };
  int integerPlace = 0;
  int fractionPlace = 0;
  bool afterPoint = false;
  for (const PatternToken& token : section.tokens) {
    switch (token.kind) {
      case PatternToken::kDigit:
        if (!afterPoint) {
          int fromRight = places - 1 - integerPlace;
          if (integerPlace == 0)
            for (int r = count - 1; r > fromRight; --r) emitDigit(r);
          if (fromRight < count) emitDigit(fromRight);
          ++integerPlace;
        } else {
          if (fractionPlace < static_cast<int>(shown.fraction.size()))
            out.push_back(shown.fraction[static_cast<std::size_t>(fractionPlace)]);
          ++fractionPlace;
        }
        break;
      case PatternToken::kPoint:
        if (places == 0) emitAllInteger();  // ".00" still shows 12.50
        if (!shown.fraction.empty()) out.push_back(settings.DecimalSeparator);
        afterPoint = true;
        break;
      case PatternToken::kExponent: {
        if (places == 0 && !section.hasPoint) emitAllInteger();
        out.push_back(token.symbol);
        if (shown.exponent < 0)
          out.push_back('-');
        else if (token.alwaysSign)
          out.push_back('+');
        out += PadDigits(std::to_string(std::abs(shown.exponent)), token.exponentDigits);
        afterPoint = true;
        break;
      }
      case PatternToken::kLiteral:
        out += token.text;
        break;
      case PatternToken::kGroup:
        break;
    }
  }
  return out;
}

}  // namespace

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args,
                   const FormatSettings& settings) {
  std::string out;
  auto next = args.begin();
  std::size_t i = 0;
  while (i < pattern.size()) {
    char c = pattern[i++];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (i < pattern.size() && pattern[i] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    bool left = false;
    if (i < pattern.size() && pattern[i] == '-') {
      left = true;
      ++i;
    }
    int width = ReadCount(pattern, i);
    int precision = -1;
    if (i < pattern.size() && pattern[i] == '.') {
      ++i;
      precision = std::max(ReadCount(pattern, i), 0);
    }
    if (i >= pattern.size() || next == args.end()) ThrowBadFormat(pattern);
    char type = pattern[i++];
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type - 'A' + 'a');
    const FormatArg& arg = *next++;

    std::string text;
    const std::int64_t* integer = IntegerArg(arg);
    const double* real = FloatArg(arg);
    switch (type) {
      case 'd':
        if (!integer) ThrowBadFormat(pattern);
        text = DecimalText(*integer, precision);
        break;
      case 'u':
        if (!integer) ThrowBadFormat(pattern);
        text = UnsignedText(*integer, precision);
        break;
      case 'x':
        if (!integer) ThrowBadFormat(pattern);
        text = IntToHex(*integer, precision);
        break;
      case 'f':
      case 'n':
        if (!real) ThrowBadFormat(pattern);
        text = detail::FixedText(*real, precision < 0 ? 2 : precision, settings.DecimalSeparator,
                                 type == 'n' ? settings.ThousandSeparator : 0);
        break;
      case 'e':
        if (!real) ThrowBadFormat(pattern);
        text = ScientificText(*real, precision < 0 ? 15 : precision, settings.DecimalSeparator);
        break;
      case 'g':
        if (!real) ThrowBadFormat(pattern);
        text = detail::GeneralText(*real, precision < 0 ? 15 : precision, settings.DecimalSeparator);
        break;
      case 's': {
        const std::string* string = std::get_if<std::string>(&arg);
        if (!string) ThrowBadFormat(pattern);
        text = precision >= 0 ? string->substr(0, static_cast<std::size_t>(precision)) : *string;
        break;
      }
      default:
        ThrowBadFormat(pattern);
    }
    if (width > static_cast<int>(text.size())) {
      std::string padding(static_cast<std::size_t>(width) - text.size(), ' ');
      text = left ? text + padding : padding + text;
    }
    out += text;
  }
  return out;
}

std::string FormatFloat(std::string_view pattern, double value, const FormatSettings& settings) {
  if (!std::isfinite(value)) return detail::NonFiniteText(value);
  std::vector<std::string_view> sections = SplitSections(pattern);
  if (sections[0].empty()) return FloatToStr(value, settings);

  Section positive = ParseSection(sections[0]);
  auto optionalSection = [&](std::size_t index) -> std::optional<Section> {
    if (index < sections.size() && !sections[index].empty()) return ParseSection(sections[index]);
    return std::nullopt;
  };
  std::optional<Section> negative = optionalSection(1);
  std::optional<Section> zero = optionalSection(2);

  double magnitude = std::fabs(value);
  if (value == 0 && zero) return LayOut(*zero, DigitsFor(*zero, 0), settings);
  const Section& chosen = value < 0 && negative ? *negative : positive;
  SectionDigits shown = DigitsFor(chosen, magnitude);
  // A value that rounds to nothing reads as zero, without a minus sign.
  if (shown.zero) {
    if (zero) return LayOut(*zero, DigitsFor(*zero, 0), settings);
    return LayOut(chosen, shown, settings);
  }
  std::string text = LayOut(chosen, shown, settings);
  return value < 0 && !negative ? "-" + text : text;
}

std::string FloatToStr(double value, const FormatSettings& settings) {
  return detail::GeneralText(value, 15, settings.DecimalSeparator);
}

}  // namespace runtime
