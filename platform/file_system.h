#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/io_status.h"

namespace platform {

// What a path names, found without opening it (links followed).
enum class FileKind { Missing, Regular, Folder, CharDevice, BlockDevice, Fifo, Socket, Other };

struct FileFacts {
  FileKind kind = FileKind::Missing;
  bool hasWriteBits = false;  // some write permission bit is set
  bool mayWrite = false;      // this process may write it (its effective ids)
};

// One file to write and its whole content.
struct FileContent {
  std::string path;
  std::string bytes;
};

// The few file operations the data files and the download archive need, with
// the system's error for each failure. Nothing here ever opens a pipe, a
// socket or a folder as a file, so no call can block on one.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual FileFacts Examine(const std::string& path) = 0;

  // Reads at most `maxBytes` from the start of a regular file; anything else
  // is refused with NotAFile.
  virtual IoError ReadFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes) = 0;

  // Replaces the files' contents, each as one step: every file's bytes go to
  // a temporary file beside it first, and only when all of them are written
  // are the temporaries renamed over the targets, so a failure while writing
  // leaves every old file as it was. A character device (/dev/null) is
  // written in place; other non-regular targets are refused with NotAFile;
  // an existing file that has no write permission bit, or that this process
  // may not write, is refused with AccessDenied. A replaced file keeps its
  // mode, and its owner and group where the process may set them.
  // `written[i]` tells whether files[i] got its new content; on failure
  // `failed` is the index of the file the error is about.
  virtual IoError WriteFiles(const std::vector<FileContent>& files, std::vector<bool>& written,
                             std::size_t& failed) = 0;

  // WriteFiles for one file.
  IoError WriteFileAtomically(const std::string& path, std::string_view bytes);

  // Creates the files, all or none, never replacing anything: fails with the
  // system error EEXIST when one of the names is taken.
  virtual IoError WriteNewFiles(const std::vector<FileContent>& files) = 0;

  // Creates the folder and its missing parents.
  virtual IoError MakeFolders(const std::string& path) = 0;
  // The names in a folder ("." and ".." left out), in no particular order.
  virtual IoError ListFolder(const std::string& path, std::vector<std::string>& names) = 0;

  virtual bool Exists(const std::string& path) = 0;
};

}  // namespace platform
