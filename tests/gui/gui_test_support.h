#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/gui/tmain.h"
#include "platform/user_messages.h"
#include "sim/pty_recorder.h"
#include "tests/support/explicit_port.h"
#include "tests/support/support_fakes.h"

namespace guitest {

// Message boxes recorded instead of shown, so no modal box blocks a test.
using testsupport::RecordedMessage;
using testsupport::RecordingMessages;

inline std::unique_ptr<sim::PtyRecorder> StartRecorder(sim::Faults faults = {}) {
  auto recorder = std::make_unique<sim::PtyRecorder>(sim::RecorderMemory::Plausible(1796000000), faults);
  std::string error;
  if (!recorder->Start(&error)) return nullptr;
  return recorder;
}

// Runs the event loop until `done` holds or `ms` pass; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

inline std::unique_ptr<gui::TMain> MakeWindow(const std::string& comm1, const std::string& comm2,
                                              RecordingMessages& messages) {
  gui::TMain::Options options;
  options.ports.comm1 = testsupport::RequireExplicitPort(comm1);
  options.ports.comm2 = testsupport::RequireExplicitPort(comm2);
  options.messages = &messages;
  return std::make_unique<gui::TMain>(std::move(options));
}

}  // namespace guitest
