#pragma once

#include <string>

#include "platform/io_status.h"
#include "platform/serial_port.h"

namespace logger {

// The warning for a port that could not be opened: the fixed first line
// "Error opening COM:", the device with the system's reason, then what to do
// about it: for a refused permission the group that owns the device and the
// command that adds the user to it; for a busy device that another program
// holds it; for a missing one that it is not present, followed by
// `chooseHint` (how this program picks another device).
std::string PortOpenErrorText(const std::string& path, const platform::IoError& error,
                              const platform::DeviceAccess& access, const std::string& chooseHint);

}  // namespace logger
