#pragma once

#include <string>

namespace runtime {

// Separators and short formats the texts of reports, files and charts use.
// Process-wide, filled from the system locale at start-up (so a German user
// sees decimal commas) and pinned in tests.
struct FormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd/mm/yyyy";
  std::string LongDateFormat = "dd mmmm yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
};

const FormatSettings& CurrentFormatSettings();
void SetFormatSettings(const FormatSettings& settings);

}  // namespace runtime
