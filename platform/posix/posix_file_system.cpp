#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

namespace {

IoError NotAFile() { return {IoStatus::NotAFile, 0}; }
// A folder keeps the system's own number, so callers can say "it is a folder".
IoError NotAFile(mode_t mode) { return {IoStatus::NotAFile, S_ISDIR(mode) ? EISDIR : 0}; }

FileKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISDIR(mode)) return FileKind::Folder;
  if (S_ISCHR(mode)) return FileKind::CharDevice;
  if (S_ISBLK(mode)) return FileKind::BlockDevice;
  if (S_ISFIFO(mode)) return FileKind::Fifo;
  if (S_ISSOCK(mode)) return FileKind::Socket;
  return FileKind::Other;
}

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

// Writes `bytes` into a new temporary file beside `target` (same folder, so
// the rename is atomic) with the mode, owner and group it should end with.
IoError StageTemporary(const std::string& target, const struct stat* existing, std::string_view bytes,
                       std::string& temporary) {
  temporary = target + ".XXXXXX";
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    temporary.clear();
    return IoErrorFromErrno(errno);
  }
  mode_t mode = 0;
  if (existing != nullptr) {
    // Owner and group where we may set them (root, or a group we are in);
    // before the mode, since a change of owner clears set-id bits.
    [[maybe_unused]] int ignored = ::fchown(fd, existing->st_uid, existing->st_gid);
    mode = existing->st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);
  IoError result = WriteAll(fd, bytes);
  if (result.Ok() && ::fsync(fd) != 0 && errno != EINVAL) result = IoErrorFromErrno(errno);
  if (::close(fd) != 0 && result.Ok()) result = IoErrorFromErrno(errno);
  if (!result.Ok()) {
    ::unlink(temporary.c_str());
    temporary.clear();
  }
  return result;
}

// A character device (/dev/null, /dev/full) cannot be replaced by renaming:
// its content is written in place. Opened without waiting for a carrier.
IoError WriteDevice(const std::string& target, std::string_view bytes) {
  int fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return IoErrorFromErrno(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
    ::close(fd);
    return NotAFile();
  }
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  IoError result = WriteAll(fd, bytes);
  if (::close(fd) != 0 && result.Ok()) result = IoErrorFromErrno(errno);
  return result;
}

}  // namespace

FileFacts PosixFileSystem::Examine(const std::string& path) {
  FileFacts facts;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return facts;
  facts.kind = KindOf(st.st_mode);
  facts.hasWriteBits = (st.st_mode & 0222) != 0;
  facts.mayWrite = ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
  return facts;
}

IoError PosixFileSystem::ReadFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  // Looked at before opening: opening a pipe for reading would wait for a
  // writer, and a device could hand out bytes for ever.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return IoErrorFromErrno(errno);
  if (!S_ISREG(st.st_mode)) return NotAFile(st.st_mode);
  int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return IoErrorFromErrno(errno);
  // The path may have changed between the look and the open.
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return NotAFile();
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

IoError PosixFileSystem::WriteFiles(const std::vector<FileContent>& files, std::vector<bool>& written,
                                    std::size_t& failed) {
  written.assign(files.size(), false);
  failed = 0;
  struct Target {
    std::string path;
    bool exists = false;
    bool device = false;
    struct stat st {};
    std::string temporary;
  };
  std::vector<Target> targets(files.size());

  // Every target is checked before anything is written, so a refusal of the
  // second file leaves the first untouched.
  for (std::size_t i = 0; i < files.size(); ++i) {
    Target& t = targets[i];
    t.path = ResolvedTarget(files[i].path);
    t.exists = ::stat(t.path.c_str(), &t.st) == 0;
    IoError refusal;
    if (t.exists && S_ISCHR(t.st.st_mode)) {
      t.device = true;
    } else if (t.exists && !S_ISREG(t.st.st_mode)) {
      refusal = NotAFile(t.st.st_mode);
    } else if (t.exists && (t.st.st_mode & 0222) == 0) {
      // No write bit at all: read-only, even for root, as an editor treats it.
      refusal = IoErrorFromErrno(EACCES);
    } else if (t.exists && ::faccessat(AT_FDCWD, t.path.c_str(), W_OK, AT_EACCESS) != 0) {
      // The folder's permission would let the rename through; the file's
      // own permission is what the user set.
      refusal = IoErrorFromErrno(errno);
    }
    if (!refusal.Ok()) {
      failed = i;
      return refusal;
    }
  }

  auto discardTemporaries = [&] {
    for (Target& t : targets) {
      if (!t.temporary.empty()) ::unlink(t.temporary.c_str());
      t.temporary.clear();
    }
  };
  // Stage: every regular file into its temporary, devices in place.
  for (std::size_t i = 0; i < files.size(); ++i) {
    Target& t = targets[i];
    IoError result = t.device ? WriteDevice(t.path, files[i].bytes)
                              : StageTemporary(t.path, t.exists ? &t.st : nullptr, files[i].bytes, t.temporary);
    if (!result.Ok()) {
      discardTemporaries();
      failed = i;
      return result;
    }
    if (t.device) written[i] = true;
  }
  // Commit: renames only, in order.
  for (std::size_t i = 0; i < files.size(); ++i) {
    Target& t = targets[i];
    if (t.device) continue;
    if (::rename(t.temporary.c_str(), t.path.c_str()) != 0) {
      IoError result = IoErrorFromErrno(errno);
      discardTemporaries();
      failed = i;
      return result;
    }
    t.temporary.clear();
    written[i] = true;
  }
  return {};
}

IoError PosixFileSystem::WriteNewFiles(const std::vector<FileContent>& files) {
  std::vector<std::string> temporaries;
  std::vector<std::string> linked;
  auto undo = [&] {
    for (const std::string& t : temporaries) {
      if (!t.empty()) ::unlink(t.c_str());
    }
    for (const std::string& l : linked) ::unlink(l.c_str());
  };
  for (const FileContent& file : files) {
    std::string temporary;
    IoError result = StageTemporary(file.path, nullptr, file.bytes, temporary);
    if (!result.Ok()) {
      undo();
      return result;
    }
    temporaries.push_back(temporary);
  }
  // A hard link never replaces an existing name: EEXIST says it is taken.
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& path = files[i].path;
    if (::link(temporaries[i].c_str(), path.c_str()) == 0) {
      linked.push_back(path);
      continue;
    }
    int err = errno;
    if (err == EPERM || err == EOPNOTSUPP || err == EMLINK) {
      // A file system without hard links (FAT, some network shares): take
      // the name with an exclusive create, then rename the whole file over
      // that empty placeholder of ours.
      int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (fd >= 0) {
        ::close(fd);
        linked.push_back(path);
        if (::rename(temporaries[i].c_str(), path.c_str()) == 0) {
          temporaries[i].clear();
          continue;
        }
      }
      err = errno;
    }
    IoError result = IoErrorFromErrno(err);
    undo();
    return result;
  }
  for (const std::string& t : temporaries) {
    if (!t.empty()) ::unlink(t.c_str());
  }
  return {};
}

IoError PosixFileSystem::MakeFolders(const std::string& path) {
  std::string partial;
  std::size_t pos = 0;
  while (pos <= path.size()) {
    std::size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    partial = path.substr(0, slash);
    pos = slash + 1;
    if (partial.empty()) continue;
    if (::mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return IoErrorFromErrno(errno);
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return IoErrorFromErrno(errno);
  if (!S_ISDIR(st.st_mode)) return IoErrorFromErrno(ENOTDIR);
  return {};
}

IoError PosixFileSystem::ListFolder(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) return IoErrorFromErrno(errno);
  errno = 0;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  IoError result = IoErrorFromErrno(errno);
  ::closedir(dir);
  return result;
}

bool PosixFileSystem::Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace platform
