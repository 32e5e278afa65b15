#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace simtest {

std::int64_t MonotonicNs();

// The far end of the line as a program would open it: raw 9600 8N1,
// non-blocking, no controlling terminal.
class PtyClient {
 public:
  explicit PtyClient(const std::string& path);
  ~PtyClient();
  PtyClient(const PtyClient&) = delete;
  PtyClient& operator=(const PtyClient&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  void Send(std::string_view bytes);
  // Reads until `count` bytes are in or `timeoutMs` has passed; returns what
  // arrived. `lastByteNs` (if given) gets the time the final byte was read.
  std::string Read(std::size_t count, int timeoutMs, std::int64_t* lastByteNs = nullptr);
  // FIONREAD; -errno when it fails.
  int Queued() const;
  void Close();

 private:
  int fd_ = -1;
};

}  // namespace simtest
