#include "platform/qt_widgets/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

namespace platform {

void QtEventPump::ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::WaitForActivity(int descriptor, int timeoutMs) {
  // The notifier and the timer are only there to wake the dispatcher; the
  // caller checks what happened.
  std::unique_ptr<QSocketNotifier> notifier;
  if (descriptor >= 0) notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
  QTimer timer;
  timer.setSingleShot(true);
  if (timeoutMs >= 0) timer.start(timeoutMs);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace platform
