#include "app/logger_protocol.h"

#include <algorithm>

#include "app/logger_commands.h"

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
}  // namespace

LoggerProtocol::LoggerProtocol(SerialLink& link, LoggerState& state, platform::EventPump& pump,
                               platform::Clock& clock, platform::BusyCursor& cursor)
    : link_(link), state_(state), pump_(pump), clock_(clock), cursor_(cursor) {}

CommandStop LoggerProtocol::Stop() const {
  return state_.AbortRequested ? CommandStop::Aborted : stop_;
}

std::string LoggerProtocol::ReadCommand(std::uint16_t address) {
  return {static_cast<char>(cmd::kReadBlock), static_cast<char>(address / 256), static_cast<char>(address % 256)};
}

void LoggerProtocol::SetHourglass(bool on) {
  hourglass_ = on;
  cursor_.SetHourglass(on);
}

bool LoggerProtocol::WaitForAnswer() {
  // Every wait shows the hourglass; one that is already up (the log's) stays.
  if (hourglass_) return WaitForAnswerUnderHourglass();
  SetHourglass(true);
  bool answered = WaitForAnswerUnderHourglass();
  SetHourglass(false);
  return answered;
}

bool LoggerProtocol::WaitForAnswerUnderHourglass() {
  if (!link_.IsOpen() && answerTimeoutMs_ >= 0) {
    // Nothing was sent, so nothing can answer: say so now, not after the
    // time-out.
    stop_ = CommandStop::NotOpen;
    return false;
  }
  const std::int64_t deadline = answerTimeoutMs_ >= 0 ? clock_.MonotonicMs() + answerTimeoutMs_ : -1;
  for (;;) {
    // Forget old arrival signals before counting, so an arrival after the
    // count wakes the sleep below instead of being lost.
    link_.ConsumeWakeups();
    std::size_t queued = link_.QueuedByteCount();
    if (link_.Lost()) {
      stop_ = CommandStop::DeviceLost;
      return false;
    }
    if (queued >= cmd::kAnswerLength) return true;

    // Menu commands chosen now (Exit, Cancel, the report items) run here.
    pump_.ProcessPendingEvents();
    if (Stopped()) return false;

    int slice = link_.IsOpen() && link_.WakeDescriptor() < 0 ? kPollSliceMs : kWaitSliceMs;
    int descriptor = link_.WakeDescriptor();
    if (queued > 0 && descriptor >= 0) {
      // Part of the answer is here and the rest cannot come faster than the
      // line carries it: sleep until all but its last byte is due (waking
      // for window events only), instead of waking for every byte.
      int restMs = static_cast<int>((cmd::kAnswerLength - queued - 1) * kByteTimeUs / 1000);
      if (restMs > 0) {
        slice = std::min(slice, restMs);
        descriptor = -1;
      }
    }
    if (deadline >= 0) {
      std::int64_t left = deadline - clock_.MonotonicMs();
      if (left <= 0) {
        stop_ = CommandStop::TimedOut;
        return false;
      }
      slice = static_cast<int>(std::min<std::int64_t>(slice, left));
    }
    // Sleep until new bytes, a window event or the slice's end; never spin.
    pump_.WaitForActivity(descriptor, slice);
  }
}

bool LoggerProtocol::ReadBlock(std::uint16_t address, std::string& answer) {
  answer.clear();
  if (Stopped()) return false;
  if (OnReadBlock) OnReadBlock(address);
  link_.SendString(ReadCommand(address));
  if (!WaitForAnswer()) return false;
  // Everything queued now is the answer; bytes beyond the ones stored are
  // dropped with it.
  answer = link_.ReadQueued();
  if (link_.Lost()) {
    stop_ = CommandStop::DeviceLost;
    return false;
  }
  return true;
}

void LoggerProtocol::StoreAnswer(const std::string& answer, std::size_t count, int index) {
  // A short read (a read error after the wait) stores only what arrived; the
  // other entries keep their values.
  std::size_t n = std::min(count, answer.size());
  for (std::size_t i = 0; i < n; ++i) {
    state_.LoggerData.Set(index + static_cast<int>(i), static_cast<unsigned char>(answer[i]));
  }
}

void LoggerProtocol::ReadPage0() {
  if (Stopped()) return;
  // Bytes queued before the command are not part of its answer.
  DiscardRead();
  std::string answer;
  if (!ReadBlock(cmd::kPage0Address, answer)) return;
  StoreAnswer(answer, cmd::kBlockLength, LoggerStore::kPage0First);
  DiscardRead();
}

void LoggerProtocol::ReadPage2() {
  std::string answer;
  if (!ReadBlock(cmd::kPage2Address, answer)) return;
  StoreAnswer(answer, cmd::kBlockLength, LoggerStore::kPage2First);
  DiscardRead();
}

void LoggerProtocol::ReadSerialNumber() {
  std::string answer;
  if (!ReadBlock(cmd::kSerialNumberAddress, answer)) return;
  // Ten bytes, so the first two alarm entries hold serial bytes 8 and 9
  // until the alarm download overwrites them.
  StoreAnswer(answer, 10, LoggerStore::kSerialNumberFirst);
}

void LoggerProtocol::ReadAlarmRecords() {
  // The three blocks overlap in the store: 32 bytes at 73, then 34 bytes at
  // 105 and at 137 (the last two bytes of each are overwritten by the next).
  struct Block {
    std::uint16_t address;
    std::size_t count;
    int index;
  };
  constexpr Block kBlocks[cmd::kAlarmRecordBlocks] = {
      {cmd::kAlarmRecordsAddress, 32, LoggerStore::kAlarmRecordsFirst},
      {cmd::kAlarmRecordsAddress + 0x20, 34, LoggerStore::kAlarmRecordsFirst + 32},
      {cmd::kAlarmRecordsAddress + 0x40, 34, LoggerStore::kAlarmRecordsFirst + 64},
  };
  for (const Block& block : kBlocks) {
    std::string answer;
    if (!ReadBlock(block.address, answer)) return;
    StoreAnswer(answer, block.count, block.index);
  }
}

void LoggerProtocol::ReadHistogram() {
  for (int k = 0; k < cmd::kHistogramBlocks; ++k) {
    std::string answer;
    if (!ReadBlock(static_cast<std::uint16_t>(cmd::kHistogramAddress + k * cmd::kBlockStride), answer)) return;
    StoreAnswer(answer, cmd::kBlockLength, LoggerStore::kHistogramFirst + 32 * k);
  }
}

void LoggerProtocol::ReadTemperatureLog() {
  for (int k = 0; k < cmd::kTemperatureLogBlocks; ++k) {
    // 64 blocks take seconds: keep the hourglass up and the window alive.
    SetHourglass(true);
    pump_.ProcessPendingEvents();
    std::string answer;
    if (!ReadBlock(static_cast<std::uint16_t>(cmd::kTemperatureLogAddress + k * cmd::kBlockStride), answer)) {
      // The program goes on after a Cancel or a lost device: give the
      // cursor back.
      SetHourglass(false);
      return;
    }
    StoreAnswer(answer, cmd::kBlockLength, LoggerStore::kTemperatureLogFirst + 32 * k);
  }
  SetHourglass(false);
  pump_.ProcessPendingEvents();
}

void LoggerProtocol::WriteByte(std::uint8_t address, std::uint8_t value) {
  if (Stopped()) return;
  const char command[3] = {static_cast<char>(cmd::kWriteByte), static_cast<char>(address), static_cast<char>(value)};
  link_.SendString(std::string_view(command, 3));
}

void LoggerProtocol::SendNewRecording() {
  if (Stopped()) return;
  link_.SendString(std::string(1, static_cast<char>(cmd::kNewRecording)));
  clock_.SleepMs(cmd::kNewRecordingPauseMs);
}

}  // namespace logger
