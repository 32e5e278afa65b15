#include "platform/file_system.h"

namespace platform {

IoError FileSystem::WriteFileAtomically(const std::string& path, std::string_view bytes) {
  std::vector<bool> written;
  std::size_t failed = 0;
  return WriteFiles({FileContent{path, std::string(bytes)}}, written, failed);
}

}  // namespace platform
