#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

namespace {

IoError WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return IoErrorFromErrno(errno);
    }
    if (n == 0) return IoErrorFromErrno(ENOSPC);
    done += static_cast<std::size_t>(n);
  }
  return {};
}

// The file a path ends at, so that saving through a link replaces the
// linked file and keeps the link.
std::string ResolvedTarget(const std::string& path) {
  std::vector<char> buffer(PATH_MAX + 1);
  std::string current = path;
  for (int hops = 0; hops < 16; ++hops) {
    ssize_t n = ::readlink(current.c_str(), buffer.data(), PATH_MAX);
    if (n < 0) return current;
    std::string target(buffer.data(), static_cast<std::size_t>(n));
    if (!target.empty() && target[0] != '/') {
      auto slash = current.rfind('/');
      if (slash != std::string::npos) target = current.substr(0, slash + 1) + target;
    }
    current = target;
  }
  return current;
}

}  // namespace

IoError PosixFileSystem::ReadFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return IoErrorFromErrno(errno);
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return IoErrorFromErrno(EISDIR);
  }
  std::vector<char> chunk(64 * 1024);
  IoError result;
  while (bytes.size() < maxBytes) {
    std::size_t want = std::min(chunk.size(), maxBytes - bytes.size());
    ssize_t n = ::read(fd, chunk.data(), want);
    if (n < 0) {
      if (errno == EINTR) continue;
      result = IoErrorFromErrno(errno);
      break;
    }
    if (n == 0) break;
    bytes.append(chunk.data(), static_cast<std::size_t>(n));
  }
  ::close(fd);
  return result;
}

IoError PosixFileSystem::WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string target = ResolvedTarget(path);
  struct stat existing {};
  bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    if (S_ISDIR(existing.st_mode)) return IoErrorFromErrno(EISDIR);
    // A device or pipe cannot be replaced by renaming; write into it.
    int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return IoErrorFromErrno(errno);
    IoError result = WriteAll(fd, bytes);
    if (::close(fd) != 0 && result.Ok()) result = IoErrorFromErrno(errno);
    return result;
  }

  std::string pattern = target + ".XXXXXX";
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) return IoErrorFromErrno(errno);
  // The new file gets the old one's permissions, or the usual ones.
  mode_t mode = exists ? (existing.st_mode & 07777) : 0;
  if (!exists) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);
  IoError result = WriteAll(fd, bytes);
  if (result.Ok() && ::fsync(fd) != 0 && errno != EINVAL) result = IoErrorFromErrno(errno);
  if (::close(fd) != 0 && result.Ok()) result = IoErrorFromErrno(errno);
  if (result.Ok() && ::rename(pattern.c_str(), target.c_str()) != 0) result = IoErrorFromErrno(errno);
  if (!result.Ok()) ::unlink(pattern.c_str());
  return result;
}

bool PosixFileSystem::Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace platform
