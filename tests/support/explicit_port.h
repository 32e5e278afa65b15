#pragma once

#include <string>

namespace testsupport {

// Every test names the device it opens. A fixture that would fall back to a
// default device (such as this machine's console on /dev/ttyS0) fails here
// instead of touching it.
const std::string& RequireExplicitPort(const std::string& path);

}  // namespace testsupport
