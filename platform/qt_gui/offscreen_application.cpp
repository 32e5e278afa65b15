#include "platform/qt_gui/offscreen_application.h"

#include <QGuiApplication>

#include <cstdlib>

namespace platform {

std::unique_ptr<QGuiApplication> CreateOffscreenApplication(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Quiets Qt's warning about a missing runtime directory on bare machines.
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) ::setenv("XDG_RUNTIME_DIR", "/tmp", 0);
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace platform
