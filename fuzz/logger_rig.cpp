#include "fuzz/logger_rig.h"

namespace fuzzsupport {

void CheckPaneLines(const logger::ReportPane& pane, const char* report) {
  for (const std::string& line : pane.Lines()) {
    if (line.find_first_of("\r\n") != std::string::npos) Finding(std::string(report) + ": a line break inside a line");
    if (!IsValidUtf8(line)) Finding(std::string(report) + ": a line that is not UTF-8");
  }
}

}  // namespace fuzzsupport
