#pragma once

#include <string>

#include "runtime/format_settings.h"

namespace platform {

// What a locale says about numbers, dates and times, in its own terms
// (strftime-style date and time formats).
struct LocaleTexts {
  std::string decimalPoint;
  std::string thousandsSeparator;
  std::string dateFormat;  // such as "%d.%m.%Y"
  std::string timeFormat;  // such as "%H:%M:%S"
  std::string amString;
  std::string pmString;
};

// Maps the locale's texts onto the settings the formatters use. Anything the
// formatters cannot express (a multi-byte decimal point, a date format with
// mixed separators or without day, month and year) keeps the default for that
// part, so a strange locale still gives readable reports.
runtime::FormatSettings FormatSettingsFromLocaleTexts(const LocaleTexts& texts);

// The settings of a named locale; "" takes the environment (LC_ALL, then
// LC_NUMERIC or LC_TIME, then LANG). A locale that is not installed gives the
// defaults for its part.
runtime::FormatSettings LocaleFormatSettings(const char* localeName);

// The user's settings, to pass to runtime::SetFormatSettings at start-up.
runtime::FormatSettings SystemFormatSettings();

}  // namespace platform
