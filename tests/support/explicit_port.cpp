#include "tests/support/explicit_port.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace testsupport {

const std::string& RequireExplicitPort(const std::string& path) {
  bool isDefault = path.empty() || path.rfind("/dev/ttyS", 0) == 0 || path.rfind("/dev/ttyUSB", 0) == 0 ||
                   path.rfind("/dev/ttyACM", 0) == 0;
  if (isDefault) {
    ADD_FAILURE() << "test would open a default device '" << path << "'; pass an explicit port";
    throw std::logic_error("test would open a default serial device");
  }
  return path;
}

}  // namespace testsupport
