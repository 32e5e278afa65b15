#include "platform/io_status.h"

#include <cerrno>
#include <cstring>

namespace platform {

IoError IoErrorFromErrno(int systemError) {
  IoError e;
  e.systemError = systemError;
  switch (systemError) {
    case 0: e.status = IoStatus::Ok; break;
    case ENOENT:
    case ENODEV:
    case ENXIO: e.status = IoStatus::NotFound; break;
    case EACCES:
    case EPERM: e.status = IoStatus::AccessDenied; break;
    case EBUSY: e.status = IoStatus::Busy; break;
    case EIO:
    case EPIPE:
    case EBADF: e.status = IoStatus::DeviceLost; break;
    case EINTR: e.status = IoStatus::Interrupted; break;
    default: e.status = IoStatus::Failed; break;
  }
  return e;
}

std::string IoError::Describe() const {
  if (systemError != 0) return std::strerror(systemError);
  switch (status) {
    case IoStatus::Ok: return "no error";
    case IoStatus::NotOpen: return "port not open";
    case IoStatus::NotFound: return "no such device";
    case IoStatus::AccessDenied: return "access denied";
    case IoStatus::Busy: return "device busy";
    case IoStatus::DeviceLost: return "device lost";
    case IoStatus::Interrupted: return "interrupted";
    case IoStatus::NotAFile: return "not a file";
    case IoStatus::Failed: return "failed";
  }
  return "failed";
}

}  // namespace platform
