#pragma once

#include <optional>
#include <string>

namespace logger {

enum class PortChoice { Comm1, Comm2 };

// The device paths behind the Port menu's two items.
struct PortPaths {
  std::string comm1 = "/dev/ttyS0";
  std::string comm2 = "/dev/ttyS1";

  std::string& For(PortChoice choice) { return choice == PortChoice::Comm1 ? comm1 : comm2; }
  const std::string& For(PortChoice choice) const { return choice == PortChoice::Comm1 ? comm1 : comm2; }
};

// Where each device path can come from, strongest first. Empty texts count
// as not given (an exported but empty variable names no device).
struct PortSources {
  std::optional<std::string> option1, option2;            // --port1 / --port2
  std::optional<std::string> environment1, environment2;  // QUORVEL_PORT1 / QUORVEL_PORT2
  std::optional<std::string> remembered1, remembered2;    // the last device chosen in the window
};

// Each item's device: the option, else the environment, else the remembered
// choice, else the built-in default.
PortPaths ResolvePortPaths(const PortSources& sources);

// "Comm1", "Comm2": the items' names without their accelerator marks.
const char* PortItemName(PortChoice choice);

}  // namespace logger
