// File, Open over any bytes. A load either fails with the invalid-integer
// message and leaves the store exactly as it was, or fills all 3000 entries
// so that saving them and loading the saved file gives them back. The
// report file is then written from whatever was loaded.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/logger_rig.h"
#include "runtime/convert_error.h"

namespace {

// A NUL byte in the quoted line cuts what() short; only the start of the
// message is certain then.
bool IsInvalidIntegerMessage(const std::string& text, bool inputHasNul) {
  const std::string tail = "' is not a valid integer value";
  if (text.empty() || text.front() != '\'') return false;
  return inputHasNul || (text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0);
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
    const bool hasNul = std::memchr(data, 0, size) != nullptr;
    if (!IsInvalidIntegerMessage(e.what(), hasNul)) Finding(std::string("unexpected load message: ") + e.what());
    try {
      rig.files.OpenFile("in.dat");
      Finding("Open accepted a file the reader refused");
    } catch (const runtime::ConvertError&) {
    }
    if (!(store == before)) Finding("a refused file changed the store");
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
  return 0;
}
