#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/io_status.h"
#include "platform/serial_port.h"

namespace logger {

// The thin layer between the recorder protocol and the serial device: opens
// one port, writes byte strings whole, tells how many received bytes wait,
// and reads exactly those. It never blocks waiting for data.
class SerialLink {
 public:
  explicit SerialLink(std::unique_ptr<platform::SerialPort> port);

  // Opens and configures the device; closes whatever was open first. On
  // failure the link stays closed and the error says why.
  platform::IoError OpenPort(const std::string& devicePath);
  void ClosePort();
  bool IsOpen() const { return port_->IsOpen(); }
  const std::string& DevicePath() const { return devicePath_; }

  // One write of all bytes; true when all were taken. False when closed.
  bool SendString(std::string_view bytes);
  // Bytes waiting in the input queue; 0 when closed or when the device is lost.
  std::size_t QueuedByteCount();
  // All waiting bytes, or the empty string (also when a read is already running).
  std::string ReadQueued();
  // At most `limit` of the waiting bytes, in one read; the rest stay queued.
  std::string ReadUpTo(std::size_t limit);
  bool ReadBusy() const { return readBusy_; }

  // Set when the device went away (I/O error, hang-up) and cleared by the next
  // successful query, OpenPort or ClosePort; `LostReason` tells the system's
  // wording.
  bool Lost() const { return lost_.status != platform::IoStatus::Ok; }
  std::string LostReason() const { return lost_.Describe(); }

  // Who may open the device at `path`, to explain a refused open.
  platform::DeviceAccess DescribeAccess(const std::string& path) const { return port_->DescribeAccess(path); }

  // Lets a waiter sleep until new input arrives (see SerialPort).
  int WakeDescriptor() const { return port_->WakeDescriptor(); }
  void ConsumeWakeups() { port_->ConsumeWakeups(); }

 private:
  void NoteResult(const platform::IoError& result);

  std::unique_ptr<platform::SerialPort> port_;
  std::string devicePath_;
  bool readBusy_ = false;
  platform::IoError lost_;
};

}  // namespace logger
