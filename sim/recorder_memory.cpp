#include "sim/recorder_memory.h"

#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sim/recorder_clock.h"

namespace sim {

namespace {

// Offsets of the clock fields in page 0.
constexpr int kSeconds = 0;
constexpr int kDayOfWeek = 3;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::string ErrnoText(const std::string& what, const std::string& path) {
  return what + " '" + path + "': " + std::strerror(errno);
}

}  // namespace

std::int64_t MonotonicMs() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

RecorderMemory::RecorderMemory() = default;

std::uint8_t RecorderMemory::Read(std::uint16_t address, std::int64_t nowMs) const {
  if (address <= 6 && clockRunning_) {
    std::uint8_t clock[7];
    ClockBytesAt(nowMs, clock);
    return clock[address];
  }
  return bytes_[address];
}

void RecorderMemory::Write(std::uint16_t address, std::uint8_t value, std::int64_t nowMs) {
  if (address > 6) {
    bytes_[address] = value;
    return;
  }
  // Like a real clock chip, only a write to the seconds restarts the
  // sub-second divider; setting the other fields one by one must not lose
  // the fraction of a second already counted.
  std::int64_t phaseMs = 0;
  if (clockRunning_ && address != kSeconds) {
    phaseMs = nowMs - clockBaseMs_;
    phaseMs -= FloorDiv(phaseMs, 1000) * 1000;
  }
  StoreClock(nowMs);
  bytes_[address] = value;
  RestartClock(nowMs - phaseMs);
}

void RecorderMemory::StartClock(std::time_t localTime, std::int64_t nowMs) {
  tm local{};
  ::localtime_r(&localTime, &local);
  ClockTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec > 59 ? 59 : local.tm_sec;
  EncodeClock(t, local.tm_wday + 1, bytes_.data());
  RestartClock(nowMs);
}

std::array<std::uint8_t, RecorderMemory::kSize> RecorderMemory::Image(std::int64_t nowMs) const {
  std::array<std::uint8_t, kSize> image = bytes_;
  if (clockRunning_) ClockBytesAt(nowMs, image.data());
  return image;
}

void RecorderMemory::StoreClock(std::int64_t nowMs) {
  if (clockRunning_) ClockBytesAt(nowMs, bytes_.data());
}

void RecorderMemory::RestartClock(std::int64_t baseMs) {
  ClockTime t;
  clockRunning_ = DecodeClock(bytes_.data(), t);
  if (clockRunning_) {
    clockBaseSeconds_ = SecondsSince2000(t);
    clockBaseMs_ = baseMs;
  }
}

void RecorderMemory::ClockBytesAt(std::int64_t nowMs, std::uint8_t out[7]) const {
  // Before the clock was set (a caller's earlier time stamp) it shows the
  // time it was set to rather than running backwards.
  std::int64_t elapsed = nowMs > clockBaseMs_ ? (nowMs - clockBaseMs_) / 1000 : 0;
  std::int64_t now = clockBaseSeconds_ + elapsed;
  // The day of the week is a field of its own: it advances at midnight from
  // whatever was written, right or wrong, and an invalid one stays as it is.
  int dayOfWeek = bytes_[kDayOfWeek];
  int written = 0;
  if (FromBcd(bytes_[kDayOfWeek], written) && written >= 1 && written <= 7) {
    std::int64_t days = FloorDiv(now, 86400) - FloorDiv(clockBaseSeconds_, 86400);
    dayOfWeek = static_cast<int>((written - 1 + days) % 7) + 1;
    dayOfWeek = ToBcd(dayOfWeek);
  }
  EncodeClock(FromSecondsSince2000(now), 0, out);
  out[kDayOfWeek] = static_cast<std::uint8_t>(dayOfWeek);
}

bool RecorderMemory::LoadImage(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    if (error) *error = ErrnoText("cannot open image", path);
    return false;
  }
  std::array<std::uint8_t, kSize> image{};
  std::size_t length = std::fread(image.data(), 1, kSize, file);
  bool readError = std::ferror(file) != 0;
  int savedErrno = errno;
  // One byte more than the address space means the file is too long.
  bool tooLong = !readError && length == kSize && std::fgetc(file) != EOF;
  std::fclose(file);
  if (readError) {
    errno = savedErrno;
    if (error) *error = ErrnoText("cannot read image", path);
    return false;
  }
  if (tooLong) {
    if (error) {
      *error = "image '" + path + "' is longer than the recorder's " + std::to_string(kSize) +
               " bytes";
    }
    return false;
  }
  bytes_ = image;
  RestartClock(MonotonicMs());
  return true;
}

bool RecorderMemory::SaveImage(const std::string& path, std::string* error) const {
  std::array<std::uint8_t, kSize> image = Image(MonotonicMs());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    if (error) *error = ErrnoText("cannot write image", path);
    return false;
  }
  bool written = std::fwrite(image.data(), 1, kSize, file) == kSize;
  int writeErrno = errno;
  bool closed = std::fclose(file) == 0;  // a full disk may only show here
  if (written && closed) return true;
  if (!written) errno = writeErrno;
  if (error) *error = ErrnoText("cannot write image", path);
  return false;
}

}  // namespace sim
