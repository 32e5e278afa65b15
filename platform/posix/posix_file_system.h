#pragma once

#include "platform/file_system.h"

namespace platform {

class PosixFileSystem final : public FileSystem {
 public:
  FileFacts Examine(const std::string& path) override;
  IoError ReadFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes) override;
  IoError WriteFiles(const std::vector<FileContent>& files, std::vector<bool>& written, std::size_t& failed) override;
  IoError WriteNewFiles(const std::vector<FileContent>& files) override;
  IoError MakeFolders(const std::string& path) override;
  IoError ListFolder(const std::string& path, std::vector<std::string>& names) override;
  bool Exists(const std::string& path) override;
};

}  // namespace platform
