#include "app/logger_protocol.h"

#include <algorithm>

#include "app/logger_commands.h"

namespace logger {

namespace cmd = commands;

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

void LoggerProtocol::BeginCommand() {
  stop_ = CommandStop::None;
  readSent_ = false;
  answerLength_ = 0;
  answersTaken_ = 0;
  frameProblem_.clear();
}

bool LoggerProtocol::ReadBlock(std::uint16_t address, std::string& answer) {
  answer.clear();
  if (Stopped()) return false;
  if (!readSent_) {
    // Whatever waits before the command's first read is not its answer: a
    // late answer to a command that timed out or was cancelled, or noise.
    if (lineUnsettled_) SettleLine();
    DiscardQueued();
    if (Stopped()) return false;
  } else if (!LineIsClearBeforeRead()) {
    return false;
  }
  if (OnReadBlock) OnReadBlock(address);
  readSent_ = true;
  link_.SendString(ReadCommand(address));
  std::size_t length = AwaitAnswer();
  if (length == 0) return false;
  answer = link_.ReadUpTo(length);
  if (link_.Lost()) {
    stop_ = CommandStop::DeviceLost;
    return false;
  }
  if (answerLength_ == 0) answerLength_ = length;
  lastAnswerMs_ = clock_.MonotonicMs();
  ++answersTaken_;
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
  std::string answer;
  if (!ReadBlock(cmd::kPage0Address, answer)) return;
  StoreAnswer(answer, cmd::kBlockLength, LoggerStore::kPage0First);
}

void LoggerProtocol::ReadPage2() {
  std::string answer;
  if (!ReadBlock(cmd::kPage2Address, answer)) return;
  StoreAnswer(answer, cmd::kBlockLength, LoggerStore::kPage2First);
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
