#include "app/status_line.h"

namespace logger {

void StatusLine::Set(std::string& field, const std::string& text) {
  if (field == text) return;
  field = text;
  if (OnChanged) OnChanged();
}

void StatusLine::SetPort(const std::string& text) { Set(port_, text); }
void StatusLine::SetActivity(const std::string& text) { Set(activity_, text); }
void StatusLine::SetNotice(const std::string& text) { Set(notice_, text); }
void StatusLine::SetSummary(const std::string& text) { Set(summary_, text); }

}  // namespace logger
