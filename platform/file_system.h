#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/io_status.h"

namespace platform {

// The few file operations the data files need, with the system's error for
// each failure.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads at most `maxBytes` from the start of the file.
  virtual IoError ReadFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes) = 0;

  // Replaces the file's content as one step: the bytes go to a temporary file
  // in the same folder, which is renamed over the target only once all of
  // them are written, so a failure part-way leaves the old file as it was.
  // A target that is not a regular file (a device, say) is written in place.
  virtual IoError WriteFileAtomically(const std::string& path, std::string_view bytes) = 0;

  virtual bool Exists(const std::string& path) = 0;
};

}  // namespace platform
