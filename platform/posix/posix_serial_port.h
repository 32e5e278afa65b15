#pragma once

#include <memory>

#include "platform/serial_port.h"

namespace platform {

// A serial device over termios. Works on real UARTs, USB adapters and
// pseudo-terminals (which refuse the modem-control calls; that is tolerated).
class PosixSerialPort final : public SerialPort {
 public:
  PosixSerialPort() = default;
  ~PosixSerialPort() override;
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  IoError Open(const std::string& path) override;
  void Close() override;
  bool IsOpen() const override { return fd_ >= 0; }
  IoError Write(std::string_view bytes, std::size_t& written) override;
  IoError QueuedCount(std::size_t& count) override;
  IoError Read(std::size_t count, std::string& bytes) override;
  int WakeDescriptor() const override { return epollFd_; }
  void ConsumeWakeups() override;
  DeviceAccess DescribeAccess(const std::string& path) const override;

  int Descriptor() const { return fd_; }
  // Whether the last Open raised DTR and RTS (false on a pseudo-terminal).
  bool ModemLinesRaised() const { return modemLinesRaised_; }

 private:
  int fd_ = -1;
  int epollFd_ = -1;
  bool modemLinesRaised_ = false;
};

std::unique_ptr<SerialPort> CreateSystemSerialPort();

}  // namespace platform
