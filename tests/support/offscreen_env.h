#pragma once

#include <cstdlib>

// Test binaries run without a display; Qt aborts without a platform.
inline void UseOffscreenPlatformUnlessSet() {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("XDG_RUNTIME_DIR", "/tmp", 0);
}
