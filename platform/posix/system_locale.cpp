#include "platform/posix/system_locale.h"

#include <langinfo.h>
#include <locale.h>

#include <string_view>

namespace platform {

namespace {

bool IsPunctuation(char c) {
  return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') || (c >= '{' && c <= '~');
}

// The no-break spaces some locales group digits with, in UTF-8.
bool IsSpaceLike(std::string_view text) {
  return text == " " || text == "\xC2\xA0" || text == "\xE2\x80\xAF";
}

// Reads one strftime conversion at `i` (just past the '%'), skipping the
// padding flags; returns the conversion letter and whether '-' (no padding)
// was among the flags.
char ReadConversion(std::string_view format, std::size_t& i, bool& unpadded) {
  unpadded = false;
  while (i < format.size() && std::string_view("-_0^#EO").find(format[i]) != std::string_view::npos) {
    if (format[i] == '-') unpadded = true;
    ++i;
  }
  return i < format.size() ? format[i++] : '\0';
}

// A strftime date format as a date pattern with '/' for the separator, or
// false when it does not fit that mould.
bool DatePattern(std::string_view format, std::string& pattern, char& separator, int depth = 0) {
  if (depth > 2) return false;
  bool day = false, month = false, year = false;
  for (std::size_t i = 0; i < format.size();) {
    char c = format[i++];
    if (c != '%') {
      if (!(c == '/' || c == '.' || c == '-') || (separator && separator != c)) return false;
      separator = c;
      pattern.push_back('/');
      continue;
    }
    bool unpadded = false;
    switch (ReadConversion(format, i, unpadded)) {
      case 'd': pattern += unpadded ? "d" : "dd"; day = true; break;
      case 'e': pattern += "d"; day = true; break;
      case 'm': pattern += unpadded ? "m" : "mm"; month = true; break;
      case 'b':
      case 'h': pattern += "mmm"; month = true; break;
      case 'B': pattern += "mmmm"; month = true; break;
      case 'y': pattern += "yy"; year = true; break;
      case 'Y': pattern += "yyyy"; year = true; break;
      case 'D': {
        std::string inner;
        if (!DatePattern("%m/%d/%y", inner, separator, depth + 1)) return false;
        pattern += inner;
        day = month = year = true;
        break;
      }
      case 'F': {
        std::string inner;
        if (!DatePattern("%Y-%m-%d", inner, separator, depth + 1)) return false;
        pattern += inner;
        day = month = year = true;
        break;
      }
      default:
        return false;
    }
  }
  return day && month && year && separator;
}

// A strftime time format as a time pattern with ':' for the separator.
bool TimePattern(std::string_view format, std::string& pattern, char& separator, int depth = 0) {
  if (depth > 2) return false;
  bool hour = false, minute = false;
  for (std::size_t i = 0; i < format.size();) {
    char c = format[i++];
    if (c != '%') {
      if (c == ' ') {
        pattern.push_back(' ');
        continue;
      }
      if (!(c == ':' || c == '.') || (separator && separator != c)) return false;
      separator = c;
      pattern.push_back(':');
      continue;
    }
    bool unpadded = false;
    std::string_view expansion;
    switch (ReadConversion(format, i, unpadded)) {
      case 'H':
      case 'I': pattern += unpadded ? "h" : "hh"; hour = true; break;
      case 'k':
      case 'l': pattern += "h"; hour = true; break;
      case 'M': pattern += unpadded ? "n" : "nn"; minute = true; break;
      case 'S': pattern += unpadded ? "s" : "ss"; break;
      case 'p':
      case 'P': pattern += "ampm"; break;
      case 'r': expansion = "%I:%M:%S %p"; break;
      case 'T': expansion = "%H:%M:%S"; break;
      case 'R': expansion = "%H:%M"; break;
      default: return false;
    }
    if (!expansion.empty()) {
      std::string inner;
      if (!TimePattern(expansion, inner, separator, depth + 1)) return false;
      pattern += inner;
      hour = minute = true;
    }
  }
  return hour && minute && separator;
}

std::string ShortTimeFrom(std::string longTime) {
  for (std::string_view seconds : {":ss", ":s"}) {
    std::size_t at = longTime.find(seconds);
    if (at != std::string::npos) {
      longTime.erase(at, seconds.size());
      break;
    }
  }
  return longTime;
}

bool IsPlainText(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < ' ' || c > '~' || c == '\'' || c == '"') return false;
  return true;
}

std::string LanginfoText(nl_item item, locale_t locale) {
  const char* text = ::nl_langinfo_l(item, locale);
  return text ? text : "";
}

}  // namespace

runtime::FormatSettings FormatSettingsFromLocaleTexts(const LocaleTexts& texts) {
  runtime::FormatSettings settings;
  if (texts.decimalPoint.size() == 1 && IsPunctuation(texts.decimalPoint[0]) && texts.decimalPoint != "-" &&
      texts.decimalPoint != "+")
    settings.DecimalSeparator = texts.decimalPoint[0];

  const std::string& group = texts.thousandsSeparator;
  if (group.size() == 1 && IsPunctuation(group[0]) && group[0] != settings.DecimalSeparator)
    settings.ThousandSeparator = group[0];
  else if (IsSpaceLike(group))
    settings.ThousandSeparator = ' ';
  else
    settings.ThousandSeparator = settings.DecimalSeparator == ',' ? '.' : ',';

  std::string datePattern;
  char dateSeparator = 0;
  if (DatePattern(texts.dateFormat, datePattern, dateSeparator)) {
    settings.ShortDateFormat = datePattern;
    settings.DateSeparator = dateSeparator;
  }

  std::string timePattern;
  char timeSeparator = 0;
  if (TimePattern(texts.timeFormat, timePattern, timeSeparator)) {
    settings.LongTimeFormat = timePattern;
    settings.ShortTimeFormat = ShortTimeFrom(timePattern);
    settings.TimeSeparator = timeSeparator;
  }
  if (IsPlainText(texts.amString) && IsPlainText(texts.pmString)) {
    settings.TimeAMString = texts.amString;
    settings.TimePMString = texts.pmString;
  }
  return settings;
}

runtime::FormatSettings LocaleFormatSettings(const char* localeName) {
  // Each category on its own, so a missing LC_TIME locale does not cost the
  // decimal comma. The process-wide locale is never touched.
  LocaleTexts texts;
  if (locale_t numeric = ::newlocale(LC_NUMERIC_MASK, localeName, locale_t{})) {
    texts.decimalPoint = LanginfoText(RADIXCHAR, numeric);
    texts.thousandsSeparator = LanginfoText(THOUSEP, numeric);
    ::freelocale(numeric);
  }
  if (locale_t time = ::newlocale(LC_TIME_MASK, localeName, locale_t{})) {
    texts.dateFormat = LanginfoText(D_FMT, time);
    texts.timeFormat = LanginfoText(T_FMT, time);
    texts.amString = LanginfoText(AM_STR, time);
    texts.pmString = LanginfoText(PM_STR, time);
    ::freelocale(time);
  }
  return FormatSettingsFromLocaleTexts(texts);
}

runtime::FormatSettings SystemFormatSettings() { return LocaleFormatSettings(""); }

}  // namespace platform
