#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/recorder_memory.h"

namespace sim {

// Faults a test (or the command line) can ask of the simulated recorder.
struct Faults {
  int fragment = 0;       // answer in pieces of this many bytes (0: whole)
  int extra = 0;          // this many more bytes after each 34-byte answer
  std::vector<int> extraOnly;  // answers (the first is 1) that get the extra bytes; empty: all
  int strayAfter = -1;    // one more byte right after this answer (the first is 1; -1: never)
  int stale = 0;          // bytes queued before the first command
  int silentAfter = -1;   // answer only this many read commands, then stay silent (-1: never)
  int hangupAfter = -1;   // hang up after answering this many read commands (-1: never)
  int baud = 0;           // 0: memory speed; otherwise bytes paced at 10 bits each
};

// What the recorder sends back for the bytes received so far.
struct Reply {
  std::vector<std::string> pieces;  // in order; each piece is one write
  bool hangUp = false;              // close the line after sending the pieces
};

// The recorder's byte-level behaviour without any I/O: it parses commands out
// of the received byte stream (they may arrive split across calls) and says
// what to send back. Read block: 33 hi lo -> 32 memory bytes from the address
// and two more (their 16-bit sum, low byte first). Write byte: 22 addr value
// (pages 0 and 2 only; other addresses are ignored). A5: accepted, no answer.
// Unknown bytes are dropped. With hangupAfter 0 the first read command hangs
// up without an answer.
class RecorderEngine {
 public:
  RecorderEngine(RecorderMemory& memory, Faults faults);

  Reply Receive(std::string_view bytes, std::int64_t nowMs);
  std::string StaleBytes() const;  // faults.stale bytes of 0xEE

  // Every complete command received so far, as its bytes (for tests).
  const std::vector<std::string>& Commands() const { return commands_; }
  int ReadCommandsAnswered() const { return answered_; }

 private:
  RecorderMemory& memory_;
  Faults faults_;
  std::string pending_;
  std::vector<std::string> commands_;
  int answered_ = 0;
  bool silent_ = false;
  bool hungUp_ = false;  // nothing more is read or answered
  void Answer(std::uint16_t address, std::int64_t nowMs, Reply& reply);
};

}  // namespace sim
