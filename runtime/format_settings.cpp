#include "runtime/format_settings.h"

namespace runtime {

namespace {

// One user-interface thread reads and replaces these; nothing else touches
// them, so no lock.
FormatSettings& Settings() {
  static FormatSettings settings;
  return settings;
}

}  // namespace

const FormatSettings& CurrentFormatSettings() { return Settings(); }

void SetFormatSettings(const FormatSettings& settings) { Settings() = settings; }

}  // namespace runtime
