#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "sim/recorder_engine.h"
#include "sim/recorder_memory.h"

namespace testsupport {

// A serial port whose far end is the simulated recorder's byte engine, in
// memory: no thread, no timing, any fault on demand. What the engine sends
// back is released one piece per QueuedCount call, so an answer in pieces
// shows up gradually to a waiter that polls the count.
//
// The port records every write, every read request and the order of both,
// so tests can tell exactly what went over the line and when it was read.
class MemoryRecorderPort final : public platform::SerialPort {
 public:
  explicit MemoryRecorderPort(sim::RecorderMemory memory = {}, sim::Faults faults = {});
  // The engine works on memory_ by reference.
  MemoryRecorderPort(const MemoryRecorderPort&) = delete;
  MemoryRecorderPort& operator=(const MemoryRecorderPort&) = delete;

  // --- platform::SerialPort
  platform::IoError Open(const std::string& path) override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  platform::IoError Write(std::string_view bytes, std::size_t& written) override;
  platform::IoError QueuedCount(std::size_t& count) override;
  platform::IoError Read(std::size_t count, std::string& bytes) override;
  int WakeDescriptor() const override { return -1; }
  void ConsumeWakeups() override { ++consumeWakeupsCalls_; }
  platform::DeviceAccess DescribeAccess(const std::string&) const override { return access; }

  // --- What the test arranges
  // Opening a path in this set fails with NotFound, like a missing adapter.
  std::set<std::string> missingPaths;
  // Opening a path in this map fails with its error (permissions, a busy
  // device); `access` is what DescribeAccess tells about any path.
  std::map<std::string, platform::IoError> refusedPaths;
  platform::DeviceAccess access;
  // Bytes on the line before anything is sent (the engine's own stale bytes
  // are queued at construction).
  void InjectBytes(const std::string& bytes);
  // The line goes dead: pieces not yet released are lost, and every call
  // after this reports DeviceLost.
  void InjectHangUp();
  // Holds back every reply while set, as if the recorder had gone quiet.
  void SetSilent(bool silent) { silent_ = silent; }
  // The next Read returns at most this many bytes (a read error after the wait).
  void LimitNextRead(std::size_t limit) { nextReadLimit_ = limit; }
  // The next Write takes only this many bytes.
  void LimitNextWrite(std::size_t limit) { nextWriteLimit_ = limit; }
  // Runs inside Read before it returns, to re-enter the caller.
  std::function<void()> OnRead;

  // --- What the test inspects
  struct ReadCall {
    std::size_t requested;  // bytes asked for
    std::size_t available;  // bytes that had been released to the reader then
  };
  struct Event {
    char kind;          // 'W' write, 'R' read
    std::size_t bytes;  // bytes written, or bytes asked for
  };
  const std::vector<std::string>& Writes() const { return writes_; }
  const std::vector<ReadCall>& Reads() const { return reads_; }
  const std::vector<Event>& Events() const { return events_; }
  const std::vector<std::string>& OpenedPaths() const { return openedPaths_; }
  // Complete commands the recorder parsed, and each read command's answer as
  // the engine produced it (all its pieces joined).
  const std::vector<std::string>& Commands() const { return engine_.Commands(); }
  const std::vector<std::string>& Answers() const { return answers_; }
  // Bytes released to the reader and not yet read, and pieces still held.
  std::size_t Released() const { return received_.size(); }
  std::size_t PendingPieces() const { return pieces_.size(); }
  int QueuedCountCalls() const { return queuedCountCalls_; }
  int ConsumeWakeupsCalls() const { return consumeWakeupsCalls_; }
  int CloseCalls() const { return closeCalls_; }
  sim::RecorderMemory& Memory() { return memory_; }

 private:
  platform::IoError Lost() const;

  sim::RecorderMemory memory_;
  sim::RecorderEngine engine_;
  bool open_ = false;
  bool hungUp_ = false;         // the line is dead now
  bool hangUpPending_ = false;  // dead once the last answer has been read
  bool silent_ = false;
  std::size_t nextReadLimit_ = static_cast<std::size_t>(-1);
  std::size_t nextWriteLimit_ = static_cast<std::size_t>(-1);
  std::deque<std::string> pieces_;  // sent by the recorder, not yet arrived
  std::string received_;            // arrived and waiting to be read
  std::vector<std::string> writes_;
  std::vector<ReadCall> reads_;
  std::vector<Event> events_;
  std::vector<std::string> openedPaths_;
  std::vector<std::string> answers_;
  int queuedCountCalls_ = 0;
  int consumeWakeupsCalls_ = 0;
  int closeCalls_ = 0;
};

// Memory whose every byte depends on its address, so a block stored at the
// wrong place, shifted by one or taken from the wrong address shows up.
sim::RecorderMemory PatternedMemory();
std::uint8_t PatternByte(std::uint16_t address);

}  // namespace testsupport
