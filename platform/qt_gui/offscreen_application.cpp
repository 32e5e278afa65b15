#include "platform/qt_gui/offscreen_application.h"

#include <QGuiApplication>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace platform {

std::unique_ptr<QGuiApplication> CreateOffscreenApplication(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt wants a private runtime directory and warns without one on bare
  // machines.
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    std::string dir = "/tmp/runtime-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
  }
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace platform
