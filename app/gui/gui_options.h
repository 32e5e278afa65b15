#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/answer_timeout.h"
#include "app/app_settings.h"
#include "app/port_choice.h"

namespace gui {

struct GuiOptions {
  std::optional<std::string> port1;  // --port1
  std::optional<std::string> port2;  // --port2
  int timeoutMs = logger::kDefaultAnswerTimeoutMs;
  bool simulate = false;
  bool noArchive = false;  // keep no copy of completed downloads this run
  bool help = false;
  bool version = false;
  // Arguments for Qt itself (-platform xcb, -style fusion, ...), passed on.
  std::vector<std::string> qtArguments;
};

// quorvel [--port1 PATH] [--port2 PATH] [--timeout SECONDS] [--simulate]
// [--no-archive] [--help] [--version]. Parsed before the application object exists, so
// --help, --version and mistakes need no display. Qt's own single-dash
// options are kept for Qt.
std::optional<GuiOptions> ParseGuiOptions(const std::vector<std::string>& args, std::string& error);

std::string GuiUsageText();

// The devices behind Comm1 and Comm2 at start: --port1/--port2, else
// QUORVEL_PORT1/QUORVEL_PORT2 (looked up with `environment`), else the
// devices last chosen in the window, else the defaults.
logger::PortPaths StartupPortPaths(const GuiOptions& options,
                                   const std::function<const char*(const char*)>& environment,
                                   const logger::AppSettings& settings);

// Why the window cannot open here (no display and no platform chosen), or
// empty when it can; `environment` looks a variable up.
std::string MissingDisplayReason(const GuiOptions& options, const std::function<const char*(const char*)>& environment);

// "quorvel 1.0.0.15".
std::string GuiVersionText();

}  // namespace gui
