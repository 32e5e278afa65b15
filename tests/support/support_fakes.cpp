#include "tests/support/support_fakes.h"

namespace testsupport {

void FakeClock::SleepMs(int milliseconds) {
  sleeps.push_back(milliseconds);
  if (milliseconds > 0) monotonicMs += milliseconds;
}

void CountingPump::ProcessPendingEvents() {
  ++processCalls;
  if (OnProcess) OnProcess();
}

void CountingPump::WaitForActivity(int /*descriptor*/, int timeoutMs) {
  ++waitCalls;
  waitTimeouts.push_back(timeoutMs);
  if (clock != nullptr && timeoutMs > 0) clock->Advance(timeoutMs);
  if (OnWait) OnWait();
}

void CountingPumpAdapter::ProcessPendingEvents() {
  ++processCalls;
  if (OnProcess) OnProcess();
  inner_.ProcessPendingEvents();
}

void CountingPumpAdapter::WaitForActivity(int descriptor, int timeoutMs) {
  ++waitCalls;
  inner_.WaitForActivity(descriptor, timeoutMs);
}

}  // namespace testsupport
