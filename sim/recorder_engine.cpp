#include "sim/recorder_engine.h"

#include "sim/recorder_layout.h"

#include <algorithm>

namespace sim {

namespace {

constexpr std::uint8_t kReadBlock = 0x33;
constexpr std::uint8_t kWriteByte = 0x22;
constexpr std::uint8_t kSingleA5 = 0xA5;
constexpr char kFiller = '\xEE';  // extra and stale bytes

// Write addresses are one byte; only pages 0 and 2 take them.
bool Writable(std::uint8_t address) {
  return address < 0x20 || (address >= 0x40 && address < 0x60);
}

}  // namespace

RecorderEngine::RecorderEngine(RecorderMemory& memory, Faults faults)
    : memory_(memory), faults_(faults) {}

std::string RecorderEngine::StaleBytes() const {
  return std::string(faults_.stale > 0 ? static_cast<std::size_t>(faults_.stale) : 0, kFiller);
}

Reply RecorderEngine::Receive(std::string_view bytes, std::int64_t nowMs) {
  Reply reply;
  if (hungUp_) return reply;
  pending_.append(bytes);
  std::size_t pos = 0;
  while (pos < pending_.size()) {
    auto op = static_cast<std::uint8_t>(pending_[pos]);
    std::size_t length = (op == kReadBlock || op == kWriteByte) ? 3 : op == kSingleA5 ? 1 : 0;
    if (length == 0) {  // not a command: drop it and look for the next one
      ++pos;
      continue;
    }
    if (pending_.size() - pos < length) break;  // the rest is still on its way
    std::string command = pending_.substr(pos, length);
    pos += length;
    commands_.push_back(command);
    if (op == kWriteByte) {
      auto address = static_cast<std::uint8_t>(command[1]);
      if (Writable(address)) memory_.Write(address, static_cast<std::uint8_t>(command[2]), nowMs);
    } else if (op == kReadBlock) {
      auto address = static_cast<std::uint16_t>(static_cast<std::uint8_t>(command[1]) << 8 |
                                                static_cast<std::uint8_t>(command[2]));
      Answer(address, nowMs, reply);
      if (hungUp_) {
        pending_.clear();
        return reply;
      }
    }
  }
  pending_.erase(0, pos);
  return reply;
}

void RecorderEngine::Answer(std::uint16_t address, std::int64_t nowMs, Reply& reply) {
  if (silent_) return;
  if (faults_.silentAfter >= 0 && answered_ >= faults_.silentAfter) {
    silent_ = true;
    return;
  }
  if (faults_.hangupAfter >= 0 && answered_ >= faults_.hangupAfter) {
    hungUp_ = reply.hangUp = true;
    return;
  }

  std::string answer;
  answer.reserve(kAnswerSize + (faults_.extra > 0 ? faults_.extra : 0));
  unsigned sum = 0;
  for (int i = 0; i < kBlockSize; ++i) {
    std::uint8_t byte = memory_.Read(static_cast<std::uint16_t>(address + i), nowMs);
    sum += byte;
    answer.push_back(static_cast<char>(byte));
  }
  answer.push_back(static_cast<char>(sum & 0xFF));
  answer.push_back(static_cast<char>((sum >> 8) & 0xFF));
  const int number = answered_ + 1;
  const bool extraHere = faults_.extraOnly.empty() ||
                         std::find(faults_.extraOnly.begin(), faults_.extraOnly.end(), number) != faults_.extraOnly.end();
  if (faults_.extra > 0 && extraHere) answer.append(static_cast<std::size_t>(faults_.extra), kFiller);
  if (faults_.strayAfter == number) answer.push_back(kFiller);

  if (faults_.fragment > 0) {
    auto size = static_cast<std::size_t>(faults_.fragment);
    for (std::size_t at = 0; at < answer.size(); at += size) {
      reply.pieces.push_back(answer.substr(at, size));
    }
  } else {
    reply.pieces.push_back(std::move(answer));
  }

  ++answered_;
  if (faults_.hangupAfter >= 0 && answered_ >= faults_.hangupAfter) hungUp_ = reply.hangUp = true;
}

}  // namespace sim
