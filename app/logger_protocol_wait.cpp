// The waiting half of the recorder protocol: how an answer is awaited, how
// long it is, and what counts as out of frame.
#include <algorithm>

#include "app/logger_commands.h"
#include "app/logger_protocol.h"

namespace logger {

namespace cmd = commands;

namespace {
// While waiting with a wake descriptor the sleep ends on new input anyway;
// the cap only bounds how late a time-out or a lost device is noticed.
constexpr int kWaitSliceMs = 250;
// A port without a wake descriptor (a test double) is polled this often.
constexpr int kPollSliceMs = 5;
// One byte on the line at 9600 baud, 10 bits a byte, in microseconds.
constexpr int kByteTimeUs = 10 * 1000000 / 9600;
static_assert(LoggerProtocol::kQuietMs >= 2 * kByteTimeUs / 1000, "quiet for at least two byte times");
// A line that never falls quiet (a flood) is given up on after this long
// when settling; the framing then catches what is left.
constexpr int kSettleLimitMs = 1000;
// Reads per discard: a flooding line must not keep the program here.
constexpr int kDiscardReads = 64;

std::string ByteCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }
}  // namespace

bool LoggerProtocol::WaitForAnswer() { return AwaitAnswer() > 0; }

std::size_t LoggerProtocol::AwaitAnswer() {
  // Every wait shows the hourglass; one that is already up (the log's) stays.
  if (hourglass_) return AwaitAnswerUnderHourglass();
  SetHourglass(true);
  std::size_t length = AwaitAnswerUnderHourglass();
  SetHourglass(false);
  return length;
}

std::size_t LoggerProtocol::AwaitAnswerUnderHourglass() {
  if (!link_.IsOpen() && answerTimeoutMs_ >= 0) {
    // Nothing was sent, so nothing can answer: say so now, not after the
    // time-out.
    stop_ = CommandStop::NotOpen;
    return 0;
  }
  // The first answer of a command is whole once the line falls quiet; later
  // ones once they hold as many bytes as the first.
  const std::size_t target = answerLength_ > 0 ? answerLength_ : cmd::kAnswerLength;
  const std::int64_t deadline = answerTimeoutMs_ >= 0 ? clock_.MonotonicMs() + answerTimeoutMs_ : -1;
  std::size_t seen = 0;
  std::int64_t lastArrivalMs = clock_.MonotonicMs();
  for (;;) {
    // Forget old arrival signals before counting, so an arrival after the
    // count wakes the sleep below instead of being lost.
    link_.ConsumeWakeups();
    std::size_t queued = link_.QueuedByteCount();
    if (link_.Lost()) {
      stop_ = CommandStop::DeviceLost;
      return 0;
    }
    const std::int64_t now = clock_.MonotonicMs();
    if (queued != seen) {
      seen = queued;
      lastArrivalMs = now;
    }
    if (answerLength_ > 0 && queued >= answerLength_) return answerLength_;
    const bool quiet = queued >= cmd::kAnswerLength && now - lastArrivalMs >= kQuietMs;
    if (quiet && answerLength_ == 0) return queued;
    if (quiet) {
      GoOutOfFrame("an answer of " + ByteCount(queued) + " after a first answer of " + ByteCount(answerLength_));
      return 0;
    }

    // Menu commands chosen now (Exit, Cancel, the report items) run here.
    pump_.ProcessPendingEvents();
    if (Stopped()) return 0;

    int descriptor = link_.WakeDescriptor();
    int slice = link_.IsOpen() && descriptor < 0 ? kPollSliceMs : kWaitSliceMs;
    if (queued >= cmd::kAnswerLength) {
      // Enough for an answer: wait for the line to fall quiet, waking early
      // only when more bytes come.
      slice = static_cast<int>(std::min<std::int64_t>(slice, std::max<std::int64_t>(1, lastArrivalMs + kQuietMs - now)));
    } else if (queued > 0 && descriptor >= 0) {
      // Part of the answer is here and the rest cannot come faster than the
      // line carries it: sleep until all but its last byte is due (waking
      // for window events only), instead of waking for every byte.
      int restMs = static_cast<int>((target - queued - 1) * kByteTimeUs / 1000);
      if (restMs > 0) {
        slice = std::min(slice, restMs);
        descriptor = -1;
      }
    }
    if (deadline >= 0) {
      std::int64_t left = deadline - now;
      if (left <= 0) {
        stop_ = CommandStop::TimedOut;
        return 0;
      }
      slice = static_cast<int>(std::min<std::int64_t>(slice, left));
    }
    // Sleep until new bytes, a window event or the slice's end; never spin.
    pump_.WaitForActivity(descriptor, slice);
  }
}

void LoggerProtocol::DiscardQueued() {
  for (int i = 0; i < kDiscardReads && link_.QueuedByteCount() > 0; ++i) link_.ReadQueued();
  if (link_.Lost()) stop_ = CommandStop::DeviceLost;
}

void LoggerProtocol::SettleLine() {
  lineUnsettled_ = false;
  if (!link_.IsOpen()) return;
  const bool hourglass = hourglass_;
  SetHourglass(true);
  SettleLineUnderHourglass();
  if (!hourglass) SetHourglass(false);
}

void LoggerProtocol::SettleLineUnderHourglass() {
  const std::int64_t start = clock_.MonotonicMs();
  std::int64_t quietSince = start;
  for (;;) {
    link_.ConsumeWakeups();
    if (link_.QueuedByteCount() > 0) {
      DiscardQueued();
      quietSince = clock_.MonotonicMs();
    }
    if (link_.Lost()) {
      stop_ = CommandStop::DeviceLost;
      return;
    }
    const std::int64_t now = clock_.MonotonicMs();
    if (now - quietSince >= kQuietMs || now - start >= kSettleLimitMs) return;
    int slice = static_cast<int>(quietSince + kQuietMs - now);
    if (link_.WakeDescriptor() < 0) slice = std::min(slice, kPollSliceMs);
    pump_.WaitForActivity(link_.WakeDescriptor(), slice);
  }
}

bool LoggerProtocol::LineIsClearBeforeRead() {
  std::size_t queued = link_.QueuedByteCount();
  if (link_.Lost()) {
    stop_ = CommandStop::DeviceLost;
    return false;
  }
  if (queued == 0) return true;
  GoOutOfFrame(ByteCount(queued) + " arrived between two answers");
  return false;
}

void LoggerProtocol::EndCommand() {
  if (!Stopped() && answerLength_ > 0 && link_.IsOpen()) {
    const bool hourglass = hourglass_;
    SetHourglass(true);
    CheckLineAfterLastAnswer();
    if (!hourglass) SetHourglass(false);
  }
  // A command that stopped in the middle of an exchange may leave the rest of
  // an answer on its way; the next command lets it pass first.
  if (readSent_ && Stop() != CommandStop::None) lineUnsettled_ = true;
}

void LoggerProtocol::CheckLineAfterLastAnswer() {
  // Bytes that follow the last answer belong to no answer: wait out the
  // quiet time after it (usually over already: the reports took longer)
  // and look.
  const std::int64_t until = lastAnswerMs_ + kQuietMs;
  for (;;) {
    link_.ConsumeWakeups();
    std::size_t queued = link_.QueuedByteCount();
    if (link_.Lost()) {
      stop_ = CommandStop::DeviceLost;
      return;
    }
    if (queued > 0) {
      GoOutOfFrame(ByteCount(queued) + " arrived after the last answer");
      return;
    }
    const std::int64_t left = until - clock_.MonotonicMs();
    if (left <= 0) return;
    int slice = static_cast<int>(left);
    if (link_.WakeDescriptor() < 0) slice = std::min(slice, kPollSliceMs);
    pump_.WaitForActivity(link_.WakeDescriptor(), slice);
  }
}

void LoggerProtocol::GoOutOfFrame(std::string problem) {
  stop_ = CommandStop::OutOfFrame;
  frameProblem_ = std::move(problem);
}

}  // namespace logger
