#pragma once

#include <string>

namespace platform {

// The closed set of ways an I/O call can end. System error numbers are
// translated into it in one place (IoErrorFromErrno) so callers never look at
// errno themselves.
enum class IoStatus {
  Ok,
  NotOpen,       // no device is open
  NotFound,      // the device or file does not exist
  AccessDenied,  // permissions
  Busy,          // the device is held by another program (exclusive mode, a lock)
  DeviceLost,    // the device went away (hang-up, unplugged, I/O error)
  Interrupted,   // a signal ended the call
  NotAFile,      // a folder, pipe, socket or device where a file was wanted
  Failed,        // anything else; systemError says what
};

struct IoError {
  IoStatus status = IoStatus::Ok;
  int systemError = 0;  // errno value when the status came from the system

  bool Ok() const { return status == IoStatus::Ok; }
  // The system's own wording for the failure ("No such file or directory").
  std::string Describe() const;
};

IoError IoErrorFromErrno(int systemError);

}  // namespace platform
