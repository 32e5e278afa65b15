#include "tests/support/support_memory_port.h"

#include <algorithm>
#include <cerrno>

namespace testsupport {

namespace {
// The engine's clock never runs here: answers must not depend on when a test
// happens to run.
constexpr std::int64_t kEngineTimeMs = 0;
}  // namespace

MemoryRecorderPort::MemoryRecorderPort(sim::RecorderMemory memory, sim::Faults faults)
    : memory_(std::move(memory)), engine_(memory_, faults) {
  std::string stale = engine_.StaleBytes();
  if (!stale.empty()) pieces_.push_back(stale);
}

platform::IoError MemoryRecorderPort::Open(const std::string& path) {
  // A device is held exclusively: a second open while it is open fails, so a
  // caller that forgets to close before reopening is caught.
  if (open_) return {platform::IoStatus::Busy, EBUSY};
  if (missingPaths.count(path) != 0) return {platform::IoStatus::NotFound, ENOENT};
  if (auto refused = refusedPaths.find(path); refused != refusedPaths.end()) return refused->second;
  openedPaths_.push_back(path);
  open_ = true;
  // A new connection: whatever killed the old one is gone.
  hungUp_ = hangUpPending_ = false;
  return {};
}

void MemoryRecorderPort::Close() {
  if (open_) ++closeCalls_;
  open_ = false;
}

platform::IoError MemoryRecorderPort::Lost() const { return {platform::IoStatus::DeviceLost, EIO}; }

void MemoryRecorderPort::InjectBytes(const std::string& bytes) { pieces_.push_back(bytes); }

void MemoryRecorderPort::InjectHangUp() {
  pieces_.clear();
  hungUp_ = true;
}

platform::IoError MemoryRecorderPort::Write(std::string_view bytes, std::size_t& written) {
  written = 0;
  if (!open_) return {platform::IoStatus::NotOpen, 0};
  if (hungUp_) return Lost();
  std::size_t taken = std::min(bytes.size(), nextWriteLimit_);
  nextWriteLimit_ = static_cast<std::size_t>(-1);
  writes_.emplace_back(bytes.substr(0, taken));
  events_.push_back({'W', taken});
  written = taken;

  std::size_t answersBefore = static_cast<std::size_t>(engine_.ReadCommandsAnswered());
  sim::Reply reply = engine_.Receive(bytes.substr(0, taken), kEngineTimeMs);
  std::string joined;
  for (std::string& piece : reply.pieces) {
    joined += piece;
    pieces_.push_back(std::move(piece));
  }
  if (static_cast<std::size_t>(engine_.ReadCommandsAnswered()) > answersBefore) answers_.push_back(joined);
  if (reply.hangUp) hangUpPending_ = true;
  return {};
}

platform::IoError MemoryRecorderPort::QueuedCount(std::size_t& count) {
  count = 0;
  ++queuedCountCalls_;
  if (!open_) return {platform::IoStatus::NotOpen, 0};
  if (hungUp_) return Lost();
  if (!silent_ && !pieces_.empty()) {
    received_ += pieces_.front();
    pieces_.pop_front();
  } else if (hangUpPending_ && pieces_.empty() && received_.empty()) {
    // The recorder closes the line once its last answer has been read.
    hungUp_ = true;
    return Lost();
  }
  count = received_.size();
  return {};
}

platform::IoError MemoryRecorderPort::Read(std::size_t count, std::string& bytes) {
  bytes.clear();
  if (!open_) return {platform::IoStatus::NotOpen, 0};
  reads_.push_back({count, received_.size()});
  events_.push_back({'R', count});
  std::size_t n = std::min({count, received_.size(), nextReadLimit_});
  nextReadLimit_ = static_cast<std::size_t>(-1);
  bytes = received_.substr(0, n);
  received_.erase(0, n);
  if (OnRead) {
    std::function<void()> hook = OnRead;  // the hook may replace itself
    hook();
  }
  if (hungUp_ && n == 0) return Lost();
  return {};
}

std::uint8_t PatternByte(std::uint16_t address) {
  // Never 0, so a stored byte cannot pass for an untouched entry; neighbours
  // and blocks 32 apart all differ.
  unsigned h = address * 73u + (address >> 8) * 29u + 5u;
  return static_cast<std::uint8_t>(h % 255u + 1u);
}

sim::RecorderMemory PatternedMemory() {
  sim::RecorderMemory memory;
  for (std::size_t a = 0; a < sim::RecorderMemory::kSize; ++a) {
    memory.Raw()[a] = PatternByte(static_cast<std::uint16_t>(a));
  }
  return memory;
}

}  // namespace testsupport
