#include "app/serial_link.h"

#include <algorithm>

namespace logger {

SerialLink::SerialLink(std::unique_ptr<platform::SerialPort> port) : port_(std::move(port)) {}

platform::IoError SerialLink::OpenPort(const std::string& devicePath) {
  // Reopening the port that is open now must succeed: close it first.
  ClosePort();
  devicePath_ = devicePath;
  return port_->Open(devicePath);
}

void SerialLink::ClosePort() {
  port_->Close();
  lost_ = {};
}

bool SerialLink::SendString(std::string_view bytes) {
  if (!port_->IsOpen()) return false;
  std::size_t written = 0;
  platform::IoError result = port_->Write(bytes, written);
  NoteResult(result);
  return result.Ok() && written == bytes.size();
}

std::size_t SerialLink::QueuedByteCount() {
  if (!port_->IsOpen()) return 0;
  std::size_t count = 0;
  platform::IoError result = port_->QueuedCount(count);
  NoteResult(result);
  return result.Ok() ? count : 0;
}

std::string SerialLink::ReadQueued() { return ReadUpTo(static_cast<std::size_t>(-1)); }

std::string SerialLink::ReadUpTo(std::size_t limit) {
  std::string result;
  if (readBusy_) return result;
  readBusy_ = true;
  if (port_->IsOpen()) {
    std::size_t n = std::min(QueuedByteCount(), limit);
    if (n > 0) {
      platform::IoError status = port_->Read(n, result);  // cut to what was read
      NoteResult(status);
    }
  }
  readBusy_ = false;
  return result;
}

void SerialLink::NoteResult(const platform::IoError& result) {
  if (result.status == platform::IoStatus::DeviceLost) {
    lost_ = result;
  } else if (result.Ok()) {
    lost_ = {};
  }
}

}  // namespace logger
