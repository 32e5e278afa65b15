#pragma once

#include "platform/file_system.h"

namespace platform {

class PosixFileSystem final : public FileSystem {
 public:
  IoError ReadFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes) override;
  IoError WriteFileAtomically(const std::string& path, std::string_view bytes) override;
  bool Exists(const std::string& path) override;
};

}  // namespace platform
