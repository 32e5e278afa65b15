#pragma once

#include <memory>

class QGuiApplication;

namespace platform {

// A console program that renders text or images still needs a
// QGuiApplication (fonts and painting live there). This one always uses the
// offscreen platform, so it runs on machines without a display.
std::unique_ptr<QGuiApplication> CreateOffscreenApplication(int& argc, char** argv);

}  // namespace platform
