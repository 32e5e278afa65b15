#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/answer_timeout.h"

namespace gui {

struct GuiOptions {
  std::optional<std::string> port1;  // --port1
  std::optional<std::string> port2;  // --port2
  int timeoutMs = logger::kDefaultAnswerTimeoutMs;
  bool simulate = false;
  bool help = false;
  bool version = false;
  // Arguments for Qt itself (-platform xcb, -style fusion, ...), passed on.
  std::vector<std::string> qtArguments;
};

// quorvel [--port1 PATH] [--port2 PATH] [--timeout SECONDS] [--simulate]
// [--help] [--version]. Parsed before the application object exists, so
// --help, --version and mistakes need no display. Qt's own single-dash
// options are kept for Qt.
std::optional<GuiOptions> ParseGuiOptions(const std::vector<std::string>& args, std::string& error);

std::string GuiUsageText();

// Why the window cannot open here (no display and no platform chosen), or
// empty when it can; `environment` looks a variable up.
std::string MissingDisplayReason(const GuiOptions& options, const std::function<const char*(const char*)>& environment);

}  // namespace gui
