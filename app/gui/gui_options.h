#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/logger_app.h"

namespace gui {

struct GuiOptions {
  logger::PortPaths ports;
  bool simulate = false;
  bool help = false;
  bool version = false;
};

// quorvel [--port1 PATH] [--port2 PATH] [--simulate]. The environment's
// QUORVEL_PORT1 / QUORVEL_PORT2 stand in for the options; the options win.
std::optional<GuiOptions> ParseGuiOptions(const std::vector<std::string>& args, const char* envPort1,
                                          const char* envPort2, std::string& error);

std::string GuiUsageText();

// "quorvel 1.0.0.15".
std::string GuiVersionText();

}  // namespace gui
