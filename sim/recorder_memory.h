#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

namespace sim {

// CLOCK_MONOTONIC in milliseconds: the time base of every `nowMs` below and of
// the pty server's command times.
std::int64_t MonotonicMs();

// The recorder's 64 KiB address space. Page 0 (0000-001F) carries a running
// clock in BCD; page 2 (0040-005F) the description; 0200 the serial number;
// 0220-027F the alarm records; 0800-087F the histogram; 1000-17FF the log.
class RecorderMemory {
 public:
  static constexpr std::size_t kSize = 0x10000;

  RecorderMemory();  // every byte 0, clock stopped at 00:00:00

  // A self-consistent recording: 2048 samples of a cold room at 15-minute
  // intervals, the histogram and alarm records computed from those samples,
  // sample counts, start time, thresholds, description and serial number.
  // The clock runs from `clockStart` (local time).
  static RecorderMemory Plausible(std::time_t clockStart);

  // Memory as the recorder would answer it at monotonic time `nowMs`: the
  // clock bytes 0..6 show the time set plus the time elapsed since.
  std::uint8_t Read(std::uint16_t address, std::int64_t nowMs) const;
  // A write from the host. Clock fields (offsets 0..6) restart the running
  // clock from the written value at `nowMs`.
  void Write(std::uint16_t address, std::uint8_t value, std::int64_t nowMs);

  // Sets the clock fields (offsets 0..6) from `localTime` and runs the clock
  // from there, as if set at monotonic time `nowMs`.
  void StartClock(std::time_t localTime, std::int64_t nowMs);
  bool ClockRunning() const { return clockRunning_; }
  // The whole address space as a full read would see it at `nowMs`.
  std::array<std::uint8_t, kSize> Image(std::int64_t nowMs) const;

  // Raw bytes without the running clock applied (for images and tests);
  // offsets 0..6 hold the clock as it was last set.
  const std::array<std::uint8_t, kSize>& Raw() const { return bytes_; }
  std::array<std::uint8_t, kSize>& Raw() { return bytes_; }

  // Image files are the raw 64 KiB; a shorter file fills from address 0 and
  // the rest of memory becomes 0. A loaded clock runs on from its fields
  // (it stays stopped when they are no valid date and time). Saving writes
  // the clock as it reads now.
  bool LoadImage(const std::string& path, std::string* error);
  bool SaveImage(const std::string& path, std::string* error) const;

 private:
  std::array<std::uint8_t, kSize> bytes_{};
  // The clock runs while clockRunning_: bytes 0..6 are derived from
  // clockBase_ (seconds since 2000-01-01 00:00, local) plus elapsed time.
  bool clockRunning_ = false;
  std::int64_t clockBaseSeconds_ = 0;
  std::int64_t clockBaseMs_ = 0;
  void StoreClock(std::int64_t nowMs);
  // Runs the clock from the fields in bytes 0..6 as of `baseMs`, or stops it
  // when they are no valid date and time.
  void RestartClock(std::int64_t baseMs);
  void ClockBytesAt(std::int64_t nowMs, std::uint8_t out[7]) const;
  friend class RecorderEngine;
};

}  // namespace sim
