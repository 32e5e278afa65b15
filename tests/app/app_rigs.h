#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "app/logger_protocol.h"
#include "app/logger_store.h"
#include "app/serial_link.h"
#include "tests/support/explicit_port.h"
#include "tests/support/support_fakes.h"
#include "tests/support/support_memory_port.h"

namespace apptest {

// The device path memory-port tests "open"; nothing on disk is touched.
inline const std::string kMemoryDevice = "/tmp/quorvel-memory-recorder";

inline std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// The read command for a block, spelled out byte by byte.
inline std::string ReadCommandFor(std::uint16_t address) { return Bytes({0x33, address >> 8, address & 0xFF}); }

// Store entries [first, first + count) hold the recorder's bytes from
// `address` on.
inline ::testing::AssertionResult HoldsMemory(const logger::LoggerStore& store, int first, std::uint16_t address,
                                              int count) {
  for (int i = 0; i < count; ++i) {
    int expected = testsupport::PatternByte(static_cast<std::uint16_t>(address + i));
    if (store.At(first + i) != expected) {
      return ::testing::AssertionFailure() << "entry " << first + i << " is " << store.At(first + i)
                                           << ", expected byte " << expected << " of address 0x" << std::hex
                                           << address + i;
    }
  }
  return ::testing::AssertionSuccess();
}

// Store entries [first, last] all equal `value`.
inline ::testing::AssertionResult AllEqual(const logger::LoggerStore& store, int first, int last, int value) {
  for (int i = first; i <= last; ++i) {
    if (store.At(i) != value) {
      return ::testing::AssertionFailure() << "entry " << i << " is " << store.At(i) << ", expected " << value;
    }
  }
  return ::testing::AssertionSuccess();
}

inline void Fill(logger::LoggerStore& store, int first, int last, int value) {
  for (int i = first; i <= last; ++i) store.Set(i, value);
}

// The protocol over the in-memory recorder, with a fake clock and a pump that
// "sleeps" by moving that clock.
struct MemoryRig {
  explicit MemoryRig(sim::Faults faults = {}, sim::RecorderMemory memory = testsupport::PatternedMemory())
      : MemoryRig(std::make_unique<testsupport::MemoryRecorderPort>(std::move(memory), faults)) {}

  testsupport::MemoryRecorderPort& port;
  logger::SerialLink link;
  logger::LoggerState state;
  testsupport::FakeClock clock;
  testsupport::CountingPump pump;
  testsupport::RecordingCursor cursor;
  logger::LoggerProtocol protocol;

  // The six procedures in the order a full download runs them.
  void ReadAll() {
    protocol.ReadPage0();
    protocol.ReadPage2();
    protocol.ReadSerialNumber();
    protocol.ReadAlarmRecords();
    protocol.ReadHistogram();
    protocol.ReadTemperatureLog();
  }

 private:
  explicit MemoryRig(std::unique_ptr<testsupport::MemoryRecorderPort> owned)
      : port(*owned), link(std::move(owned)), protocol(link, state, pump, clock, cursor) {
    pump.clock = &clock;
    EXPECT_TRUE(link.OpenPort(testsupport::RequireExplicitPort(kMemoryDevice)).Ok());
  }
};

}  // namespace apptest
