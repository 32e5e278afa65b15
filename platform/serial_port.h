#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/io_status.h"

namespace platform {

// Who may open a device node, so that a refused open can name the fix.
struct DeviceAccess {
  bool known = false;               // the node could be examined
  std::string owner;                // owning user ("root")
  std::string group;                // owning group ("dialout")
  bool groupMayReadWrite = false;   // the group has read and write permission
  std::string userName;             // who runs this program
  bool userInGroup = false;         // the user database lists the user in `group`
  bool sessionHasGroup = false;     // this process already runs with `group`
};

// One serial device: raw 8-bit bytes, no flow control, never blocking.
// The recorder protocol polls QueuedCount and reads exactly what is queued, so
// no read or write time-outs exist at this level.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens and configures the device (9600 8N1, raw, DTR and RTS raised where
  // the device supports modem control). A failure to read the current line
  // settings leaves the device open and unconfigured, as the system found it.
  // Bytes received before the open are dropped.
  virtual IoError Open(const std::string& path) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // One write of all bytes; `written` gets the count the system took.
  virtual IoError Write(std::string_view bytes, std::size_t& written) = 0;
  // Bytes received and waiting to be read. DeviceLost once the device is gone.
  virtual IoError QueuedCount(std::size_t& count) = 0;
  // One read of at most `count` bytes; `bytes` holds what was actually read.
  virtual IoError Read(std::size_t count, std::string& bytes) = 0;

  // A descriptor that becomes readable when new input or a hang-up arrives
  // after the last ConsumeWakeups(), so a waiter can sleep instead of
  // polling; -1 when the port offers none (then waiters sleep on time alone).
  virtual int WakeDescriptor() const = 0;
  // Forgets the arrivals signalled so far; call it before checking the count.
  virtual void ConsumeWakeups() = 0;

  // Who may open the device at `path` (after an open was refused); unknown
  // when the port cannot tell.
  virtual DeviceAccess DescribeAccess(const std::string& path) const {
    (void)path;
    return {};
  }
};

}  // namespace platform
