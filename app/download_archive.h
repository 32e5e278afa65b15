#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/logger_store.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace logger {

// One download kept in the archive.
struct ArchivedDownload {
  std::string dataPath;     // SERIAL-YYYYMMDD-HHMMSS[-N].dat
  std::string reportPath;   // the same name with .log
  std::string serial;       // 16 upper-case hexadecimal digits
  std::string downloadedAt; // "2026-03-15 10:30:00", from the name
  int sequence = 1;         // N of a "-N" name, 1 without one
  // From the data file's page 0; startTime is empty when the file cannot be
  // read or holds no start.
  std::string startTime;    // "dd/mm/yy hh:mm"
  std::int64_t samples = -1;
  std::string problem;      // why the file could not be read, if it could not
};

// Every download that completes is kept, so a user who forgets to save loses
// nothing: the report and the data file exactly as Save writes them, in one
// folder, under names made from the recorder's serial number and the local
// date and time of the download. Nothing in it is ever replaced.
class DownloadArchive {
 public:
  DownloadArchive(platform::FileSystem& files, const platform::Clock& clock, std::string folder);

  // $XDG_DATA_HOME/quorvel/downloads, else ~/.local/share/quorvel/downloads;
  // `environment` looks a variable up. Empty when neither is known.
  static std::string DefaultFolder(const std::function<const char*(const char*)>& environment);

  const std::string& Folder() const { return folder_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // Writes the report and data files of `state`'s store. True with `path`
  // set to the report written; false with `error` saying why (the folder's
  // name, the system's reason).
  bool Keep(const LoggerState& state, std::string& path, std::string& error);

  // Every download kept, newest first. `error` is set (and the list empty)
  // when the folder cannot be read; a missing folder is an empty archive.
  std::vector<ArchivedDownload> List(std::string& error);

  // The serial number's eight bytes (entries 65..72) as 16 hex digits.
  static std::string SerialText(const LoggerStore& store);
  // "0123456789ABCDEF-20260315-103000" (-N appended from 2 on).
  static std::string BaseName(const std::string& serial, const platform::LocalDateTime& at, int sequence);

 private:
  platform::FileSystem& files_;
  const platform::Clock& clock_;
  std::string folder_;
  bool enabled_ = true;
};

}  // namespace logger
