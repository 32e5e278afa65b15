#include "platform/posix/poll_event_pump.h"

#include <poll.h>
#include <signal.h>

namespace platform {

namespace {
volatile sig_atomic_t interruptFlag = 0;

extern "C" void OnInterruptSignal(int) { interruptFlag = 1; }
}  // namespace

void PollEventPump::ProcessPendingEvents() {
  if (interruptFlag && OnInterrupt) OnInterrupt();
}

void PollEventPump::WaitForActivity(int descriptor, int timeoutMs) {
  if (interruptFlag) return;
  pollfd pfd{};
  pfd.fd = descriptor;  // poll ignores negative descriptors: a plain sleep
  pfd.events = POLLIN;
  ::poll(&pfd, 1, timeoutMs);  // a negative time-out waits without limit
}

void PollEventPump::RequestInterrupt() { interruptFlag = 1; }

bool PollEventPump::InterruptRequested() { return interruptFlag != 0; }

void PollEventPump::InstallInterruptHandler() {
  struct sigaction sa {};
  sa.sa_handler = OnInterruptSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;
  ::sigaction(SIGINT, &sa, nullptr);
  ::sigaction(SIGTERM, &sa, nullptr);
}

}  // namespace platform
