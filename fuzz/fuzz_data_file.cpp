// File, Open over any bytes. A load either fails with the invalid-integer
// message and leaves the store exactly as it was, or fills all 3000 entries
// so that saving them and loading the saved file gives them back. The
// report file is then written from whatever was loaded. The same bytes kept
// in the download archive list as one download, with the reader's verdict.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/download_archive.h"
#include "fuzz/logger_rig.h"
#include "runtime/convert_error.h"

namespace {

// The whole message, naming the file and the line, with the file's bytes
// escaped: nothing in it may steer a terminal.
bool IsInvalidIntegerMessage(const std::string& text, const std::string& path) {
  const std::string head = path + ", line ";
  const std::string tail = "' is not a valid integer value";
  if (text.size() < head.size() + tail.size() || text.compare(0, head.size(), head) != 0 ||
      text.compare(text.size() - tail.size(), tail.size(), tail) != 0) {
    return false;
  }
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return fuzzsupport::IsValidUtf8(text);
}

void CheckArchiveListing(fuzzsupport::LoggerRig& rig, const std::string& bytes, bool loads) {
  using fuzzsupport::Finding;
  const std::string folder = "/archive";
  rig.fileSystem.folders.insert(folder);
  const std::string kept = folder + "/00FF00FF00FF00FF-20260315-103000-2.dat";
  rig.fileSystem.files[kept] = bytes;
  rig.fileSystem.files[folder + "/00FF00FF00FF00FF-20260315-103000-1.dat"] = bytes;  // not a name it gives
  rig.fileSystem.files[folder + "/00ff00ff00ff00ff-20260315-103000.dat"] = bytes;    // nor this
  logger::DownloadArchive archive(rig.fileSystem, rig.clock, folder);
  std::string error;
  const std::vector<logger::ArchivedDownload> listed = archive.List(error);
  if (!error.empty() || listed.size() != 1) Finding("the archive did not list exactly the one download");
  const logger::ArchivedDownload& entry = listed.front();
  if (entry.dataPath != kept || entry.sequence != 2 || entry.downloadedAt != "2026-03-15 10:30:00") {
    Finding("the archive misread a download's name");
  }
  // A file that loads may still hold a start the reports cannot decode; it
  // is then listed with that problem, never as unreadable.
  if (loads && IsInvalidIntegerMessage(entry.problem, kept)) Finding("the archive refused a file Open reads");
  if (loads && entry.problem.empty() && entry.samples < 0) Finding("a readable download listed without its samples");
  if (!loads && !IsInvalidIntegerMessage(entry.problem, kept)) Finding("unexpected archive problem: " + entry.problem);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzzsupport::Finding;
  fuzzsupport::LoggerRig rig;
  rig.fileSystem.files["in.dat"] = std::string(reinterpret_cast<const char*>(data), size);
  logger::LoggerStore& store = rig.app.State().LoggerData;
  for (int k = logger::LoggerStore::kFirst; k <= logger::LoggerStore::kLast; ++k) store.Set(k, 7);
  const logger::LoggerStore before = store;

  logger::LoggerStore loaded;
  try {
    loaded = rig.files.ReadDataFile("in.dat");
  } catch (const runtime::ConvertError& e) {
    const std::string message = runtime::ErrorText(e);
    if (!IsInvalidIntegerMessage(message, "in.dat")) Finding("unexpected load message: " + message);
    try {
      rig.files.OpenFile("in.dat");
      Finding("Open accepted a file the reader refused");
    } catch (const runtime::ConvertError&) {
    }
    if (!(store == before)) Finding("a refused file changed the store");
    CheckArchiveListing(rig, rig.fileSystem.files["in.dat"], false);
    return 0;
  }

  // The reports drawn after the load may refuse the loaded values; the
  // store holds the file all the same.
  try {
    rig.files.OpenFile("in.dat");
  } catch (const runtime::ConvertError&) {
  }
  if (!(store == loaded)) Finding("Open stored something other than the file's numbers");
  fuzzsupport::CheckPaneLines(rig.pane, "open");

  rig.files.WriteDataFile("out.dat");
  const std::string saved = rig.fileSystem.files["out.dat"];
  if (!(rig.files.ReadDataFile("out.dat") == loaded)) Finding("a saved data file does not load back the same");
  std::size_t lineEnds = 0;
  for (std::size_t pos = saved.find("\r\n"); pos != std::string::npos; pos = saved.find("\r\n", pos + 2)) ++lineEnds;
  if (lineEnds != logger::LoggerStore::kCount || saved.size() < 2 || saved.compare(saved.size() - 2, 2, "\r\n") != 0) {
    Finding("a saved data file is not 3000 lines ending in CR LF");
  }

  try {
    rig.files.WriteReportFile("out.log");
  } catch (const runtime::ConvertError&) {
  }
  CheckArchiveListing(rig, rig.fileSystem.files["in.dat"], true);
  return 0;
}
