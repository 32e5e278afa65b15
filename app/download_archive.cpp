#include "app/download_archive.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "app/chart_display.h"
#include "app/data_files.h"
#include "app/logger_decoding.h"
#include "app/logger_reports.h"
#include "app/report_pane.h"
#include "runtime/convert_error.h"
#include "runtime/message_text.h"

namespace logger {

namespace {

// Names taken before giving up: more downloads than this in one second of
// one recorder mean something else is wrong.
constexpr int kMaxSequence = 999;

bool AllOf(const std::string& s, std::size_t from, std::size_t count, bool (*test)(char)) {
  if (from + count > s.size()) return false;
  for (std::size_t i = from; i < from + count; ++i) {
    if (!test(s[i])) return false;
  }
  return true;
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpperHex(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }

// Parses "SERIAL-YYYYMMDD-HHMMSS[-N].dat"; false for any other name.
bool ParseName(const std::string& name, ArchivedDownload& entry) {
  const std::string ext = ".dat";
  if (name.size() < 16 + 1 + 8 + 1 + 6 + ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
    return false;
  const std::string stem = name.substr(0, name.size() - ext.size());
  if (!AllOf(stem, 0, 16, IsUpperHex) || stem[16] != '-' || !AllOf(stem, 17, 8, IsDigit) || stem[25] != '-' ||
      !AllOf(stem, 26, 6, IsDigit))
    return false;
  int sequence = 1;
  if (stem.size() > 32) {
    if (stem[32] != '-' || stem.size() > 32 + 4 || !AllOf(stem, 33, stem.size() - 33, IsDigit)) return false;
    sequence = std::stoi(stem.substr(33));
    if (sequence < 2) return false;
  }
  entry.serial = stem.substr(0, 16);
  entry.downloadedAt = stem.substr(17, 4) + "-" + stem.substr(21, 2) + "-" + stem.substr(23, 2) + " " +
                       stem.substr(26, 2) + ":" + stem.substr(28, 2) + ":" + stem.substr(30, 2);
  entry.sequence = sequence;
  return true;
}

}  // namespace

DownloadArchive::DownloadArchive(platform::FileSystem& files, const platform::Clock& clock, std::string folder)
    : files_(files), clock_(clock), folder_(std::move(folder)) {}

std::string DownloadArchive::DefaultFolder(const std::function<const char*(const char*)>& environment) {
  // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base
  // directory rules ask.
  const char* data = environment("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return std::string(data) + "/quorvel/downloads";
  const char* home = environment("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/share/quorvel/downloads";
  return {};
}

std::string DownloadArchive::SerialText(const LoggerStore& store) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (int i = LoggerStore::kSerialNumberFirst; i < LoggerStore::kSerialNumberFirst + 8; ++i) {
    auto byte = static_cast<unsigned>(store.At(i)) & 0xFFu;
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::string DownloadArchive::BaseName(const std::string& serial, const platform::LocalDateTime& at, int sequence) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", at.year % 10000, at.month % 100, at.day % 100,
                at.hour % 100, at.minute % 100, at.second % 100);
  std::string name = serial;
  name += '-';
  name += stamp;
  if (sequence > 1) {
    name += '-';
    name += std::to_string(sequence);
  }
  return name;
}

bool DownloadArchive::Keep(const LoggerState& state, std::string& path, std::string& error) {
  if (folder_.empty()) {
    error = "Not archived: neither XDG_DATA_HOME nor HOME names a folder for it";
    return false;
  }
  const std::string shownFolder = runtime::EscapeForMessage(folder_);
  // The same text Save writes, drawn off screen: the window's pane, chart
  // and times keep what they show.
  std::string report, data;
  try {
    LoggerState copy = state;
    report = ReportFileText(copy, clock_);
    data = DataFileText(copy.LoggerData);
  } catch (const std::exception& e) {
    error = "Not archived: " + runtime::ErrorText(e);
    return false;
  }
  platform::IoError made = files_.MakeFolders(folder_);
  if (!made.Ok()) {
    error = "Not archived: " + FileErrorMessage(folder_, made, files_.Examine(folder_));
    return false;
  }
  const std::string serial = SerialText(state.LoggerData);
  const platform::LocalDateTime at = clock_.Now();
  for (int sequence = 1; sequence <= kMaxSequence; ++sequence) {
    std::string base = folder_ + "/" + BaseName(serial, at, sequence);
    platform::IoError result = files_.WriteNewFiles({{base + ".log", report}, {base + ".dat", data}});
    if (result.Ok()) {
      path = base + ".log";
      return true;
    }
    if (result.systemError == EEXIST) continue;  // taken: the next number
    error = "Not archived: " + shownFolder + ": " + FileErrorMessage(result);
    return false;
  }
  error = "Not archived: " + shownFolder + " already holds " + std::to_string(kMaxSequence) +
          " downloads of this recorder from this second";
  return false;
}

std::vector<ArchivedDownload> DownloadArchive::List(std::string& error) {
  std::vector<ArchivedDownload> entries;
  error.clear();
  if (folder_.empty()) return entries;
  std::vector<std::string> names;
  platform::IoError listed = files_.ListFolder(folder_, names);
  if (listed.status == platform::IoStatus::NotFound) return entries;  // nothing kept yet
  if (!listed.Ok()) {
    error = FileErrorMessage(folder_, listed, files_.Examine(folder_));
    return entries;
  }
  for (const std::string& name : names) {
    ArchivedDownload entry;
    if (!ParseName(name, entry)) continue;
    entry.dataPath = folder_ + "/" + name;
    entry.reportPath = entry.dataPath.substr(0, entry.dataPath.size() - 4) + ".log";
    std::string bytes;
    platform::IoError read = files_.ReadFilePrefix(entry.dataPath, LoggerFiles::kMaxDataFileBytes, bytes);
    try {
      if (!read.Ok()) throw FileError(FileErrorMessage(entry.dataPath, read, files_.Examine(entry.dataPath)));
      LoggerState state;
      state.LoggerData = ParseDataFile(entry.dataPath, bytes);
      entry.samples = CurrentSampleCount(state.LoggerData);
      DeriveLogTimes(state, clock_.Now().year);
      if (state.LogStartTime != 0) entry.startTime = LoggerReports::SampleTimeText(state.LogStartTime);
    } catch (const std::exception& e) {
      entry.problem = runtime::ErrorText(e);
    }
    entries.push_back(std::move(entry));
  }
  // Newest first: by the time in the name, then by the number after it.
  std::sort(entries.begin(), entries.end(), [](const ArchivedDownload& a, const ArchivedDownload& b) {
    if (a.downloadedAt != b.downloadedAt) return a.downloadedAt > b.downloadedAt;
    if (a.sequence != b.sequence) return a.sequence > b.sequence;
    return a.serial < b.serial;
  });
  return entries;
}

}  // namespace logger
